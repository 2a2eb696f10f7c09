// libFuzzer target: the picture loader on any bytes, as a picture file of each format would be
// read (the completeness checks, the decoders behind them, the working image).
#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "picture/picture_loader.h"

namespace {

std::string g_file;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);  // Qt finds its image format plugins through it
    // A file in memory where the system has such a folder: the loader reads files by name.
    const QString folder = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    g_file = (folder + QStringLiteral("/moza-picture-fuzz-%1").arg(QCoreApplication::applicationPid())).toStdString();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each format's reader is chosen by the content; the name's suffix only breaks ties.
    std::ofstream(g_file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    const moza::Result<moza::convert::WorkingImage> loaded = moza::picture::LoadPicture(g_file);
    if (loaded) {
        const moza::convert::WorkingImage& image = loaded.value();
        // Every pixel is readable and was written by the decoder or the white fill.
        volatile std::uint32_t sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) sum = sum + image.pixel(x, y);
    }
    return 0;
}
