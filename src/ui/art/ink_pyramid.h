// InkPyramid: a page's table drawn in ink, a few pixels per cell, and its halvings for small zooms.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "common/result.h"
#include "convert/page_reader.h"

namespace moza::ui {

/// How much of each ninth of a cell (3 x 3, row by row) a character's ink covers, 0 to 255.
using InkCoverage = std::array<std::uint8_t, 9>;

/// White mixed towards `color` (0xRRGGBB) by `coverage` (0 to 255): how ink of that colour
/// covering that much of an area looks from afar.
QRgb Inked(std::uint32_t color, int coverage);

/// The table as ink, for zooms at which a cell is a pixel or less: every cell is one pixel, its
/// colour mixed with white by its character's coverage, so the picture looks as the page does from
/// afar. Each further level halves the one before (2 x 2 averages), down to a few hundred pixels.
class InkPyramid {
public:
    InkPyramid() = default;

    /// Builds the pyramid of `grid`, whose cell of code k is drawn with coverage[glyphOfCode[k]]
    /// (no ink where that is negative). Fails when the memory cannot be had.
    static Result<InkPyramid> Build(const convert::PageGrid& grid, const std::vector<std::int32_t>& glyphOfCode,
                                    const std::vector<InkCoverage>& coverage);

    int levels() const { return static_cast<int>(m_levels.size()); }
    const QImage& level(int i) const { return m_levels[static_cast<std::size_t>(i)]; }
    /// The level to draw from when one level-0 pixel spans `devicePixels` device pixels: level 0
    /// when that is a device pixel or more, otherwise the level whose pixels span more than half
    /// a device pixel and at most one, so smoothing never skips a pixel.
    int levelFor(double devicePixels) const;
    std::size_t memoryBytes() const;

private:
    std::vector<QImage> m_levels;
};

}  // namespace moza::ui
