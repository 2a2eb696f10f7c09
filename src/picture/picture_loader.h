// Picture files decoded by Qt's image readers into the core's working image.
#pragma once

#include <filesystem>
#include <memory>

#include "common/result.h"
#include "convert/row_source.h"
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

/// A picture file opened for its page: the whole picture, or its rows still to be decoded.
struct OpenedPicture {
    convert::WorkingImage image;               // the picture, when `rows` is not set
    std::unique_ptr<convert::RowSource> rows;  // the picture's rows, decoded as they are read
};

/// LoadPicture, except that a JPEG photo this build decodes itself is only opened: its rows are
/// decoded as they are read, so its page can be composed meanwhile. Fails as LoadPicture does for
/// everything found before the pixel data; a read from `rows` fails, without naming the file, when
/// the data turn out damaged (LoadPicture's reason after "cannot load 'x.jpg': ").
Result<OpenedPicture> OpenPicture(const std::filesystem::path& file);

/// The working image of an already decoded picture (alpha over white). Fails for pictures taller
/// than kMaxPictureHeight or when the memory cannot be had.
Result<convert::WorkingImage> ToWorkingImage(const QImage& image);

}  // namespace moza::picture
