// JpegRows: libjpeg-turbo's scanlines written as RGBX straight into the rows asked for; a warning
// or an error gives up, and the rest of the rows come from the usual decode.
#include "picture/jpeg_decoder.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <string>

#ifdef MOZA_WITH_LIBJPEG
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

}  // namespace

/// libjpeg's state for one file. Every call into libjpeg is made from a function that set
/// `errors.giveUp` and holds nothing that needs a destructor: libjpeg leaves through longjmp.
struct JpegRows::Decoder {
    jpeg_decompress_struct info;
    ErrorManager errors;
    std::FILE* file = nullptr;
    bool created = false;

    ~Decoder() {
        if (created) jpeg_destroy_decompress(&info);
        if (file != nullptr) std::fclose(file);
    }

    /// Reads the header and starts decoding; false when libjpeg gave up or the picture is not
    /// `width` x `height` pixels of three colours.
    bool start(int width, int height) {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = giveUp;
        errors.base.emit_message = onMessage;
        if (setjmp(errors.giveUp) != 0) return false;
        jpeg_create_decompress(&info);
        created = true;
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        // Qt's reader keeps libjpeg's defaults (accurate integer DCT, smooth upsampling) at its
        // default quality; only the output differs: four bytes a pixel instead of three.
        info.out_color_space = JCS_EXT_RGBX;
        jpeg_start_decompress(&info);
        return info.output_width == static_cast<JDIMENSION>(width) &&
               info.output_height == static_cast<JDIMENSION>(height) && info.output_components == 4;
    }

    /// Decodes the next rows.size() rows into `rows`, `width` pixels each, and reads on to the end
    /// marker after the last; false when libjpeg gave up.
    bool read(std::span<convert::ColorValue* const> rows, int width) {
        if (setjmp(errors.giveUp) != 0) return false;
        for (std::size_t done = 0; done < rows.size();) {
            const auto count = static_cast<JDIMENSION>(std::min<std::size_t>(rows.size() - done, 4));
            const JDIMENSION read = jpeg_read_scanlines(
                &info, reinterpret_cast<JSAMPARRAY>(const_cast<convert::ColorValue**>(&rows[done])), count);
            if (read == 0) return false;
            for (JDIMENSION r = 0; r < read; ++r) {
                // R, G, B, X in memory is 0xXXBBGGRR: the working image's 00BBGGRR once X is cleared.
                convert::ColorValue* pixels = rows[done + r];
                for (int x = 0; x < width; ++x) pixels[x] &= 0x00FFFFFFu;
            }
            done += read;
        }
        // The end marker is read too: a warning there gives up as well.
        if (info.output_scanline == info.output_height) jpeg_finish_decompress(&info);
        return true;
    }
};

bool DecodesJpegDirectly() { return std::endian::native == std::endian::little; }

std::unique_ptr<JpegRows> JpegRows::open(const std::filesystem::path& file, int width, int height,
                                         WholeDecode decodeWhole) {
    if (!DecodesJpegDirectly()) return nullptr;
    auto decoder = std::make_unique<Decoder>();
#ifdef _WIN32
    decoder->file = _wfopen(file.c_str(), L"rb");
#else
    decoder->file = std::fopen(file.c_str(), "rb");
#endif
    if (decoder->file == nullptr || !decoder->start(width, height)) return nullptr;
    return std::unique_ptr<JpegRows>(new JpegRows(std::move(decoder), width, height, std::move(decodeWhole)));
}

Status JpegRows::readRows(std::span<convert::ColorValue* const> rows) {
    if (m_decoder && !m_decoder->read(rows, m_width)) {
        m_decoder.reset();
        Result<convert::WorkingImage> whole = m_decodeWhole();
        if (!whole) return whole.error();
        if (whole.value().width() != m_width || whole.value().height() != m_height) {
            return Error{"the picture cannot be decoded: it is " + std::to_string(whole.value().width()) + " x " +
                             std::to_string(whole.value().height()) + " pixels, not the " + std::to_string(m_width) +
                             " x " + std::to_string(m_height) + " its header says",
                         ErrorKind::PictureUndecodable};
        }
        m_whole = std::move(whole).value();
    }
    if (m_whole) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const convert::ColorValue* row = m_whole->row(m_next + static_cast<int>(r));
            std::copy(row, row + m_width, rows[r]);
        }
    }
    m_next += static_cast<int>(rows.size());
    return success();
}

#else

struct JpegRows::Decoder {};

bool DecodesJpegDirectly() { return false; }

std::unique_ptr<JpegRows> JpegRows::open(const std::filesystem::path&, int, int, WholeDecode) { return nullptr; }

Status JpegRows::readRows(std::span<convert::ColorValue* const>) { return success(); }

#endif

JpegRows::JpegRows(std::unique_ptr<Decoder> decoder, int width, int height, WholeDecode decodeWhole)
    : m_decoder(std::move(decoder)), m_width(width), m_height(height), m_decodeWhole(std::move(decodeWhole)) {}

JpegRows::~JpegRows() = default;

}  // namespace moza::picture
