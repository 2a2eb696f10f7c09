// CellInk: area-weighted ink of the ninths of a cell box whose edges fall between pixels.
#include "cell_ink.h"

#include <algorithm>
#include <cassert>

namespace moza::tools {
namespace {

/// Length of the overlap of [a0, a1) and [b0, b1).
double overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

}  // namespace

CellInk MeasureInk(const GlyphInk& ink, double width, double height, int ascent, double shiftX,
                   double shiftY) {
    assert(width > 0 && height > 0);
    CellInk cell;
    cell.width = width;
    cell.height = height;
    const double partWidth = width / 3.0;
    const double partHeight = height / 3.0;
    double total = 0;
    for (int y = 0; y < ink.rows; ++y) {
        const double top = ascent - ink.top + y + shiftY;
        for (int x = 0; x < ink.width; ++x) {
            const double value = ink.coverage[static_cast<std::size_t>(y * ink.width + x)];
            if (value <= 0) continue;
            const double left = ink.left + x + shiftX;
            for (int row = 0; row < 3; ++row) {
                const double dy = overlap(top, top + 1, row * partHeight, (row + 1) * partHeight);
                if (dy <= 0) continue;
                for (int column = 0; column < 3; ++column) {
                    const double dx = overlap(left, left + 1, column * partWidth, (column + 1) * partWidth);
                    const double inked = value * dx * dy;
                    cell.ninths[static_cast<std::size_t>(3 * row + column)] += inked;
                    total += inked;
                }
            }
        }
    }
    for (double& part : cell.ninths) part = std::min(1.0, part / (partWidth * partHeight));
    cell.mean = std::min(1.0, total / (width * height));
    return cell;
}

Result<CellInk> MeasureCell(const FontFace& font, char32_t codePoint, double cellWidth) {
    Result<GlyphInk> ink = font.render(codePoint);
    if (!ink) return ink.error();
    const double width = cellWidth > 0 ? cellWidth : ink.value().advance;
    if (width <= 0) return Error{"the glyph has no width"};
    return MeasureInk(ink.value(), width, font.lineHeight(), font.ascent());
}

}  // namespace moza::tools
