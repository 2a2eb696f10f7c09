// CellInk: how much ink each ninth of a character's cell holds, as a page shows the character.
#pragma once

#include <array>

#include "common/result.h"
#include "font_face.h"

namespace moza::tools {

/// Mean ink coverage (0 to 1) of the 3 x 3 parts of a cell, row by row, and of the whole cell.
struct CellInk {
    std::array<double, 9> ninths{};
    double mean = 0;
    double width = 0;   // the cell box in pixels
    double height = 0;
};

/// The ink of a rendered glyph in a cell box `width` pixels across and `height` down, the pen at
/// the box's left edge and the baseline `ascent` pixels below its top. Ink outside the box is
/// not counted. `shiftX` and `shiftY` move the glyph right and down within the box.
/// Precondition: width and height are positive.
CellInk MeasureInk(const GlyphInk& ink, double width, double height, int ascent, double shiftX = 0,
                   double shiftY = 0);

/// The ink of `codePoint` in its cell as a page shows it: the advance width across (or
/// `cellWidth` when positive), the font's line height down, the glyph on the baseline.
/// Fails when the font has no glyph for it.
Result<CellInk> MeasureCell(const FontFace& font, char32_t codePoint, double cellWidth = 0);

}  // namespace moza::tools
