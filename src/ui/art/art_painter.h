// Drawing a page into a frame at any zoom: surround, white page, quotes, and the table as characters or ink.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRawFont>
#include <chrono>

namespace moza::ui {

struct ArtPage;
class GlyphMasks;

/// From this zoom up (frame pixels per page pixel) the table is drawn character by character;
/// below it, each cell is too small to show its character and the table is drawn as ink.
inline constexpr double kGlyphScale = 0.5;
/// Cells at least this many frame pixels wide show their ink in thirds (the glyph's 3 x 3
/// coverage); smaller ones are drawn from the ink pyramid, one pixel per cell.
inline constexpr double kInkDetailPixels = 1.5;

/// Frame time given to drawing masks that are not drawn yet; the rest come in the next frames.
inline constexpr std::chrono::milliseconds kMaskBudget(5);

/// The colour around the page.
inline constexpr QRgb kSurroundColor = 0xFF808080;

/// Where a page lands in a frame.
struct Placement {
    double scale = 1.0;  // frame pixels per page pixel
    QPoint origin;       // the frame pixel of the page's top-left corner
};

/// A frame image of `size` pixels.
QImage NewFrame(QSize size);

/// Draws pages into frames, keeping the memory it needs for that between frames.
class ArtPainter {
public:
    explicit ArtPainter(std::chrono::milliseconds maskBudget = kMaskBudget) : m_maskBudget(maskBudget) {}

    /// Draws `page` into `frame` at `placement`: the surround, the white page, its two quotes, and
    /// the visible part of the table. At kGlyphScale and above the cells are drawn from `masks`,
    /// whose text size must be the page's at placement.scale (exact quarter-pixel pens when the
    /// masks have phases, smoothly shifted masks otherwise); below, as ink. A frame draws missing
    /// masks for `maskBudget` only, showing the ink of cells it has none for yet: returns
    /// false then, and the next frame goes on.
    bool paint(QImage& frame, const ArtPage& page, const Placement& placement, GlyphMasks* masks);

private:
    /// The opening quote above the table and the closing one below it, in the body's 16-pixel text.
    void paintQuotes(QPainter& painter, const ArtPage& page, const Placement& placement);
    void paintInkDetail(QPainter& painter, const ArtPage& page, const Placement& placement, QRect area);

    QImage m_inkDetail;  // the visible cells' ink in thirds, reused from frame to frame
    QRawFont m_quoteFont;
    std::chrono::milliseconds m_maskBudget;
};

}  // namespace moza::ui
