// ArtLayout: where a browser puts a page's parts, in CSS pixels: the quotes, the table, its columns and rows.
#pragma once

#include <cstddef>
#include <vector>

#include "convert/page_geometry.h"

namespace moza::ui {

/// The geometry Chromium gives a page file (quirks mode, IPAGothic, 96 dpi), measured once and
/// kept here: the body margin, the line of the opening quote, then the table at (8, 24) with rows
/// 10 pixels apart, then the closing quote's line.
struct ArtLayout {
    static constexpr double kMargin = 8.0;
    /// The height of a line of body text (16 px IPAGothic): the quotes' lines.
    static constexpr double kQuoteLine = 16.0;
    /// The body text's size, in which the quotes are drawn.
    static constexpr double kQuotePixels = 16.0;
    /// A cell's text: 8 pt at 96 dpi.
    static constexpr double kGlyphPixels = convert::geometry::kCellTextPixels;
    static constexpr double kRowPitch = convert::geometry::kCellHeightPx;
    /// From a row's top to its text's baseline (IPAGothic's ascent at 8 pt, rounded).
    static constexpr double kBaseline = 9.0;
    /// From a quote line's top to its baseline (16 px IPAGothic).
    static constexpr double kQuoteBaseline = 14.0;
    /// The width every cell asks for (td width=9); a wider character widens its column.
    static constexpr double kCellWidth = convert::geometry::kCellPixels;
    /// Browser lengths are whole 64ths of a pixel; text widths are rounded down to them.
    static constexpr double kLayoutUnit = 1.0 / 64.0;

    double tableLeft = kMargin;
    double tableTop = kMargin + kQuoteLine;
    /// Left edges of the columns from the table's left, and the table's width last.
    std::vector<double> columnLefts{0.0};
    int rows = 0;
    /// Whether every column has the same width (pages drawn with double-byte characters only).
    bool evenColumns = true;

    int columns() const { return static_cast<int>(columnLefts.size()) - 1; }
    double tableWidth() const { return columnLefts.back(); }
    double tableHeight() const { return rows * kRowPitch; }
    double closingQuoteTop() const { return tableTop + tableHeight(); }
    double pageWidth() const;
    double pageHeight() const { return closingQuoteTop() + kQuoteLine + kMargin; }
    /// The first column whose right edge lies right of `x` (table pixels), clamped to the columns.
    int columnAt(double x) const;
};

/// Lays out a table of `rows` rows whose columns need at least `columnMinWidths` pixels each
/// (the widest character of the column, rounded down to 64ths). The table asks for 9 pixels per
/// column: columns get their minimum when that is more, and otherwise share the table's width
/// from their minimum towards 9 pixels in proportion, as a browser's automatic table layout does;
/// the last column takes what rounding the others down to 64ths left of the table's width.
ArtLayout LayOutPage(const std::vector<double>& columnMinWidths, int rows);

/// `width` rounded down to whole 64ths of a pixel.
double FloorToLayoutUnit(double width);

}  // namespace moza::ui
