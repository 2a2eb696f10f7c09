// Whether a picture file holds all the data its header promises, for the formats whose Qt
// decoders fill a file cut short with made-up pixels, or say only that they failed.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "common/result.h"

namespace moza::picture {

/// The message of a picture whose data ends before its pixels do.
inline constexpr const char* kCutShort = "the file is damaged or cut short";

/// Whether CheckPictureComplete knows `format` (as QImageReader names it): "bmp", "gif", "png",
/// "tga" or "xbm". Pictures of other formats need not be read for it.
bool ChecksCompleteness(const QByteArray& format);

/// Checks the whole file `bytes` of a picture in `format` (see ChecksCompleteness): fails with
/// kCutShort (and what is missing) when the file ends before the pixel data its header describes.
/// Only headers and block lengths are read, never pixels. Other formats pass: their decoders fail
/// on a file cut short by themselves.
Status CheckPictureComplete(QByteArrayView bytes, const QByteArray& format);

}  // namespace moza::picture
