// The command line of moza-glyphs, parsed into GeneratorOptions.
#pragma once

#include <string>
#include <vector>

#include "char_selection.h"
#include "common/result.h"
#include "convert/page_geometry.h"
#include "font_face.h"
#include "glyph/glyph_font.h"
#include "table_builder.h"
#include "trained_table.h"

namespace moza::tools {

struct GeneratorOptions {
    std::string fontFamily = glyph::kGlyphFontFamily;
    std::string fontFile;           // when set, used instead of looking up fontFamily
    double pixelSize = convert::geometry::kCellTextPixels;  // a page cell's 8pt at 96 dots per inch
    CharSet charSet = CharSet::FullWidth;
    std::string charList;           // UTF-8; when set, these characters only
    double cellWidth = 0;           // 0: each glyph's advance
    Hinting hinting = Hinting::Light;
    double shiftX = 0;              // the glyph moved right within its cell, in pixels
    double shiftY = 0;              // and down
    LevelRule rule;
    RecordOrder order = RecordOrder::Trained;
    std::string training = MOZA_GLYPHS_TRAINING_FILE;  // block counts for the trained order
    TrainingRule trainingRule;
    std::string first;              // UTF-8 character to put first, or empty
    std::string output = "char.csv";  // "-": standard output
    std::string measurements;       // when set, the raw ink of every measured character goes here
    bool showHelp = false;
};

/// Parses the arguments after the program name. Fails with a usage message on an unknown
/// option, a missing or bad value, or a stray argument.
Result<GeneratorOptions> ParseGeneratorArguments(const std::vector<std::string>& arguments);

/// The text --help prints.
std::string GeneratorHelpText();

}  // namespace moza::tools
