// The artwork as a picture: a page drawn whole by the art view's painter, and written as a PNG.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <filesystem>

#include "common/result.h"
#include "ui/art/art_page.h"

namespace moza::ui {

/// The longest side of a page's picture when nobody asks for another size.
inline constexpr int kDefaultArtImageSide = 4096;

/// The picture sizes a page can be drawn at.
struct ArtImageSizes {
    QSize actual;      // 1:1, the size a browser shows
    QSize standard;    // fitted within kDefaultArtImageSide pixels (1:1 when that is smaller)
    int maxWidth = 0;  // the widest picture within the picture budget, at most 1:1
};

/// The sizes `page` can be drawn at.
ArtImageSizes ArtImageSizesOf(const ArtPage& page);

/// The height of `page`'s picture `width` pixels wide (its proportions kept, at least 1).
int ArtImageHeight(const ArtPage& page, int width);

/// Draws the whole of `page` `width` pixels wide, as the art view shows it at that zoom. Fails
/// when `width` is below 1 or above ArtImageSizesOf(page).maxWidth, when the memory cannot be had,
/// or (with an empty message) once `stop` is set. Safe on a worker thread.
Result<QImage> DrawArtImage(const ArtPage& page, int width, const std::atomic<bool>* stop = nullptr);

/// Writes `image` as a PNG file at `file`: the old file stays whole until the new one is complete.
/// Fails, naming the file, when it cannot be encoded or written.
Status WritePng(const QImage& image, const std::filesystem::path& file);

}  // namespace moza::ui
