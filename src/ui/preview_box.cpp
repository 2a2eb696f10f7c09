// PreviewBox: band placement with round-half-even, and the scaled copy of the working image.
#include "ui/preview_box.h"

#include <QPainter>
#include <QtEndian>

#include <cmath>

namespace moza::ui {
namespace {

constexpr int kBorderWidth = 2;

/// Nearest whole number, halves to the even neighbour, whatever the floating-point rounding mode.
int roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
    return static_cast<int>(rounded);
}

/// The working image's pixels seen as a QImage, without copying them.
QImage viewOf(const convert::WorkingImage& picture) {
    const auto* bits = reinterpret_cast<const uchar*>(picture.row(0));
    const auto bytesPerLine = static_cast<qsizetype>(picture.stride()) * 4;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // 00BBGGRR in memory is the bytes R, G, B, 0.
    return QImage(bits, picture.width(), picture.height(), bytesPerLine, QImage::Format_RGBX8888);
#else
    // 0x00BBGGRR read as 0xAARRGGBB has red and blue exchanged.
    return QImage(bits, picture.width(), picture.height(), bytesPerLine, QImage::Format_RGB32).rgbSwapped();
#endif
}

}  // namespace

QRect PreviewBand(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const double w = width;
    const double h = height;
    QRect band;
    if (w >= h) {
        const double r = kPreviewSize / w;
        band = QRect(0, roundHalfEven((kPreviewSize - h * r) / 2), kPreviewSize, roundHalfEven(h * r));
    } else {
        const double r = kPreviewSize / h;
        band = QRect(roundHalfEven((kPreviewSize - w * r) / 2), 0, roundHalfEven(w * r), kPreviewSize);
    }
    return band.isEmpty() ? QRect() : band;
}

PreviewBox::PreviewBox(QWidget* parent)
    : QFrame(parent), m_image(kPreviewSize, kPreviewSize, QImage::Format_RGB32) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorderWidth);
    m_image.fill(Qt::white);
}

void PreviewBox::ShowPicture(const convert::WorkingImage& picture) {
    m_image.fill(Qt::white);
    const QRect band = PreviewBand(picture.width(), picture.height());
    if (!band.isEmpty()) {
        const QImage scaled =
            viewOf(picture).scaled(band.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&m_image);
        painter.drawImage(band.topLeft(), scaled);
    }
    repaint();
}

void PreviewBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_image);
}

}  // namespace moza::ui
