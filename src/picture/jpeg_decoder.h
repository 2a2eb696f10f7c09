// JpegRows: the usual JPEG photo decoded by libjpeg-turbo row by row, as its page is made.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "convert/row_source.h"

namespace moza::picture {

/// Whether this build decodes JPEG files itself (with libjpeg-turbo) rather than through Qt.
bool DecodesJpegDirectly();

/// The rows of a JPEG file decoded by libjpeg-turbo with the settings Qt's JPEG reader uses, so
/// the pixels are the ones Qt would give, without Qt's intermediate 24-bit picture and its
/// conversion. For three-colour JPEGs only (Qt reads them as RGB32) whose EXIF orientation is
/// "normal": the caller checks that. When libjpeg warns about the data partway (a damaged file),
/// the rest of the rows come from `decodeWhole`, the file decoded the usual way (through Qt),
/// which says what is wrong with it, or gives the picture when Qt reads it whole after all; the
/// rows handed over before came from data read before the damage, so they are Qt's rows too.
class JpegRows : public convert::RowSource {
public:
    using WholeDecode = std::function<Result<convert::WorkingImage>()>;

    /// The rows of `file`, whose header says it is `width` x `height` pixels; nothing when this
    /// build has no decoder of its own, or libjpeg cannot start on the file or finds another size
    /// or kind of picture than the header promised (the caller then decodes it the usual way).
    static std::unique_ptr<JpegRows> open(const std::filesystem::path& file, int width, int height,
                                          WholeDecode decodeWhole);
    ~JpegRows() override;

    int width() const override { return m_width; }
    int height() const override { return m_height; }

protected:
    Status readRows(std::span<convert::ColorValue* const> rows) override;

private:
    struct Decoder;
    JpegRows(std::unique_ptr<Decoder> decoder, int width, int height, WholeDecode decodeWhole);

    std::unique_ptr<Decoder> m_decoder;  // null once given up
    int m_width;
    int m_height;
    int m_next = 0;  // the first row not handed over yet
    WholeDecode m_decodeWhole;
    std::optional<convert::WorkingImage> m_whole;  // the picture decoded the usual way, once libjpeg gave up
};

}  // namespace moza::picture
