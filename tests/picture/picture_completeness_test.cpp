// Completeness checks: every byte of a picture's pixel data must be there, in each format whose
// decoder would otherwise make up the missing pixels.
#include "picture/picture_completeness.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

namespace moza::picture {
namespace {

QImage pattern(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgba(x * 9, y * 7, (x ^ y) * 5, 200));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, format).write(image)) << format;
    return bytes;
}

/// An uncompressed TGA, top row first: header, an ID of `idLength` bytes, a colour map of
/// `paletteLength` 24-bit entries, pixels, the version-2 footer; true colour (type 2) unless told
/// colour-mapped (type 1) or grey (type 3), both 8 bits.
QByteArray tga(int width, int height, int type = 2, int idLength = 0, int paletteLength = 0) {
    const int bits = type == 2 ? 24 : 8;
    QByteArray bytes(18, '\0');
    for (const auto& [at, value] : {std::pair{0, idLength}, {1, int{paletteLength > 0}}, {2, type}, {7, 24}, {16, bits}, {17, 0x20}})
        bytes[at] = static_cast<char>(value);
    for (const auto& [at, value] : {std::pair{5, paletteLength}, {12, width}, {14, height}})
        qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data() + at);
    bytes.append(QByteArray(idLength, 'i')).append(QByteArray(paletteLength * 3, 'p')).append(QByteArray(width * height * bits / 8, '\x7F'));
    bytes.append(QByteArray(8, '\0')).append("TRUEVISION-XFILE.", 17).append('\0');
    return bytes;
}

/// A GIF of two sub-blocks of picture data (the LZW bytes need not decode: only lengths count).
QByteArray gif() {
    QByteArray bytes("GIF89a\x04\x00\x04\x00\x01\x00\x00", 13);  // no colour table for the screen
    bytes.append("\x21\xF9\x04\x00\x00\x00\x00\x00", 8);        // an extension
    bytes.append("\x2C\x00\x00\x00\x00\x04\x00\x04\x00\x81", 10).append(QByteArray(12, '\0'));  // the picture, its four colours
    bytes.append('\x02').append("\x04" "abcd" "\x02" "de" "\x00", 9).append('\x3B');
    return bytes;
}

struct Case {
    const char* name;
    QByteArray bytes;
    QByteArray format;
    qsizetype completeUpTo;  // the file may be cut after this many bytes without losing pixels
    qsizetype from = 0;      // cut shorter, it has no header left to promise pixels
};

TEST(PictureCompletenessTest, FilesCutAnywhereBeforeTheirLastPixelAreRefused) {
    const QByteArray bmp8 = encoded(pattern(16, 7, QImage::Format_Indexed8), "bmp");  // rows of exactly 32-bit words
    const QByteArray bmp24 = encoded(pattern(13, 7, QImage::Format_RGB888), "bmp");
    const QByteArray bmp32 = encoded(pattern(13, 7, QImage::Format_ARGB32), "bmp");
    const QByteArray xbm = encoded(pattern(13, 7, QImage::Format_Mono), "xbm");
    const QByteArray png = encoded(pattern(13, 7, QImage::Format_ARGB32), "png");
    // Header fields as other writers set them: run-length 8 bits with the data's length, alpha bit fields.
    const auto field = [](QByteArray bytes, int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); return bytes; };
    const QByteArray rle8 = field(field(bmp8, 30, 1), 34, static_cast<quint32>(bmp8.size()) - qFromLittleEndian<quint32>(bmp8.constData() + 10));
    // An OS/2 BMP, whose 12-byte header Qt reads but does not write: 257 x 260 at 1 bit, rows of 36 bytes.
    QByteArray os2 = QByteArray("BM", 2) + QByteArray(24, '\0') + QByteArray(36 * 260, '\x7F');
    for (const auto& [at, value] : {std::pair{2, 26 + 36 * 260}, {10, 26}, {14, 12}, {18, 257}, {20, 260}, {22, 1}, {24, 1}}) os2 = field(os2, at, value);
    const Case cases[] = {
        {"8-bit BMP", bmp8, "bmp", bmp8.size()},
        {"24-bit BMP", bmp24, "bmp", bmp24.size()},
        {"32-bit BMP", bmp32, "bmp", bmp32.size()},
        {"top-down BMP", field(bmp24, 22, static_cast<quint32>(-7)), "bmp", bmp24.size()},
        {"8-bit run-length BMP", rle8, "bmp", rle8.size()},
        {"BMP of bit fields", field(bmp32, 30, 3), "bmp", bmp32.size()},
        {"BMP of alpha bit fields", field(bmp32, 30, 6), "bmp", bmp32.size()},
        {"OS/2 BMP", os2, "bmp", os2.size()},
        {"TGA", tga(5, 3), "tga", 18 + 5 * 3 * 3},  // a footer cut off: Qt refuses the file itself
        {"grey TGA with an ID", tga(3, 260, 3, 7), "tga", 18 + 7 + 3 * 260},
        {"colour-mapped TGA with an ID", tga(300, 1, 1, 2, 300), "tga", 18 + 2 + 300 * 3 + 300},
        {"GIF", gif(), "gif", gif().size() - 1},  // the trailer byte holds no pixels
        {"PNG", png, "png", png.size()},
        {"XBM", xbm, "xbm", xbm.lastIndexOf('}') + 1, xbm.indexOf('{') + 1},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(CheckPictureComplete(c.bytes, c.format).ok()) << c.name;
        for (qsizetype size = c.from; size < c.completeUpTo; ++size) {
            // A copy, as a file read whole would be: nothing of the rest of the file follows it.
            const Status cut = CheckPictureComplete(c.bytes.first(size), c.format);
            ASSERT_FALSE(cut.ok()) << c.name << " cut to " << size << " bytes";
            EXPECT_THAT(cut.error().message, ::testing::StartsWith(kCutShort));
            EXPECT_EQ(cut.error().kind, ErrorKind::PictureDamaged) << c.name << " cut to " << size << " bytes";
        }
    }
}

TEST(PictureCompletenessTest, AHeaderThatClaimsMoreThanTheFileHoldsIsRefusedWithoutOverflowing) {
    const QByteArray bmp = encoded(pattern(4, 4, QImage::Format_RGB888), "bmp");
    // Width and height near 2^31; then the last byte of the pixel offset, then of the width.
    for (const auto& [from, to, value] : {std::tuple{18, 26, '\x7F'}, {13, 14, '\x01'}, {21, 22, '\x01'}}) {
        QByteArray claims = bmp;
        for (int i = from; i < to; ++i) claims[i] = value;
        EXPECT_FALSE(CheckPictureComplete(claims, "bmp").ok()) << "bytes " << from << " to " << to;
    }
    EXPECT_FALSE(CheckPictureComplete(tga(1, 1).replace(12, 4, QByteArray(4, '\xFF')), "tga").ok());  // 65535 x 65535
    EXPECT_TRUE(CheckPictureComplete(tga(5, 3).chopped(26), "tga").ok());  // no footer
    EXPECT_FALSE(CheckPictureComplete(tga(5, 3).remove(18, 1), "tga").ok());  // a byte short, footer and all
    // Run-length TGAs are shorter than their pixels: the decoder judges them.
    EXPECT_TRUE(CheckPictureComplete(tga(5, 3, 10).remove(18, 40), "tga").ok());
}

}  // namespace
}  // namespace moza::picture
