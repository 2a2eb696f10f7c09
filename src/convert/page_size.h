// PageSizeRequest and TargetPictureSize: the picture size that gives a page of the size asked for.
#pragma once

#include <cstdint>

#include "convert/page_geometry.h"

namespace moza::convert {

using geometry::kCellHeightPx;
using geometry::kCellWidthPx;

/// What the user asked of a page's size; 0 means "not asked".
struct PageSizeRequest {
    int columns = 0;             // at most this many cells across
    int rows = 0;                // at most this many cells down
    std::int64_t maxCells = 0;   // at most this many cells in all; pictures within it are left alone
    bool allowEnlarge = false;   // the picture may be enlarged to reach columns or rows

    bool asksAnything() const { return columns > 0 || rows > 0 || maxCells > 0; }
};

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

/// The size in pixels that a picture of `picture` pixels is scaled to before conversion so that
/// its page meets `request`. A scaled size is whole blocks of 3 x 3 pixels. Within the limits
/// asked the page is as large as it can be and keeps the picture's proportions as a browser
/// shows it: rows = columns x (kCellWidthPx / kCellHeightPx) x height / width, rounded. Unless `allowEnlarge`, the
/// picture is never enlarged in either direction: a picture whose own page keeps to every limit
/// is left as it is, and a page only a little narrower than the picture's own keeps the
/// picture's rows (it lies between the page of the true shape and the unscaled page). Never
/// taller than the tallest picture that can be converted. Returns `picture` itself (no scaling)
/// when nothing is asked, when the picture is empty, and when it is too small to give a page of
/// one cell without enlarging it.
PictureSize TargetPictureSize(PictureSize picture, const PageSizeRequest& request);

}  // namespace moza::convert
