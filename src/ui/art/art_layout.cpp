// ArtLayout: column widths by the automatic table layout of a table that asks for 9 pixels a column.
#include "ui/art/art_layout.h"

#include <algorithm>
#include <cmath>

namespace moza::ui {

double ArtLayout::pageWidth() const {
    // The quotes' lines are 8 pixels wide; a table narrower than that leaves them the widest.
    return kMargin + std::max(tableWidth(), kQuotePixels / 2) + kMargin;
}

int ArtLayout::columnAt(double x) const {
    const auto right = std::upper_bound(columnLefts.begin() + 1, columnLefts.end(), x);
    const auto column = static_cast<int>(right - columnLefts.begin()) - 1;
    return std::clamp(column, 0, std::max(0, columns() - 1));
}

double FloorToLayoutUnit(double width) { return std::floor(width / ArtLayout::kLayoutUnit + 1e-6) * ArtLayout::kLayoutUnit; }

ArtLayout LayOutPage(const std::vector<double>& columnMinWidths, int rows) {
    ArtLayout layout;
    layout.rows = rows;
    const std::size_t columns = columnMinWidths.size();
    double sumMin = 0;
    double sumRoom = 0;  // what the columns could grow by towards 9 pixels
    for (double minWidth : columnMinWidths) {
        sumMin += minWidth;
        sumRoom += std::max(0.0, ArtLayout::kCellWidth - minWidth);
    }
    const double asked = ArtLayout::kCellWidth * static_cast<double>(columns);
    const double share = sumRoom > 0 && asked > sumMin ? std::min(1.0, (asked - sumMin) / sumRoom) : 0.0;
    layout.columnLefts.resize(columns + 1);
    double left = 0;
    for (std::size_t c = 0; c < columns; ++c) {
        const double minWidth = columnMinWidths[c];
        const double width = FloorToLayoutUnit(minWidth + std::max(0.0, ArtLayout::kCellWidth - minWidth) * share);
        layout.columnLefts[c] = left;
        left += width;
        if (c > 0 && width != layout.columnLefts[c] - layout.columnLefts[c - 1]) layout.evenColumns = false;
    }
    // The table is as wide as the unrounded widths add up to: the last column takes what the
    // rounding of the others left over, as Chromium gives it.
    layout.columnLefts[columns] = std::max(left, std::max(sumMin, std::min(asked, sumMin + sumRoom)));
    return layout;
}

}  // namespace moza::ui
