// Picture files decoded by Qt's image readers, converted row by row to 00BBGGRR pixels.
#include "picture/picture_loader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "common/file_text.h"
#include "common/program_folder.h"
#include "picture/decode_warnings.h"
#include "picture/jpeg_decoder.h"
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

/// A picture beyond the decoding limit of `limit` MB; its size is named when it is known.
/// The most memory a decoded picture may take, in MB. Qt's own limit differs from version to
/// version; the program's holds unless Qt's is lower.
int megabyteLimit() {
    const int qtLimit = QImageReader::allocationLimit();
    return qtLimit > 0 ? std::min(qtLimit, convert::kMaxPictureMegabytes) : convert::kMaxPictureMegabytes;
}

Error tooLarge(QSize size, int limit) {
    const std::string pixels =
        size.isValid() ? " (" + std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels)" : "";
    return Error{"the picture" + pixels + " is too large to decode: it would need more than " + std::to_string(limit) +
                     " MB of memory",
                 ErrorKind::PictureTooLarge,
                 {},
                 {},
                 {.limit = limit, .width = size.width(), .height = size.height()}};
}

/// The size in the header of a PBM, PGM or PPM file, which Qt's reader keeps to itself when a
/// side is beyond what it decodes; an invalid size when the header is not one.
QSize pnmSize(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = file.read(1024);
    if (head.size() < 2 || head[0] != 'P' || head[1] < '1' || head[1] > '6') return {};
    qint64 sides[2] = {-1, -1};
    qsizetype at = 2;
    for (qint64& side : sides) {
        for (;;) {  // white space and comments to the end of their line
            if (at < head.size() && std::isspace(static_cast<unsigned char>(head[at]))) {
                ++at;
            } else if (at < head.size() && head[at] == '#') {
                while (at < head.size() && head[at] != '\n') ++at;
            } else {
                break;
            }
        }
        for (side = 0; at < head.size() && head[at] >= '0' && head[at] <= '9' && side <= INT_MAX; ++at) {
            side = side * 10 + (head[at] - '0');
        }
        if (side <= 0 || side > INT_MAX) return {};
    }
    return {static_cast<int>(sides[0]), static_cast<int>(sides[1])};
}

Result<QSize> checkedSize(QImageReader& reader, const QString& name) {
    const QByteArray format = reader.format();  // asked first: a reader that refuses the size forgets it
    QSize size = reader.size();
    if (!size.isValid() && (format == "pbm" || format == "pgm" || format == "ppm")) size = pnmSize(name);
    if (!size.isValid()) return size;  // the decoder tells its size only while reading
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    if (Status fits = convert::CheckPictureHeight(size.height()); !fits) return fits.error();
    const double megabytes = static_cast<double>(size.width()) * size.height() * 4.0 / (1024.0 * 1024.0);
    const int limit = megabyteLimit();
    if (megabytes > limit) return tooLarge(size, limit);
    return size;
}

Error damagedPicture(DecodeWarnings& warnings) {
    return Error{std::string(kCutShort) + ": " + warnings.text(), ErrorKind::PictureDamaged, {}, warnings.text()};
}

Error decodeFailure(const QImageReader& reader, DecodeWarnings& warnings, QSize size) {
    if (warnings.damaged()) return damagedPicture(warnings);
    // Qt's readers refuse a picture beyond the limit by themselves when only they know its size.
    if (warnings.text().find("exceeds the current allocation limit") != std::string::npos) {
        return tooLarge(size, megabyteLimit());
    }
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
    if (!reader.read(&target)) return decodeFailure(reader, warnings, size);
    if (warnings.damaged()) return damagedPicture(warnings);
    if (target.constBits() != pixels || target.size() != size || target.format() != QImage::Format_RGB32) {
        return ToWorkingImage(target);  // the decoder chose a buffer of its own
    }
    spreadRows(working);
    return created;
}

/// The picture decoded by Qt's reader, which has read its header.
Result<convert::WorkingImage> decodeWithQt(QImageReader& reader, QSize size, DecodeWarnings& warnings) {
    if (auto direct = decodeInPlace(reader, size, warnings)) return std::move(*direct);
    QImage image = reader.read();
    if (image.isNull()) return decodeFailure(reader, warnings, size);
    if (warnings.damaged()) return damagedPicture(warnings);
    return ToWorkingImage(image);
}

}  // namespace

Result<convert::WorkingImage> ToWorkingImage(const QImage& image) {
    Result<convert::WorkingImage> created =
        convert::WorkingImage::create(image.width(), image.height());
    if (!created) return created;
    convert::WorkingImage& working = created.value();
    const bool alpha = image.hasAlphaChannel();
    const QImage source = image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (source.isNull() && !image.isNull()) {  // Qt's way of saying the memory cannot be had
        return Error{"not enough memory for a picture of " + std::to_string(image.width()) + " x " +
                         std::to_string(image.height()) + " pixels",
                     ErrorKind::OutOfMemory,
                     {},
                     {},
                     {.width = image.width(), .height = image.height()}};
    }
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
    if (!ChecksCompleteness(format)) return success();
    QFile file(name);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {  // the system's reason: out of descriptors, say, not only permission
        const int error = errno != 0 ? errno : EIO;
        return Error{
            "the file cannot be read: " + SystemErrorText(error), KindOfSystemError(error), {}, SystemErrorText(error)};
    }
    // Read, never mapped: a mapped file cut short while it is read ends the program (SIGBUS).
    return CheckPictureComplete(file.readAll(), format);
}

/// Whether `text` begins as a web address does ("https://", "ftp://").
bool isWebAddress(const std::string& text) {
    const std::size_t colon = text.find("://");
    return colon != std::string::npos && colon > 1 && std::isalpha(static_cast<unsigned char>(text[0])) &&
           std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
           });
}

/// Why `file`, which the system does not find, cannot be had: it is missing, a web address, a
/// link that leads round in a circle, or behind a folder that may not be searched.
Error notFound(const std::filesystem::path& file) {
    std::error_code ec;
    (void)std::filesystem::status(file, ec);
    if (ec.value() == ELOOP) {
        return Error{"too many levels of symbolic links (a link on its way leads round in a circle)", ErrorKind::SystemError,
                     {}, ec.message()};
    }
    if (ec.value() == EACCES) {
        // The folder that may not be searched is the nearest one the system still describes.
        std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
        for (std::error_code up; (void)std::filesystem::status(folder, up), up && folder.has_parent_path() &&
                                 folder != folder.parent_path();) {
            folder = folder.parent_path();
        }
        return Error{"permission denied on the folder " + Quoted(folder) + " (its files may not be reached)",
                     ErrorKind::PermissionDenied, folder};
    }
    if (isWebAddress(file.string())) {
        return Error{"it is a web address; Moza reads only local files", ErrorKind::Other};
    }
    return Error{"the file does not exist", ErrorKind::FileMissing};
}

/// A program folder on Windows carries Qt's picture-format plugins beside the executable
/// (imageformats\). Qt looks there only once an application object exists, which moza-convert
/// never makes, so the folder is named to it before the first reader is made.
void findPluginsBesideTheProgram() {
#ifdef _WIN32
    static const bool named = [] {
        QCoreApplication::addLibraryPath(ToText(ProgramFolder()));
        return true;
    }();
    (void)named;
#endif
}

/// The picture `file`, opened by OpenPicture's rules; libjpeg-turbo is tried first for a JPEG
/// photo only when `direct`. Its errors say only what is wrong with the file.
Result<OpenedPicture> decodeFile(const std::filesystem::path& file, bool direct) {
    findPluginsBesideTheProgram();
    const QString name = ToText(file);
    const QFileInfo info(name);
    if (!info.exists()) return notFound(file);
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
    Result<QSize> size = checkedSize(reader, name);
    if (!size) return size.error();
    if (Status complete = checkComplete(name, reader.format()); !complete) return complete.error();
    if (direct && reader.format() == "jpeg" && reader.imageFormat() == QImage::Format_RGB32 &&
        reader.transformation() == QImageIOHandler::TransformationNone) {
        auto throughQt = [file]() -> Result<convert::WorkingImage> {
            Result<OpenedPicture> whole = decodeFile(file, false);
            if (!whole) return whole.error();
            return std::move(whole.value().image);
        };
        if (auto rows = JpegRows::open(file, size.value().width(), size.value().height(), throughQt)) {
            return OpenedPicture{{}, std::move(rows)};
        }
    }
    Result<convert::WorkingImage> image = decodeWithQt(reader, size.value(), warnings);
    if (!image) return image.error();
    return OpenedPicture{std::move(image).value(), nullptr};
}

}  // namespace

/// What `decode` gives, its error put after "cannot load 'file': ", memory running out caught.
template <typename T, typename Decode>
Result<T> named(const std::filesystem::path& file, Decode decode) {
    Result<T> decoded = Error{};
    try {
        decoded = decode();
    } catch (const std::bad_alloc&) {
        decoded = Error{"not enough memory to load it", ErrorKind::OutOfMemory};
    }
    if (!decoded) return InContext("cannot load " + Quoted(file) + ": ", decoded.error(), file);
    return decoded;
}

Result<OpenedPicture> OpenPicture(const std::filesystem::path& file) {
    return named<OpenedPicture>(file, [&file] { return decodeFile(file, true); });
}

Result<convert::WorkingImage> LoadPicture(const std::filesystem::path& file) {
    return named<convert::WorkingImage>(file, [&file]() -> Result<convert::WorkingImage> {
        Result<OpenedPicture> opened = decodeFile(file, true);
        if (!opened) return opened.error();
        if (!opened.value().rows) return std::move(opened.value().image);
        return convert::ReadWholeImage(*opened.value().rows);
    });
}

}  // namespace moza::picture
