// Picture files decoded by Qt's image readers into the core's working image.
#pragma once

#include <filesystem>

#include "common/result.h"
#include "convert/working_image.h"

class QImage;

namespace moza::picture {

/// Decodes `file` (any format Qt's image readers know: BMP, JPEG, PNG, GIF, WebP, TIFF ...),
/// applies its EXIF orientation and puts transparent pixels over white. Fails for a missing or
/// unreadable file, a file that is not a picture or is damaged, a picture too large to decode,
/// one taller than kMaxPictureHeight, or when memory runs out (ErrorKind::OutOfMemory), with a
/// message that names the file and the problem:
/// "cannot load 'x.png': the file is empty".
Result<convert::WorkingImage> LoadPicture(const std::filesystem::path& file);

/// The working image of an already decoded picture (alpha over white). Fails for pictures taller
/// than kMaxPictureHeight or when the memory cannot be had.
Result<convert::WorkingImage> ToWorkingImage(const QImage& image);

}  // namespace moza::picture
