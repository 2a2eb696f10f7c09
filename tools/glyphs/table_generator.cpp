// GenerateTable: font lookup, character choice, measurement and record building in one pass.
#include "table_generator.h"

#include <cmath>

#include "cell_ink.h"
#include "char_selection.h"
#include "font_face.h"
#include "trained_table.h"

namespace moza::tools {
namespace {

Result<std::vector<Candidate>> chosenCharacters(const GeneratorOptions& options) {
    if (!options.charList.empty()) return CharactersOf(options.charList);
    return Cp932Characters(options.charSet);
}

Result<glyph::CharCode> firstCode(const GeneratorOptions& options) {
    if (options.first.empty()) return glyph::CharCode{-1};
    Result<std::vector<Candidate>> named = CharactersOf(options.first);
    if (!named || named.value().size() != 1) return Error{"--first takes one character of code page 932"};
    return named.value().front().code;
}

/// Measures every chosen character the font draws itself. A full-width selection keeps only
/// glyphs exactly one em wide, so that every column of a page is equally wide.
std::vector<MeasuredChar> measure(const FontFace& font, const std::vector<Candidate>& characters,
                                  const GeneratorOptions& options, int& skipped) {
    const bool fullWidthOnly = options.charList.empty() && options.charSet == CharSet::FullWidth;
    std::vector<MeasuredChar> measured;
    for (const Candidate& c : characters) {
        Result<GlyphInk> ink = font.hasGlyph(c.codePoint) ? font.render(c.codePoint) : Result<GlyphInk>(Error{""});
        const bool fits = ink && (!fullWidthOnly || std::abs(ink.value().advance - font.pixelSize()) <= 0.01);
        const double width = !ink ? 0 : options.cellWidth > 0 ? options.cellWidth : ink.value().advance;
        if (!fits || width <= 0) {
            ++skipped;
            continue;
        }
        measured.push_back({c, MeasureInk(ink.value(), width, font.lineHeight(), font.ascent(), options.shiftX,
                                          options.shiftY)});
    }
    return measured;
}

/// Every measured character with the exact levels the training cost compares.
std::vector<LevelledChar> levelledChars(const std::vector<MeasuredChar>& measured, const GeneratorOptions& options) {
    const std::array<double, 9> scales = ScalesOf(measured, options.rule);
    std::vector<LevelledChar> chars;
    chars.reserve(measured.size());
    for (const MeasuredChar& c : measured) {
        chars.push_back({c.character.code, ExactLevelsOf(c.ink, scales, options.trainingRule.costBlend)});
    }
    return chars;
}

}  // namespace

Result<GeneratedTable> GenerateTable(const GeneratorOptions& options) {
    GeneratedTable table;
    table.fontFile = options.fontFile;
    if (table.fontFile.empty()) {
        Result<std::filesystem::path> found = FindFontFile(options.fontFamily);
        if (!found) return found.error();
        table.fontFile = found.value();
    }
    Result<FontFace> font = FontFace::Open(table.fontFile, options.pixelSize, options.hinting);
    if (!font) return font.error();
    Result<std::vector<Candidate>> characters = chosenCharacters(options);
    if (!characters) return characters.error();
    Result<glyph::CharCode> first = firstCode(options);
    if (!first) return first.error();

    const FontFace& face = font.value();
    table.fontName = face.familyName() + " " + face.version();
    table.pixelSize = face.pixelSize();
    table.lineHeight = face.lineHeight();
    table.ascent = face.ascent();
    table.descent = face.descent();
    table.measured = measure(face, characters.value(), options, table.skipped);
    if (table.measured.empty()) return Error{"the font draws none of the chosen characters"};
    if (options.order != RecordOrder::Trained) {
        table.records = BuildRecords(table.measured, options.rule, options.order, first.value());
        return table;
    }
    Result<BlockCounts> counts = ReadBlockCounts(options.training);
    if (!counts) return InContext("cannot read the training counts: ", counts.error());
    table.records = BuildRecords(table.measured, options.rule, RecordOrder::Code);
    table.records = TrainRecords(std::move(table.records), levelledChars(table.measured, options), counts.value(),
                                 options.trainingRule);
    PutFirst(table.records, first.value());
    return table;
}

}  // namespace moza::tools
