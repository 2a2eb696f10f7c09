// The artwork as a picture: sizes within the budget, the page drawn whole, the PNG written safely.
#include "ui/art/art_image.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "common/atomic_file_writer.h"
#include "convert/working_image.h"
#include "ui/art/art_painter.h"
#include "ui/art/glyph_masks.h"

namespace moza::ui {
namespace {

QSizeF pageSizeOf(const ArtPage& page) { return {page.layout.pageWidth(), page.layout.pageHeight()}; }

/// The width of the page's picture at `scale`, at least 1.
int widthAt(const ArtPage& page, double scale) {
    return std::max(1, static_cast<int>(std::floor(page.layout.pageWidth() * scale + 1e-6)));
}

}  // namespace

int ArtImageHeight(const ArtPage& page, int width) {
    const QSizeF size = pageSizeOf(page);
    return std::max(1, static_cast<int>(std::lround(size.height() * width / size.width())));
}

ArtImageSizes ArtImageSizesOf(const ArtPage& page) {
    const QSizeF size = pageSizeOf(page);
    ArtImageSizes sizes;
    sizes.actual = QSize(widthAt(page, 1.0), ArtImageHeight(page, widthAt(page, 1.0)));
    const double fitted = std::min({1.0, kDefaultArtImageSide / size.width(), kDefaultArtImageSide / size.height()});
    // The same budget as a picture's: a page's picture is never larger than a picture Moza reads.
    const double budget = std::sqrt(static_cast<double>(convert::kMaxPicturePixels) / (size.width() * size.height()));
    sizes.maxWidth = widthAt(page, std::min(1.0, budget));
    while (sizes.maxWidth > 1 &&
           std::int64_t{sizes.maxWidth} * ArtImageHeight(page, sizes.maxWidth) > convert::kMaxPicturePixels) {
        --sizes.maxWidth;  // the height rounds up now and then
    }
    const int standardWidth = std::min(widthAt(page, fitted), sizes.maxWidth);
    sizes.standard = QSize(standardWidth, ArtImageHeight(page, standardWidth));
    return sizes;
}

Result<QImage> DrawArtImage(const ArtPage& page, int width, const std::atomic<bool>* stop) {
    const ArtImageSizes sizes = ArtImageSizesOf(page);
    if (width < 1 || width > sizes.maxWidth) {
        return Error{"a picture of the page must be 1 to " + std::to_string(sizes.maxWidth) + " pixels wide, not " +
                     std::to_string(width)};
    }
    const QSize size(width, ArtImageHeight(page, width));
    QImage image = NewFrame(size);
    if (image.isNull()) {
        return Error{"not enough memory for a picture of " + std::to_string(size.width()) + " x " +
                         std::to_string(size.height()) + " pixels",
                     ErrorKind::OutOfMemory};
    }
    const double scale = static_cast<double>(width) / page.layout.pageWidth();
    // At 1:1 the characters sit at quarter pixels, as in a browser; at other sizes on whole ones.
    const bool actual = std::abs(scale - 1.0) < 1e-9;
    std::unique_ptr<GlyphMasks> masks;
    try {
        if (scale >= kGlyphScale) {
            masks = std::make_unique<GlyphMasks>(
                page.texts, actual ? ArtLayout::kGlyphPixels : ArtLayout::kGlyphPixels * scale, actual);
            if (!masks->drawAll(actual, stop)) return Error{""};
        }
        ArtPainter painter;
        // Every mask is drawn, so one frame shows every character; the loop is a guard only.
        while (!painter.paint(image, page, Placement{scale, QPoint(0, 0)}, masks.get())) {
            if (stop != nullptr && stop->load()) return Error{""};
        }
    } catch (const std::bad_alloc&) {
        return Error{"not enough memory to draw the characters of the page", ErrorKind::OutOfMemory};
    }
    if (stop != nullptr && stop->load()) return Error{""};
    return image;
}

Status WritePng(const QImage& image, const std::filesystem::path& file) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        return Error{"cannot write " + Quoted(file) + ": " + writer.errorString().toStdString()};
    }
    Result<AtomicFileWriter> out = AtomicFileWriter::open(file);
    if (!out) return out.error();
    out.value().write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return out.value().commit();
}

}  // namespace moza::ui
