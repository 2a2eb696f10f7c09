// GenerateTable: the whole measurement, from options to the records of a char.csv table.
#pragma once

#include <filesystem>
#include <vector>

#include "common/result.h"
#include "generator_options.h"
#include "table_builder.h"

namespace moza::tools {

/// A generated table with what went into it, for the summary.
struct GeneratedTable {
    std::filesystem::path fontFile;
    std::string fontName;     // family and version
    double pixelSize = 0;
    int lineHeight = 0;
    int ascent = 0;
    int descent = 0;
    int skipped = 0;          // chosen characters the font does not draw (or not one em wide)
    std::vector<MeasuredChar> measured;
    std::vector<glyph::CharRecord> records;
};

/// Finds and opens the font, measures the chosen characters and builds the records. Fails when
/// the font cannot be found or opened, on a character list or --first outside code page 932,
/// and when the font draws none of the characters.
Result<GeneratedTable> GenerateTable(const GeneratorOptions& options);

}  // namespace moza::tools
