// TargetPictureSize: the page's columns from the tightest limit, its rows from the aspect.
#include "convert/page_size.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "convert/working_image.h"

namespace moza::convert {
namespace {

constexpr double kCellAspect = kCellWidthPx / kCellHeightPx;

/// Rows of a page `columns` wide that keep the picture's shown proportions.
double rowsFor(double columns, PictureSize picture) {
    return columns * kCellAspect * picture.height / picture.width;
}

/// The most columns (a real number) that every limit of `request` allows.
double columnLimit(PictureSize picture, const PageSizeRequest& request) {
    const double perRow = kCellAspect * picture.height / picture.width;  // rows per column
    double limit = std::numeric_limits<double>::infinity();
    if (request.columns > 0) limit = std::min(limit, static_cast<double>(request.columns));
    if (request.rows > 0) limit = std::min(limit, request.rows / perRow);
    if (request.maxCells > 0) limit = std::min(limit, std::sqrt(static_cast<double>(request.maxCells) / perRow));
    if (!request.allowEnlarge) limit = std::min(limit, picture.width / 3.0);
    return std::min(limit, kMaxPictureHeight / 3 / perRow);
}

/// Whether the page of the unscaled picture already keeps to every limit asked.
bool fitsAsItIs(PictureSize picture, const PageSizeRequest& request) {
    const int columns = WholeBlocks(picture.width) / 3;
    const int rows = WholeBlocks(picture.height) / 3;
    return (request.columns == 0 || columns <= request.columns) && (request.rows == 0 || rows <= request.rows) &&
           (request.maxCells == 0 || static_cast<std::int64_t>(columns) * rows <= request.maxCells);
}

}  // namespace

PictureSize TargetPictureSize(PictureSize picture, const PageSizeRequest& request) {
    if (!request.asksAnything() || picture.width <= 0 || picture.height <= 0) return picture;
    if (!request.allowEnlarge && fitsAsItIs(picture, request)) return picture;
    // A tiny margin so that a limit met exactly (a whole number of columns) is not lost to rounding.
    int columns = std::max(1, static_cast<int>(std::floor(columnLimit(picture, request) + 1e-9)));
    auto rowsOf = [&](int c) {
        int rows = std::max(1, static_cast<int>(std::lround(rowsFor(c, picture))));
        if (request.rows > 0) rows = std::min(rows, request.rows);
        // Not enlarged: a page only a little narrower than the picture's own keeps its rows.
        if (!request.allowEnlarge) rows = std::min(rows, std::max(1, picture.height / 3));
        return std::min(rows, kMaxPictureHeight / 3);
    };
    int rows = rowsOf(columns);
    while (request.maxCells > 0 && columns > 1 && static_cast<std::int64_t>(columns) * rows > request.maxCells) {
        rows = rowsOf(--columns);
    }
    const PictureSize scaled{3 * columns, 3 * rows};
    if (!request.allowEnlarge && (scaled.width > picture.width || scaled.height > picture.height)) return picture;
    return scaled;
}

}  // namespace moza::convert
