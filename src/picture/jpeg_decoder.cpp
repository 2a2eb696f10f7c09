// DecodeCommonJpeg: libjpeg-turbo's scanlines written as RGBX straight into the working image's
// rows; any warning or error gives up, leaving the file to Qt.
#include "picture/jpeg_decoder.h"

#ifdef MOZA_WITH_LIBJPEG
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#endif

namespace moza::picture {

#if defined(MOZA_WITH_LIBJPEG) && defined(JCS_EXTENSIONS)

namespace {

/// libjpeg's error manager with the way back to the decoding function.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf giveUp;
};

[[noreturn]] void giveUp(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->giveUp, 1); }

/// Warnings (level -1: corrupt data) give up too; trace messages (level 0 and above) are ignored.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) giveUp(info);
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

/// Decodes into `image`; false when libjpeg gave up or the picture is not what the header said.
/// Nothing here may need a destructor: libjpeg leaves through longjmp.
bool decodeInto(std::FILE* file, convert::WorkingImage& image) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = giveUp;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.giveUp) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // Qt's reader keeps libjpeg's defaults (accurate integer DCT, smooth upsampling) at its
    // default quality; only the output differs: four bytes a pixel instead of three.
    info.out_color_space = JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    const bool sameSize = info.output_width == static_cast<JDIMENSION>(image.width()) &&
                          info.output_height == static_cast<JDIMENSION>(image.height()) && info.output_components == 4;
    while (sameSize && info.output_scanline < info.output_height) {
        const auto y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[4];
        JDIMENSION count = 0;
        for (; count < 4 && y + static_cast<int>(count) < image.height(); ++count) {
            rows[count] = reinterpret_cast<JSAMPROW>(image.row(y + static_cast<int>(count)));
        }
        const JDIMENSION read = jpeg_read_scanlines(&info, rows, count);
        const int width = image.width();  // held here: the pixels may alias it, and the loop then stays scalar
        for (JDIMENSION r = 0; r < read; ++r) {
            // R, G, B, X in memory is 0xXXBBGGRR: the working image's 00BBGGRR once X is cleared.
            convert::ColorValue* pixels = image.row(y + static_cast<int>(r));
            for (int x = 0; x < width; ++x) pixels[x] &= 0x00FFFFFFu;
        }
        if (read == 0) break;
    }
    const bool whole = sameSize && info.output_scanline == info.output_height;
    if (whole) jpeg_finish_decompress(&info);  // reads to the end marker: a warning there gives up too
    jpeg_destroy_decompress(&info);
    return whole;
}

}  // namespace

bool DecodesJpegDirectly() { return std::endian::native == std::endian::little; }

std::optional<convert::WorkingImage> DecodeCommonJpeg(const std::filesystem::path& file, int width, int height) {
    if (!DecodesJpegDirectly()) return std::nullopt;
#ifdef _WIN32
    const std::unique_ptr<std::FILE, FileCloser> opened(_wfopen(file.c_str(), L"rb"));
#else
    const std::unique_ptr<std::FILE, FileCloser> opened(std::fopen(file.c_str(), "rb"));
#endif
    if (!opened) return std::nullopt;
    Result<convert::WorkingImage> image = convert::WorkingImage::create(width, height);
    if (!image || !decodeInto(opened.get(), image.value())) return std::nullopt;
    return std::move(image).value();
}

#else

bool DecodesJpegDirectly() { return false; }

std::optional<convert::WorkingImage> DecodeCommonJpeg(const std::filesystem::path&, int, int) { return std::nullopt; }

#endif

}  // namespace moza::picture
