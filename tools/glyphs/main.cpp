// moza-glyphs: measures a font's glyphs and writes a char.csv character table.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "common/atomic_file_writer.h"
#include "generator_options.h"
#include "table_builder.h"
#include "table_generator.h"

using namespace moza;
using namespace moza::tools;

namespace {

int fail(const std::string& message, int status = 1) {
    std::cerr << "moza-glyphs: " << message << "\n";
    return status;
}

Status writeTable(const std::string& output, const std::string& text) {
    if (output == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? success() : Status(Error{"cannot write to standard output"});
    }
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(output);
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

    Result<GeneratedTable> generated = GenerateTable(options);
    if (!generated) return fail(generated.error().message);
    const GeneratedTable& table = generated.value();
    const std::vector<MeasuredChar>& measured = table.measured;
    const std::vector<glyph::CharRecord>& records = table.records;
    Status written = writeTable(options.output, CharDataText(records));
    if (!written) return fail(written.error().message);
    if (!options.measurements.empty()) {
        Status dumped = writeTable(options.measurements, MeasurementText(measured));
        if (!dumped) return fail(dumped.error().message);
    }

    std::fprintf(stderr,
                 "moza-glyphs: %s (%s) at %.4f px: cell line height %d (ascent %d, descent %d)\n"
                 "moza-glyphs: %zu characters measured, %d skipped, %zu records; darkest ninth %.3f\n",
                 table.fontName.c_str(), table.fontFile.c_str(), table.pixelSize, table.lineHeight, table.ascent,
                 table.descent, measured.size(), table.skipped, records.size(),
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
