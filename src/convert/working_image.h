// WorkingImage: the picture being converted (tPic), pixels as 00BBGGRR, enlargeable to whole blocks.
#pragma once

#include <cstdint>
#include <memory>

#include "common/result.h"
#include "convert/pixel_memory.h"

namespace moza::convert {

/// A colour value as a picture surface reports it: red in the low byte, then green, then blue.
using ColorValue = std::uint32_t;

/// The tallest picture that can be converted: its height, raised to a multiple of 3, must still
/// fit a signed 16-bit number.
inline constexpr int kMaxPictureHeight = 32766;

/// The most memory one picture may take, in megabytes (4 bytes a pixel): the picture loader
/// decodes no larger picture, and a page size asked for never scales a picture beyond it.
inline constexpr int kMaxPictureMegabytes = 128;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{kMaxPictureMegabytes} * 1024 * 1024 / 4;

/// The working image. Rows are stored with room for the enlargement to whole 3 x 3 blocks, so
/// enlarging never moves a pixel. A default image is 0 x 0 (no picture opened yet).
class WorkingImage {
public:
    WorkingImage() = default;

    /// A white image of the given size: every pixel is written here, so no pixel a decoder leaves
    /// out can carry what the memory held before. Fails for negative sizes, for heights above
    /// kMaxPictureHeight and when the memory cannot be had.
    static Result<WorkingImage> create(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    /// The width as the make command reads it (single precision, always a whole number).
    float PicWidth() const { return static_cast<float>(m_width); }
    /// The height as the make command reads it.
    std::int16_t PicHeight() const { return static_cast<std::int16_t>(m_height); }

    ColorValue* row(int y) { return m_pixels.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride); }
    const ColorValue* row(int y) const {
        return m_pixels.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride);
    }
    /// Pixels from one row to the next (at least the width: rows have room for whole blocks).
    int stride() const { return m_stride; }
    ColorValue pixel(int x, int y) const { return row(y)[x]; }
    void setPixel(int x, int y, ColorValue value) { row(y)[x] = value; }

    /// Raises width and height to the next multiples of 3. The new columns copy the old last
    /// columns in order (for a 1-pixel-wide image both copy column 0), then the new rows copy
    /// the old last rows across the new width. Sizes already whole change nothing.
    void EnlargeToBlocks();

    int blockColumns() const { return m_width / 3; }
    int blockRows() const { return m_height / 3; }

private:
    WorkingImage(int width, int height, int stride, PixelMemory pixels)
        : m_width(width), m_height(height), m_stride(stride), m_pixels(std::move(pixels)) {}

    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;  // the enlarged width
    PixelMemory m_pixels;  // room for the enlarged height
};

/// Fails, saying how high a picture may be, for a picture taller than kMaxPictureHeight.
Status CheckPictureHeight(int height);

/// `n` raised to the next multiple of 3 (a multiple of 3 stays).
constexpr int WholeBlocks(int n) { return n % 3 == 0 ? n : 3 * (n / 3) + 3; }

/// Fills the columns of `row` from `width` up to WholeBlocks(width) as EnlargeToBlocks does: they
/// copy the last columns in order (column 0 twice for a 1-pixel-wide row).
void FillColumnsToBlocks(ColorValue* row, int width);

/// The row that row `y` (from `height` up to WholeBlocks(height)) of an enlarged image copies.
constexpr int CopiedRow(int height, int y) {
    const int copied = height - (WholeBlocks(height) - height) + (y - height);
    return copied > 0 ? copied : 0;
}

}  // namespace moza::convert
