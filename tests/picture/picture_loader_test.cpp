// Picture loading through Qt's readers: colours, alpha over white, orientation and bad files.
// The height limit itself, with its boundary, is the working image's (working_image_test.cpp).
#include "picture/picture_loader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "picture/decode_warnings.h"
#include "picture/library_output.h"
#include "scratch_folder.h"

namespace moza::picture {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using PictureLoaderTest = moza::testing::ScratchFolderTest;

QImage photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb((x * 7) ^ y, (y * 13) & 255, (x * y) & 255));
    return image;
}

/// `image` encoded in `format` ("JPEG", "PNG" ...), as a file of it holds it.
std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

/// How a picture is written for the rule below: `format` as Qt's writer names it, with `option`
/// as its compression (tif: 0 none, 1 LZW) or quality (webp 100: lossless; jpg); `pixels` what the
/// file holds (grey, two colours, a palette). JPEG files, being lossy, are held to Qt's plain decode.
struct Written {
    const char* format;
    int option = -1;
    QImage::Format pixels = QImage::Format_RGB32;
    bool turned = false;  // stored turned, with an orientation tag (EXIF in a JPEG) that turns it back
};

TEST_F(PictureLoaderTest, EveryFormatDecodesToTheSamePixelsAsAPngOfThePictureAtEveryWidth) {
    const Written cases[] = {{"png"}, {"bmp"}, {"ppm"}, {"xpm"}, {"ico"}, {"pgm", -1, QImage::Format_Grayscale8},
                             {"pbm", -1, QImage::Format_Mono}, {"tif", 0}, {"tif", 1}, {"tif", 0, QImage::Format_Indexed8},
                             {"tif", 1, QImage::Format_RGB32, true}, {"webp", 100}, {"jpg"}, {"jpg", -1, QImage::Format_RGB32, true},
                             {"jpg", 5}, {"jpg", -1, QImage::Format_Grayscale8}};
    for (const Written& w : cases) {
        for (const int width : {30, 31, 32}) {  // 3k, 3k + 1 and 3k + 2: rows stored with and without room
            const QImage picture = photo(width, 7).convertToFormat(w.pixels);
            const QString name = QString::fromStdString((m_folder / ("p." + std::string(w.format))).string());
            QImageWriter writer(name, w.format);
            if (w.option >= 0) std::string_view(w.format) == "tif" ? writer.setCompression(w.option) : writer.setQuality(w.option);
            if (w.turned) writer.setTransformation(QImageIOHandler::TransformationRotate90);
            ASSERT_TRUE(writer.write(picture)) << w.format << ": " << writer.errorString().toStdString();
            QImageReader plain(name);
            plain.setAutoTransform(true);
            const QImage expected = std::string_view(w.format) == "jpg" ? plain.read() : w.turned ? picture.transformed(QTransform().rotate(90)) : picture;
            const Result<convert::WorkingImage> loaded = LoadPicture(fs::path(name.toStdString()));
            const convert::WorkingImage want = ToWorkingImage(expected).value();  // converted pixel by pixel
            ASSERT_TRUE(loaded.ok()) << loaded.error().message;
            ASSERT_EQ(std::pair(loaded.value().width(), loaded.value().height()), std::pair(want.width(), want.height())) << w.format;
            for (int y = 0; y < want.height(); ++y) {
                ASSERT_TRUE(std::equal(want.row(y), want.row(y) + want.width(), loaded.value().row(y)))
                    << w.format << " " << w.option << (w.turned ? " turned" : "") << ", width " << width << ": row " << y;
            }
        }
    }
}

TEST_F(PictureLoaderTest, TransparentPixelsLieOverWhite) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 200, 5, 255));   // opaque colour as it is
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));        // fully transparent: white
    image.setPixel(2, 0, qRgba(0, 0, 0, 255));      // opaque black stays black
    image.setPixel(3, 0, qRgba(255, 0, 0, 128));    // half red over white: pink
    const Result<convert::WorkingImage> loaded = LoadPicture(file("alpha.png", encoded(image, "PNG")));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    ASSERT_EQ(loaded.value().width(), 4);
    const convert::ColorValue* row = loaded.value().row(0);
    EXPECT_EQ(std::vector<convert::ColorValue>(row, row + 4), (std::vector<convert::ColorValue>{0x05C80A, 0xFFFFFF, 0, 0x7F7FFF}));
    // Without an alpha channel, every pixel as it is, the first of a row too.
    EXPECT_EQ(ToWorkingImage(image.convertToFormat(QImage::Format_RGB888)).value().pixel(0, 0), 0x05C80Au);
}

TEST_F(PictureLoaderTest, BadFilesAreRefusedWithTheirReason) {
    const QImage picture = photo(256, 256);
    const std::string jpeg = encoded(picture, "JPEG");
    const std::string bmp = encoded(picture, "BMP");  // whose reader would make up the missing pixels
#ifndef _WIN32
    fs::create_symlink("loop", m_folder / "loop");  // a link to itself
#endif

    struct Case {
        fs::path file;
        const char* reason;
        ErrorKind kind;  // the reason as a front end words it, naming the file
    };
    const Case cases[] = {
        {m_folder / "missing.jpg", "the file does not exist", ErrorKind::FileMissing},
#ifndef _WIN32
        {m_folder / "loop", "too many levels of symbolic links", ErrorKind::SystemError},
        {"/dev/zero", "it is not a regular file", ErrorKind::NotARegularFile},
#endif
        {"https://example.com/x.jpg", "it is a web address; Moza reads only local files", ErrorKind::Other},
        {m_folder, "it is a folder, not a picture", ErrorKind::IsAFolder},
        {file("empty.jpg", ""), "the file is empty", ErrorKind::FileEmpty},
        {file("text.bmp", "this is not a picture\n"), "it is not a picture in a format Moza can read", ErrorKind::NotAPicture},
        {file("cut.jpg", jpeg.substr(0, jpeg.size() / 2)), "the file is damaged or cut short", ErrorKind::PictureDamaged},
        {file("cut.bmp", bmp.substr(0, bmp.size() / 2)), "the file is damaged or cut short", ErrorKind::PictureDamaged},
        // A few bytes that claim more pixels than Qt's reader of the format takes, which then tells no size.
        {file("bomb.pbm", std::string("P4\n# small file, large picture\n60000 60000\n\0", 44)), "the picture is 60000 pixels high",
         ErrorKind::PictureTooTall},
    };
    for (const Case& c : cases) {
        const Result<convert::WorkingImage> loaded = LoadPicture(c.file);
        ASSERT_FALSE(loaded.ok()) << c.file;
        EXPECT_THAT(loaded.error().message, HasSubstr(c.reason)) << c.file;
        EXPECT_EQ(loaded.error().kind, c.kind) << c.file;
        EXPECT_EQ(loaded.error().file, c.file);
    }
    // Whole, with an end marker halfway through the pixel data: found only while decoding.
    const Result<convert::WorkingImage> damaged =
        LoadPicture(file("damaged.jpg", std::string(jpeg).replace(jpeg.size() / 2, 2, "\xFF\xD9")));
    EXPECT_EQ(damaged.ok() ? ErrorKind::Other : damaged.error().kind, ErrorKind::PictureDamaged);
}

#ifndef _WIN32  // files are cut while open with POSIX calls
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)  // the sanitizers' own checks need descriptors
TEST_F(PictureLoaderTest, AFileThatCannotBeOpenedForWantOfDescriptorsSaysSoNotPermissionDenied) {
    const fs::path picture = file("photo.bmp", encoded(photo(6, 3), "BMP"));
    rlimit limits{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limits), 0);
    const int lowestFree = dup(0);
    close(lowestFree);
    bool loaded = false;
    for (int more = 0; more < 16 && !loaded; ++more) {  // each open of the load fails in turn
        const rlimit lowered{static_cast<rlim_t>(lowestFree + more), limits.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
        const Result<convert::WorkingImage> image = LoadPicture(picture);
        setrlimit(RLIMIT_NOFILE, &limits);
        loaded = image.ok();
        if (!loaded) {
            EXPECT_NE(image.error().kind, ErrorKind::PermissionDenied) << more << ": " << image.error().message;
        }
    }
    EXPECT_TRUE(loaded);
}
#endif

TEST_F(PictureLoaderTest, APictureCutShortWhileItIsReadIsAnOrdinaryFailureNotACrash) {
    const std::string png = encoded(photo(800, 800), "PNG");  // a chunk every 8 KB through the file
    const fs::path path = file("shrinking.png", png);
    const auto half = static_cast<off_t>(png.size() / 2);
    std::atomic<bool> done{false};  // a mapped file that shrinks ends the whole test program (SIGBUS)
    std::thread cutter([&, fd = ::open(path.c_str(), O_WRONLY)] {  // cut in half, made whole again, over and over
        while (!done && ::ftruncate(fd, half) == 0 && ::pwrite(fd, png.data() + half, png.size() - png.size() / 2, half) > 0) {}
        ::close(fd);
    });
    for (int i = 0; i < 500; ++i) (void)LoadPicture(path);
    done = true;
    cutter.join();
}
#endif

QString g_passedOn;  // what reaches the message handler that was in place before a collector
void passOn(QtMsgType, const QMessageLogContext&, const QString& message) { g_passedOn += message; }

TEST(DecodeWarningsTest, CollectThisThreadsMessagesPassOnOtherThreadsAndPutTheHandlerBack) {
    const QtMessageHandler before = qInstallMessageHandler(passOn);
    auto warnings = std::make_unique<DecodeWarnings>();
    qWarning("mine");
    if (CapturesLibraryOutput()) std::fputs("one\ntwo\n", stderr);  // as a decoder library prints
    std::thread([] { qWarning("theirs"); }).join();
    EXPECT_EQ(warnings->text(), CapturesLibraryOutput() ? "mine; one; two" : "mine");
    warnings.reset();
    EXPECT_EQ(qInstallMessageHandler(before), passOn);
    EXPECT_EQ(g_passedOn, "theirs");
}

#ifndef _WIN32
TEST(LibraryOutputTest, WindowsOfTwoThreadsThatOverlapInAnyOrderGiveStandardErrorBack) {
    if (!CapturesLibraryOutput()) GTEST_SKIP() << "a sanitizer build leaves standard error alone";
    struct stat before {}, after {};
    ASSERT_EQ(::fstat(2, &before), 0);
    for (int round = 0; round < 1000; ++round) {
        std::atomic<int> ready{0};
        auto window = [&ready] { for (++ready; ready < 2;) std::this_thread::yield(); (void)LibraryOutput().finish(); };
        std::thread other(window);
        window();
        other.join();
        // Left capturing, the program would end in std::terminate: its reader thread still runs.
        ASSERT_TRUE(::fstat(2, &after) == 0 && after.st_dev == before.st_dev && after.st_ino == before.st_ino) << round;
    }
}

TEST_F(PictureLoaderTest, WhatDecoderLibrariesPrintGoesIntoTheMessageNotTheTerminal) {
    if (!CapturesLibraryOutput()) GTEST_SKIP() << "a sanitizer build prints decoder output as it is";
    std::string png = encoded(photo(64, 64), "PNG");
    png[png.find("IDAT") + 6] ^= 0x55;  // damaged pixel data in a file with every chunk
    const fs::path cut = file("damaged.png", png);

    const fs::path printed = m_folder / "stderr.txt";
    const int saved = ::dup(2);
    const int file = ::open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    const Result<convert::WorkingImage> loaded = LoadPicture(cut);
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    ASSERT_FALSE(loaded.ok());
    EXPECT_THAT(loaded.error().message, HasSubstr("(libpng error: IDAT: "));
    EXPECT_EQ(fs::file_size(printed), 0u);
}
#endif

TEST_F(PictureLoaderTest, PicturesTooTallOrTooLargeToDecodeAreRefusedBeforeDecoding) {
    QImage tall(10, 40000, QImage::Format_Mono);
    tall.fill(1);
    const fs::path tallFile = file("tall.png", encoded(tall, "PNG"));
    const fs::path large = file("large.png", encoded(photo(1024, 1024), "PNG"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);  // megabytes: less than either picture needs; the height is told first
    const Result<convert::WorkingImage> tooTall = LoadPicture(tallFile);
    const Result<convert::WorkingImage> tooLarge = LoadPicture(large);
    QImageReader::setAllocationLimit(limit);
    ASSERT_FALSE(tooTall.ok());
    EXPECT_THAT(tooTall.error().message, ::testing::EndsWith("tall.png': the picture is 40000 pixels high; Moza converts pictures up to 32766 pixels high"));
    EXPECT_EQ(tooTall.error().kind, ErrorKind::PictureTooTall);
    EXPECT_EQ(tooTall.error().numbers, (ErrorNumbers{.limit = 32766, .height = 40000}));
    ASSERT_FALSE(tooLarge.ok());
    EXPECT_THAT(tooLarge.error().message, HasSubstr("(1024 x 1024 pixels) is too large to decode: it would need more than 1 MB of memory"));
}

}  // namespace
}  // namespace moza::picture
