// Completeness checks from the headers and block lengths of BMP, TGA, GIF, PNG and XBM files.
#include "picture/picture_completeness.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

namespace moza::picture {
namespace {

using Bytes = QByteArrayView;

std::uint64_t le(Bytes bytes, qsizetype at, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

Error cutShort(std::uint64_t needed, qsizetype size) {
    const std::string detail =
        "its pixel data runs to byte " + std::to_string(needed) + ", the file ends at byte " + std::to_string(size);
    return Error{std::string(kCutShort) + " (" + detail + ")", ErrorKind::PictureDamaged, {}, detail};
}

Status needs(std::uint64_t needed, qsizetype size) {
    return needed <= static_cast<std::uint64_t>(size) ? success() : Status(cutShort(needed, size));
}

/// Products of header fields saturate instead of wrapping, so a header that claims too much
/// always asks for more than any file holds.
std::uint64_t times(std::uint64_t a, std::uint64_t b) {
    return a != 0 && b > UINT64_MAX / a ? UINT64_MAX : a * b;
}
std::uint64_t plus(std::uint64_t a, std::uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

Status checkBmp(Bytes bytes) {
    const qsizetype size = bytes.size();
    if (size < 18) return needs(18, size);
    const std::uint64_t pixelsAt = le(bytes, 10, 4);
    const std::uint64_t headerSize = le(bytes, 14, 4);
    std::uint64_t width = 0, height = 0, bitsPerPixel = 0, compression = 0, imageSize = 0;
    if (headerSize == 12) {  // OS/2 core header
        if (size < 26) return needs(26, size);
        width = le(bytes, 18, 2);
        height = le(bytes, 20, 2);
        bitsPerPixel = le(bytes, 24, 2);
    } else if (headerSize >= 40) {
        if (size < 54) return needs(54, size);
        const auto signedWidth = static_cast<std::int32_t>(le(bytes, 18, 4));
        const auto signedHeight = static_cast<std::int32_t>(le(bytes, 22, 4));  // negative: top-down
        width = signedWidth < 0 ? 0 : static_cast<std::uint64_t>(signedWidth);
        height = static_cast<std::uint64_t>(signedHeight < 0 ? -static_cast<std::int64_t>(signedHeight) : signedHeight);
        bitsPerPixel = le(bytes, 28, 2);
        compression = le(bytes, 30, 4);
        imageSize = le(bytes, 34, 4);
    } else {
        return success();  // a header Qt's decoder judges by itself
    }
    switch (compression) {
        case 0:    // uncompressed
        case 3:    // bit fields
        case 6: {  // bit fields with alpha
            const std::uint64_t rowBytes = plus(times(width, bitsPerPixel), 31) / 32 * 4;
            return needs(plus(pixelsAt, times(rowBytes, height)), size);
        }
        case 1:  // run-length, 8 and 4 bits: the header gives the data's length
        case 2:
            return imageSize == 0 ? success() : needs(plus(pixelsAt, imageSize), size);
        default:
            return success();
    }
}

Status checkTga(Bytes bytes) {
    const qsizetype size = bytes.size();
    if (size < 18) return needs(18, size);
    const std::uint64_t imageType = le(bytes, 2, 1);
    if (imageType < 1 || imageType > 3) return success();  // run-length kinds: Qt refuses them
    const std::uint64_t idLength = le(bytes, 0, 1);
    const std::uint64_t paletteBytes = le(bytes, 5, 2) * ((le(bytes, 7, 1) + 7) / 8);
    const std::uint64_t pixelBytes = times(times(le(bytes, 12, 2), le(bytes, 14, 2)), (le(bytes, 16, 1) + 7) / 8);
    // A file of the version Qt reads ends in a 26-byte footer, after the pixels.
    constexpr Bytes kFooterMark("TRUEVISION-XFILE.\0", 18);
    const std::uint64_t footer = bytes.endsWith(kFooterMark) ? 26 : 0;
    return needs(plus(18 + idLength + paletteBytes, plus(pixelBytes, footer)), size);
}

/// Skips a chain of GIF sub-blocks at `at`; where it ends, or nothing when the file ends first.
std::optional<qsizetype> skipSubBlocks(Bytes bytes, qsizetype at) {
    while (at < bytes.size()) {
        const auto length = static_cast<std::uint8_t>(bytes[at]);
        ++at;
        if (length == 0) return at;
        at += length;
    }
    return std::nullopt;
}

Status checkGif(Bytes bytes) {
    const qsizetype size = bytes.size();
    if (size < 13) return needs(13, size);
    const auto colourTable = [](std::uint8_t flags) { return (flags & 0x80) != 0 ? qsizetype{3} << ((flags & 7) + 1) : 0; };
    qsizetype at = 13 + colourTable(static_cast<std::uint8_t>(bytes[10]));
    // Blocks until the first picture's data is complete: the one Qt decodes.
    while (at < size) {
        const auto kind = static_cast<std::uint8_t>(bytes[at]);
        if (kind == 0x3B) return success();  // the end, with no picture: the decoder says so
        std::optional<qsizetype> next;
        if (kind == 0x21 && at + 2 <= size) {
            next = skipSubBlocks(bytes, at + 2);
        } else if (kind == 0x2C && at + 10 <= size) {
            const qsizetype data = at + 10 + colourTable(static_cast<std::uint8_t>(bytes[at + 9])) + 1;
            if (data <= size && skipSubBlocks(bytes, data)) return success();
        } else if (kind != 0x21 && kind != 0x2C) {
            return success();  // not a block the format knows: the decoder judges
        }
        if (!next) break;
        at = *next;
    }
    return Error{std::string(kCutShort) + " (the picture's data ends before its last block)", ErrorKind::PictureDamaged, {},
                 "the picture's data ends before its last block"};
}

std::uint64_t be32(Bytes bytes, qsizetype at) {
    std::uint64_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

Status checkPng(Bytes bytes) {
    // Chunks follow the 8-byte signature: length, type, data, checksum. A whole file ends with IEND,
    // so a file cut short either ends inside a chunk or before that last chunk.
    const qsizetype size = bytes.size();
    std::uint64_t at = 8;
    while (at + 8 <= static_cast<std::uint64_t>(size)) {
        const auto chunk = static_cast<qsizetype>(at);
        const std::uint64_t end = plus(at + 12, be32(bytes, chunk));
        if (end > static_cast<std::uint64_t>(size)) return cutShort(end, size);
        if (bytes.sliced(chunk + 4, 4) == Bytes("IEND")) return success();
        at = end;
    }
    return Error{std::string(kCutShort) + " (it ends before its closing chunk)", ErrorKind::PictureDamaged, {},
                 "it ends before its closing chunk"};
}

Status checkXbm(Bytes bytes) {
    // A text file: the pixels are the numbers between the braces, so a file cut short has no
    // closing brace.
    const qsizetype open = bytes.indexOf('{');
    if (open < 0 || bytes.indexOf('}', open) >= 0) return success();
    return Error{std::string(kCutShort) + " (its list of pixels is never closed)", ErrorKind::PictureDamaged, {},
                 "its list of pixels is never closed"};
}

/// The formats whose completeness is checked, and how.
constexpr std::pair<const char*, Status (*)(Bytes)> kCheckedFormats[] = {
    {"bmp", checkBmp}, {"tga", checkTga}, {"gif", checkGif}, {"png", checkPng}, {"xbm", checkXbm},
};

}  // namespace

bool ChecksCompleteness(const QByteArray& format) {
    return std::any_of(std::begin(kCheckedFormats), std::end(kCheckedFormats),
                       [&format](const auto& checked) { return format == checked.first; });
}

Status CheckPictureComplete(QByteArrayView bytes, const QByteArray& format) {
    for (const auto& [name, check] : kCheckedFormats) {
        if (format == name) return check(bytes);
    }
    return success();
}

}  // namespace moza::picture
