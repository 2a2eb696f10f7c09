// Picture files decoded by Qt's image readers, converted row by row to 00BBGGRR pixels.
#include "picture/picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "picture/decode_warnings.h"
#include "picture/picture_completeness.h"
#include "picture/path_text.h"

namespace moza::picture {
namespace {

/// 0xAARRGGBB (QImage::Format_RGB32) to 0x00BBGGRR.
inline convert::ColorValue fromRgb32(QRgb pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

/// Premultiplied 0xAARRGGBB over white: each channel gains what the alpha leaves uncovered.
inline convert::ColorValue overWhite(QRgb pixel) {
    const unsigned uncovered = 255u - static_cast<unsigned>(qAlpha(pixel));
    const unsigned r = static_cast<unsigned>(qRed(pixel)) + uncovered;
    const unsigned g = static_cast<unsigned>(qGreen(pixel)) + uncovered;
    const unsigned b = static_cast<unsigned>(qBlue(pixel)) + uncovered;
    return (b << 16) | (g << 8) | r;
}

Result<QSize> checkedSize(QImageReader& reader) {
    QSize size = reader.size();
    if (!size.isValid()) return size;  // the decoder tells its size only while reading
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    if (Status fits = convert::CheckPictureHeight(size.height()); !fits) return fits.error();
    const double megabytes = static_cast<double>(size.width()) * size.height() * 4.0 / (1024.0 * 1024.0);
    const int limit = QImageReader::allocationLimit();
    if (limit > 0 && megabytes > limit) {
        return Error{"the picture (" + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                         " pixels) is too large to decode: it would need more than " + std::to_string(limit) +
                         " MB of memory",
                     ErrorKind::PictureTooLarge, {}, {}, {size.width(), size.height(), limit}};
    }
    return size;
}

Error damagedPicture(DecodeWarnings& warnings) {
    return Error{std::string(kCutShort) + ": " + warnings.text(), ErrorKind::PictureDamaged, {}, warnings.text()};
}

Error decodeFailure(const QImageReader& reader, DecodeWarnings& warnings) {
    if (warnings.damaged()) return damagedPicture(warnings);
    std::string reason = reader.errorString().toStdString();
    if (!warnings.text().empty()) reason += " (" + warnings.text() + ")";
    return Error{"the picture cannot be decoded: " + reason, ErrorKind::PictureUndecodable, {}, reason};
}

/// Moves the rows of a picture decoded packed (one row right after the other) at the start of the
/// working image's memory out to their places, last row first so that no row is overwritten
/// before it has moved, turning each pixel around on the way; the room beside each row is white.
void spreadRows(convert::WorkingImage& working) {
    const auto width = static_cast<std::size_t>(working.width());
    convert::ColorValue* packed = working.row(0);
    for (int y = working.height() - 1; y >= 0; --y) {
        convert::ColorValue* row = working.row(y);
        std::memmove(row, packed + static_cast<std::size_t>(y) * width, width * sizeof(convert::ColorValue));
        for (std::size_t x = 0; x < width; ++x) row[x] = fromRgb32(row[x]);
        std::fill(row + width, row + working.stride(), 0x00FFFFFFu);
    }
}

/// Decodes an opaque, unrotated 32-bit picture straight into the working image's memory and
/// moves its pixels into place there, sparing a second picture-sized buffer and a copy. Gives
/// nothing (so the caller decodes the usual way) when the picture is of another kind.
std::optional<Result<convert::WorkingImage>> decodeInPlace(QImageReader& reader, QSize size,
                                                           DecodeWarnings& warnings) {
    if (!size.isValid() || reader.imageFormat() != QImage::Format_RGB32 ||
        reader.transformation() != QImageIOHandler::TransformationNone) {
        return std::nullopt;
    }
    Result<convert::WorkingImage> created =
        convert::WorkingImage::create(size.width(), size.height());
    if (!created) return created;
    convert::WorkingImage& working = created.value();
    auto* pixels = reinterpret_cast<uchar*>(working.row(0));
    // Packed rows, as every decoder writes them: some (Qt's TIFF reader) ignore a wider row
    // length and would shear the picture across the rows' room for whole blocks.
    QImage target(pixels, size.width(), size.height(), static_cast<qsizetype>(size.width()) * 4,
                  QImage::Format_RGB32);
    if (!reader.read(&target)) return decodeFailure(reader, warnings);
    if (warnings.damaged()) return damagedPicture(warnings);
    if (target.constBits() != pixels || target.size() != size || target.format() != QImage::Format_RGB32) {
        return ToWorkingImage(target);  // the decoder chose a buffer of its own
    }
    spreadRows(working);
    return created;
}

}  // namespace

Result<convert::WorkingImage> ToWorkingImage(const QImage& image) {
    Result<convert::WorkingImage> created =
        convert::WorkingImage::create(image.width(), image.height());
    if (!created) return created;
    convert::WorkingImage& working = created.value();
    const bool alpha = image.hasAlphaChannel();
    const QImage source = image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        convert::ColorValue* out = working.row(y);
        if (alpha) {
            for (int x = 0; x < source.width(); ++x) out[x] = overWhite(in[x]);
        } else {
            for (int x = 0; x < source.width(); ++x) out[x] = fromRgb32(in[x]);
        }
    }
    return created;
}

namespace {

/// Whether the file holds the pixel data its header promises (see CheckPictureComplete).
Status checkComplete(const QString& name, const QByteArray& format) {
    if (format != "bmp" && format != "gif" && format != "png" && format != "tga" && format != "xbm") return success();
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return Error{"the file cannot be read", ErrorKind::PermissionDenied};
    // Read, never mapped: a mapped file cut short while it is read ends the program (SIGBUS).
    return CheckPictureComplete(file.readAll(), format);
}

/// LoadPicture's work; its errors say only what is wrong with the file.
Result<convert::WorkingImage> decodeFile(const std::filesystem::path& file) {
    const QString name = ToText(file);
    const QFileInfo info(name);
    if (!info.exists()) return Error{"the file does not exist", ErrorKind::FileMissing};
    if (info.isDir()) return Error{"it is a folder, not a picture", ErrorKind::IsAFolder};
    // A device or pipe might never end, and is no picture file anyway.
    if (!info.isFile()) return Error{"it is not a regular file (a device, a pipe or a socket)", ErrorKind::NotARegularFile};
    if (!info.isReadable()) return Error{"the file cannot be read (permission denied)", ErrorKind::PermissionDenied};
    if (info.size() == 0) return Error{"the file is empty", ErrorKind::FileEmpty};

    DecodeWarnings warnings;
    QImageReader reader(name);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return Error{"it is not a picture in a format Moza can read (BMP, JPEG, PNG, GIF, WebP, TIFF ...)",
                     ErrorKind::NotAPicture};
    }
    Result<QSize> size = checkedSize(reader);
    if (!size) return size.error();
    if (Status complete = checkComplete(name, reader.format()); !complete) return complete.error();
    if (auto direct = decodeInPlace(reader, size.value(), warnings)) return std::move(*direct);
    QImage image = reader.read();
    if (image.isNull()) return decodeFailure(reader, warnings);
    if (warnings.damaged()) return damagedPicture(warnings);
    return ToWorkingImage(image);
}

}  // namespace

Result<convert::WorkingImage> LoadPicture(const std::filesystem::path& file) {
    Result<convert::WorkingImage> decoded = decodeFile(file);
    if (!decoded) return InContext("cannot load '" + file.string() + "': ", decoded.error(), file);
    return decoded;
}

}  // namespace moza::picture
