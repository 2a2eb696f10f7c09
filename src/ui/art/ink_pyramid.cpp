// InkPyramid: level 0 written cell by cell, the rest by averaging 2 x 2 pixels.
#include "ui/art/ink_pyramid.h"

#include <algorithm>
#include <cmath>

namespace moza::ui {
namespace {

/// Levels stop halving once both sides are at most this long.
constexpr int kSmallestSide = 256;

/// Writes level 0: a pixel per cell.
void writeCells(QImage& image, const convert::PageGrid& grid, const std::vector<std::int32_t>& glyphOfCode,
                const std::vector<InkCoverage>& coverage) {
    std::vector<int> meanCoverage(coverage.size());
    for (std::size_t g = 0; g < coverage.size(); ++g) {
        int sum = 0;
        for (std::uint8_t part : coverage[g]) sum += part;
        meanCoverage[g] = (sum + 4) / 9;
    }
    for (int r = 0; r < grid.rows; ++r) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(r));
        for (int c = 0; c < grid.columns; ++c) {
            const std::size_t i = grid.indexOf(r, c);
            const std::int32_t glyph = glyphOfCode[grid.codes[i]];
            row[c] = Inked(grid.colors[i], glyph < 0 ? 0 : meanCoverage[static_cast<std::size_t>(glyph)]);
        }
    }
}

/// `image` halved by averaging 2 x 2 pixels (the last row or column repeated on odd sides).
QImage halved(const QImage& image) {
    const int width = (image.width() + 1) / 2;
    const int height = (image.height() + 1) / 2;
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    for (int y = 0; y < height; ++y) {
        const auto* top = reinterpret_cast<const QRgb*>(image.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const QRgb*>(image.constScanLine(std::min(2 * y + 1, image.height() - 1)));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int x0 = 2 * x;
            const int x1 = std::min(x0 + 1, image.width() - 1);
            const QRgb a = top[x0], b = top[x1], c = bottom[x0], d = bottom[x1];
            row[x] = qRgb((qRed(a) + qRed(b) + qRed(c) + qRed(d) + 2) / 4, (qGreen(a) + qGreen(b) + qGreen(c) + qGreen(d) + 2) / 4,
                          (qBlue(a) + qBlue(b) + qBlue(c) + qBlue(d) + 2) / 4);
        }
    }
    return out;
}

}  // namespace

QRgb Inked(std::uint32_t color, int coverage) {
    auto channel = [coverage](std::uint32_t value) {
        const int c = static_cast<int>(value & 255u);
        return 255 - ((255 - c) * coverage + 127) / 255;
    };
    return qRgb(channel(color >> 16), channel(color >> 8), channel(color));
}

Result<InkPyramid> InkPyramid::Build(const convert::PageGrid& grid, const std::vector<std::int32_t>& glyphOfCode,
                                     const std::vector<InkCoverage>& coverage) {
    InkPyramid pyramid;
    if (grid.cellCount() == 0) return pyramid;
    // QImage keeps sizes and line lengths in ints.
    if (grid.columns > (1 << 28) || grid.rows > (1 << 28)) return Error{"the page is too large to be drawn"};
    QImage base(grid.columns, grid.rows, QImage::Format_RGB32);
    if (base.isNull()) return Error{"there is not enough memory to draw the page"};
    writeCells(base, grid, glyphOfCode, coverage);
    pyramid.m_levels.push_back(std::move(base));
    while (pyramid.m_levels.back().width() > kSmallestSide || pyramid.m_levels.back().height() > kSmallestSide) {
        QImage next = halved(pyramid.m_levels.back());
        if (next.isNull()) return Error{"there is not enough memory to draw the page"};
        pyramid.m_levels.push_back(std::move(next));
    }
    return pyramid;
}

int InkPyramid::levelFor(double devicePixels) const {
    if (m_levels.empty() || devicePixels >= 1.0) return 0;
    const int level = static_cast<int>(std::floor(std::log2(1.0 / devicePixels)));
    return std::clamp(level, 0, levels() - 1);
}

std::size_t InkPyramid::memoryBytes() const {
    std::size_t bytes = 0;
    for (const QImage& image : m_levels) bytes += static_cast<std::size_t>(image.sizeInBytes());
    return bytes;
}

}  // namespace moza::ui
