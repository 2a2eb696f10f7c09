// WorkingImage: storage with room for whole blocks, and the column-then-row fill.
#include "convert/working_image.h"

#include <algorithm>
#include <string>

namespace moza::convert {

Status CheckPictureHeight(int height) {
    if (height <= kMaxPictureHeight) return success();
    return Error{"the picture is " + std::to_string(height) + " pixels high; Moza converts pictures up to " +
                     std::to_string(kMaxPictureHeight) + " pixels high",
                 ErrorKind::PictureTooTall,
                 {},
                 {},
                 {.limit = kMaxPictureHeight, .height = height}};
}

Result<WorkingImage> WorkingImage::create(int width, int height) {
    if (width < 0 || height < 0) {
        return Error{"the picture has no valid size", ErrorKind::PictureSizeInvalid};
    }
    if (Status fits = CheckPictureHeight(height); !fits) return fits.error();
    const int stride = WholeBlocks(width);
    const std::size_t count = static_cast<std::size_t>(stride) * static_cast<std::size_t>(WholeBlocks(height));
    PixelMemory pixels = AllocatePixels(count);
    if (!pixels) {
        return Error{
            "not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels",
            ErrorKind::OutOfMemory,
            {},
            {},
            {.width = width, .height = height}};
    }
    std::fill_n(pixels.get(), count, 0x00FFFFFFu);
    return WorkingImage(width, height, stride, std::move(pixels));
}

void WorkingImage::EnlargeToBlocks() {
    const int oldWidth = m_width;
    const int oldHeight = m_height;
    m_width = WholeBlocks(oldWidth);
    m_height = WholeBlocks(oldHeight);

    for (int y = 0; y < oldHeight; ++y) FillColumnsToBlocks(row(y), oldWidth);
    // Row fill across the new width, after the column fill.
    for (int y = oldHeight; y < m_height && oldHeight > 0; ++y) {
        const ColorValue* source = row(CopiedRow(oldHeight, y));
        std::copy(source, source + m_width, row(y));
    }
}

void FillColumnsToBlocks(ColorValue* row, int width) {
    // New column width + k copies old column width - added + k; a source left of column 0
    // (1-pixel-wide pictures) reads column 0.
    const int added = WholeBlocks(width) - width;
    for (int k = 0; k < added && width > 0; ++k) row[width + k] = row[std::max(width - added + k, 0)];
}

}  // namespace moza::convert
