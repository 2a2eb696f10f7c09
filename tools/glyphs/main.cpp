// moza-glyphs: measures a font's glyphs and writes a char.csv character table.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cell_ink.h"
#include "char_selection.h"
#include "convert/page_file.h"
#include "font_face.h"
#include "generator_options.h"
#include "table_builder.h"

using namespace moza;
using namespace moza::tools;

namespace {

int fail(const std::string& message, int status = 1) {
    std::cerr << "moza-glyphs: " << message << "\n";
    return status;
}

Result<std::vector<Candidate>> chosenCharacters(const GeneratorOptions& options) {
    if (!options.charList.empty()) return CharactersOf(options.charList);
    return Cp932Characters(options.charSet);
}

/// Measures every chosen character the font draws itself. A full-width selection keeps only
/// glyphs exactly one em wide, so that every column of a page is equally wide.
std::vector<MeasuredChar> measure(const FontFace& font, const std::vector<Candidate>& characters,
                                  const GeneratorOptions& options, int& skipped) {
    const bool fullWidthOnly = options.charList.empty() && options.charSet == CharSet::FullWidth;
    std::vector<MeasuredChar> measured;
    for (const Candidate& c : characters) {
        Result<GlyphInk> ink = font.hasGlyph(c.codePoint) ? font.render(c.codePoint) : Result<GlyphInk>(Error{""});
        if (!ink || (fullWidthOnly && std::abs(ink.value().advance - font.pixelSize()) > 0.01)) {
            ++skipped;
            continue;
        }
        const double width = options.cellWidth > 0 ? options.cellWidth : ink.value().advance;
        if (width <= 0) {
            ++skipped;
            continue;
        }
        measured.push_back({c, MeasureInk(ink.value(), width, font.lineHeight(), font.ascent(), options.shiftX,
                                            options.shiftY)});
    }
    return measured;
}

Status writeTable(const std::string& output, const std::string& text) {
    if (output == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? success() : Status(Error{"cannot write to standard output"});
    }
    std::error_code error;
    const auto status = std::filesystem::status(output, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        // A device or pipe is written in place; only a regular file is replaced as a whole.
        std::ofstream stream(output, std::ios::binary);
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.close();
        return stream ? success() : Status(Error{"cannot write to '" + output + "'"});
    }
    Result<convert::AtomicFileWriter> writer = convert::AtomicFileWriter::open(output);
    if (!writer) return writer.error();
    writer.value().write(text);
    return writer.value().commit();
}

}  // namespace

int main(int argc, char** argv) {
    Result<GeneratorOptions> parsed = ParseGeneratorArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed) return fail(parsed.error().message, 2);
    const GeneratorOptions& options = parsed.value();
    if (options.showHelp) {
        std::cout << GeneratorHelpText();
        return 0;
    }

    std::filesystem::path fontPath = options.fontFile;
    if (fontPath.empty()) {
        Result<std::filesystem::path> found = FindFontFile(options.fontFamily);
        if (!found) return fail(found.error().message);
        fontPath = found.value();
    }
    Result<FontFace> font = FontFace::Open(fontPath, options.pixelSize, options.hinting);
    if (!font) return fail(font.error().message);
    Result<std::vector<Candidate>> characters = chosenCharacters(options);
    if (!characters) return fail(characters.error().message, 2);

    glyph::CharCode first = -1;
    if (!options.first.empty()) {
        Result<std::vector<Candidate>> named = CharactersOf(options.first);
        if (!named || named.value().size() != 1) return fail("--first takes one character of code page 932", 2);
        first = named.value().front().code;
    }

    int skipped = 0;
    const std::vector<MeasuredChar> measured = measure(font.value(), characters.value(), options, skipped);
    if (measured.empty()) return fail("the font draws none of the chosen characters");
    const std::vector<glyph::CharRecord> records = BuildRecords(measured, options.rule, options.order, first);
    Status written = writeTable(options.output, CharDataText(records));
    if (!written) return fail(written.error().message);
    if (!options.measurements.empty()) {
        Status dumped = writeTable(options.measurements, MeasurementText(measured));
        if (!dumped) return fail(dumped.error().message);
    }

    const FontFace& face = font.value();
    std::fprintf(stderr,
                 "moza-glyphs: %s %s (%s) at %.4f px: cell line height %d (ascent %d, descent %d)\n"
                 "moza-glyphs: %zu characters measured, %d skipped, %zu records; darkest ninth %.3f\n",
                 face.familyName().c_str(), face.version().c_str(), fontPath.c_str(), face.pixelSize(),
                 face.lineHeight(), face.ascent(), face.descent(), measured.size(), skipped, records.size(),
                 DarkestNinth(measured, options.rule.blend));
    LevelRule perPosition = options.rule;
    perPosition.scaleRule = ScaleRule::PerPosition;
    perPosition.scale = 0;
    const std::array<double, 9> darkest = ScalesOf(measured, perPosition);
    const std::array<double, 9> scales = ScalesOf(measured, options.rule);
    std::fprintf(stderr, "moza-glyphs: level 10 from coverage %.3f at the top-left\n", scales[0]);
    std::fprintf(stderr, "moza-glyphs: darkest ninth by position:");
    for (double value : darkest) std::fprintf(stderr, " %.3f", value);
    std::fprintf(stderr, "\n");
    for (int position = 0; position < 9; ++position) {
        const std::vector<int> missing = MissingLevels(records, position);
        if (missing.empty()) continue;
        std::string list;
        for (int level : missing) list += " " + std::to_string(level);
        std::fprintf(stderr, "moza-glyphs: position %d has no record of level%s\n", position, list.c_str());
    }
    return 0;
}
