// GlyphMasks: the ink of each character of a page at one text size, as alpha masks, drawn once.
#pragma once

#include <QDeadlineTimer>
#include <QImage>
#include <QPoint>
#include <QRawFont>
#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/art/page_font.h"

namespace moza::ui {

/// One character's ink: coverage 0 to 255 per pixel, placed relative to the pen (its left edge
/// at x = 0, the baseline at y = 0). Empty for characters without ink.
struct GlyphMask {
    QImage alpha;  // Format_Alpha8
    QPoint offset;  // the image's top-left from the pen
};

/// The masks of a page's characters at one text size. With phases, every character has four
/// masks, its pen 0, 1/4, 1/2 and 3/4 of a pixel right of a whole pixel, as Chromium places text
/// at quarter pixels; without, one mask at a whole pixel. Masks are drawn when first asked for;
/// an object is used by one thread at a time, and may move between threads.
class GlyphMasks {
public:
    static constexpr int kPhases = 4;

    /// Masks of `texts` at `pixelSize` pixels; `hinted` as GlyphRawFont.
    GlyphMasks(std::shared_ptr<const std::vector<QString>> texts, double pixelSize, bool phases, bool hinted = true);
    /// The masks drawn so far, with a font of the copy's own, so the copy may go to another thread.
    GlyphMasks(const GlyphMasks& other);
    GlyphMasks& operator=(const GlyphMasks&) = delete;

    /// The mask of character `glyph` (an index into the texts) with its pen `phase` quarters
    /// right (0 without phases).
    const GlyphMask& mask(int glyph, int phase = 0);
    /// Whether the mask of `glyph` at `phase` has been drawn.
    bool isDrawn(int glyph, int phase = 0) const { return m_drawn[slotOf(glyph, phase)] != 0; }
    /// Draws every mask (phase 0 only, or all phases) now; stops early, returning false, once
    /// `stop` (when given) is set.
    bool drawAll(bool allPhases, const std::atomic<bool>* stop = nullptr);
    /// Draws the masks of `glyphs` with their pens `phase` quarters right now, stopping (between
    /// batches) once `deadline` has passed. Returns whether every one of them is drawn.
    bool draw(const std::vector<int>& glyphs, int phase = 0, QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

    double pixelSize() const { return m_pixelSize; }
    bool hasPhases() const { return m_phases; }
    /// Bytes the drawn masks take.
    std::size_t memoryBytes() const;
    /// Lets go of the font, which belongs to the thread that drew last: call it before the masks
    /// go to another thread.
    void releaseFont();

private:
    GlyphMask drawOne(const QString& text, int phase);
    /// The font at the masks' size, made on the thread that draws.
    const QRawFont& font();
    /// Draws the masks of `glyphs` at `phase`, many to a canvas, until `deadline`; returns
    /// whether it drew them all.
    bool drawBatch(const std::vector<int>& glyphs, int phase, QDeadlineTimer deadline);
    std::size_t slotOf(int glyph, int phase) const;

    std::shared_ptr<const std::vector<QString>> m_texts;
    double m_pixelSize;
    bool m_phases;
    bool m_hinted;
    QRawFont m_font;
    QThread* m_fontThread = nullptr;
    std::vector<GlyphMask> m_masks;
    std::vector<std::uint8_t> m_drawn;
};

}  // namespace moza::ui
