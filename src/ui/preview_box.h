// PreviewBox (sPic): the letterboxed 189 x 189 preview of the working image.
#pragma once

#include <QFrame>
#include <QImage>
#include <QRect>

#include "convert/working_image.h"

namespace moza::ui {

/// The side of the square preview area, in pixels, inside the box's border.
inline constexpr int kPreviewSize = 189;

/// The part of the preview square that a picture of `width` x `height` pixels covers: its longer
/// side spans the square, its shorter side is scaled by the same factor and centred, both
/// rounded to the nearest whole pixel with halves going to the even neighbour. Empty for a
/// picture without pixels, and for a band that rounds to no width or height.
QRect PreviewBand(int width, int height);

/// A picture box with a sunken border 2 pixels wide around a white 189 x 189 drawing area. It
/// keeps what was drawn into it until the next ShowPicture().
class PreviewBox : public QFrame {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent = nullptr);

    /// Clears the area to white, draws the whole of `picture` into its band and repaints at once.
    void ShowPicture(const convert::WorkingImage& picture);

    /// What the drawing area shows, 189 x 189 pixels.
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

}  // namespace moza::ui
