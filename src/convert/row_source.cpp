// ReadWholeImage: a row source read into a working image a few rows at a time.
#include "convert/row_source.h"

#include <algorithm>
#include <array>

namespace moza::convert {

Result<WorkingImage> ReadWholeImage(RowSource& source) {
    Result<WorkingImage> image = WorkingImage::create(source.width(), source.height());
    if (!image) return image.error();
    constexpr int kRowsAtOnce = 16;
    std::array<ColorValue*, kRowsAtOnce> rows{};
    for (int y = 0; y < source.height(); y += kRowsAtOnce) {
        const int count = std::min(kRowsAtOnce, source.height() - y);
        for (int r = 0; r < count; ++r) rows[static_cast<std::size_t>(r)] = image.value().row(y + r);
        if (Status read = source.read(std::span(rows.data(), static_cast<std::size_t>(count))); !read)
            return read.error();
    }
    return image;
}

}  // namespace moza::convert
