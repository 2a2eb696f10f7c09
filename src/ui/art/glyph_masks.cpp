// GlyphMasks: characters drawn with the page font into alpha images cut to their ink, many to a canvas.
#include "ui/art/glyph_masks.h"

#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cassert>
#include <cmath>

namespace moza::ui {
namespace {

/// Masks are drawn many at a time, in slots on one canvas, up to this text size.
constexpr double kLargestBatchedSize = 32.0;
constexpr int kSlotsAcross = 16;
constexpr int kSlotsDown = 2;

/// The smallest rectangle in `area` of `image` holding every pixel with some alpha; empty when
/// none has.
QRect inkBounds(const QImage& image, const QRect& area) {
    int left = area.right() + 1;
    int right = -1;
    int top = area.bottom() + 1;
    int bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

GlyphMasks::GlyphMasks(std::shared_ptr<const std::vector<QString>> texts, double pixelSize, bool phases, bool hinted)
    : m_texts(std::move(texts)),
      m_pixelSize(pixelSize),
      m_phases(phases),
      m_hinted(hinted) {
    const std::size_t count = m_texts->size() * static_cast<std::size_t>(phases ? kPhases : 1);
    m_masks.resize(count);
    m_drawn.assign(count, 0);
}

GlyphMasks::GlyphMasks(const GlyphMasks& other)
    : m_texts(other.m_texts),
      m_pixelSize(other.m_pixelSize),
      m_phases(other.m_phases),
      m_hinted(other.m_hinted),
      m_masks(other.m_masks),
      m_drawn(other.m_drawn) {}

const GlyphMask& GlyphMasks::mask(int glyph, int phase) {
    assert(glyph >= 0 && static_cast<std::size_t>(glyph) < m_texts->size());
    const std::size_t at = slotOf(glyph, phase);
    if (m_drawn[at] == 0) {
        m_masks[at] = drawOne((*m_texts)[static_cast<std::size_t>(glyph)], m_phases ? phase : 0);
        m_drawn[at] = 1;
    }
    return m_masks[at];
}

bool GlyphMasks::drawAll(bool allPhases, const std::atomic<bool>* stop) {
    constexpr std::size_t kChunk = 256;  // glyphs between looks at `stop`
    const int phases = m_phases && allPhases ? kPhases : 1;
    for (int phase = 0; phase < phases; ++phase) {
        for (std::size_t first = 0; first < m_texts->size(); first += kChunk) {
            if (stop != nullptr && stop->load()) return false;
            std::vector<int> glyphs(std::min(kChunk, m_texts->size() - first));
            for (std::size_t g = 0; g < glyphs.size(); ++g) glyphs[g] = static_cast<int>(first + g);
            draw(glyphs, phase);
        }
    }
    return true;
}

bool GlyphMasks::draw(const std::vector<int>& glyphs, int phase, QDeadlineTimer deadline) {
    std::vector<int> batch;
    for (const int glyph : glyphs) {
        if (m_drawn[slotOf(glyph, phase)] != 0) continue;
        // Short texts share a canvas; longer ones (bytes that are no character) go alone.
        if (m_pixelSize <= kLargestBatchedSize && (*m_texts)[static_cast<std::size_t>(glyph)].size() <= 2) {
            batch.push_back(glyph);
        } else if (!deadline.hasExpired()) {
            mask(glyph, phase);
        }
    }
    return drawBatch(batch, phase, deadline) && std::all_of(glyphs.begin(), glyphs.end(), [&](int glyph) {
               return m_drawn[slotOf(glyph, phase)] != 0;
           });
}

bool GlyphMasks::drawBatch(const std::vector<int>& glyphs, int phase, QDeadlineTimer deadline) {
    if (glyphs.empty()) return true;
    const int margin = static_cast<int>(std::ceil(m_pixelSize)) + 2;
    const QSize slot(static_cast<int>(std::ceil(m_pixelSize * 2.5)) + 2 * margin,
                     static_cast<int>(std::ceil(m_pixelSize * 1.5)) + 2 * margin);
    const std::size_t perCanvas = kSlotsAcross * kSlotsDown;
    const int rows = static_cast<int>(std::min<std::size_t>(kSlotsDown, (glyphs.size() + kSlotsAcross - 1) / kSlotsAcross));
    QImage canvas(slot.width() * kSlotsAcross, slot.height() * rows, QImage::Format_ARGB32_Premultiplied);
    for (std::size_t first = 0; first < glyphs.size(); first += perCanvas) {
        if (deadline.hasExpired()) return false;
        const std::size_t count = std::min(perCanvas, glyphs.size() - first);
        auto slotAt = [&](std::size_t i) {
            return QPoint(static_cast<int>(i % kSlotsAcross) * slot.width(), static_cast<int>(i / kSlotsAcross) * slot.height());
        };
        const QPoint pen(margin, margin + static_cast<int>(std::ceil(m_pixelSize)));
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            painter.setPen(Qt::black);
            for (std::size_t i = 0; i < count; ++i) {
                const QPointF at = QPointF(slotAt(i) + pen) + QPointF(phase / static_cast<double>(kPhases), 0);
                DrawCellText(painter, at, (*m_texts)[static_cast<std::size_t>(glyphs[first + i])], font());
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            const QRect ink = inkBounds(canvas, QRect(slotAt(i), slot));
            const std::size_t at = slotOf(glyphs[first + i], phase);
            if (!ink.isEmpty()) m_masks[at] = {canvas.copy(ink).convertToFormat(QImage::Format_Alpha8), ink.topLeft() - slotAt(i) - pen};
            m_drawn[at] = 1;
        }
    }
    return true;
}

const QRawFont& GlyphMasks::font() {
    // A raw font belongs to the thread that made it (Qt's rule); masks may change threads.
    if (!m_font.isValid() || m_fontThread != QThread::currentThread()) {
        m_font = GlyphRawFont(m_pixelSize, m_hinted);
        m_fontThread = QThread::currentThread();
    }
    return m_font;
}

void GlyphMasks::releaseFont() {
    m_font = QRawFont();
    m_fontThread = nullptr;
}

std::size_t GlyphMasks::slotOf(int glyph, int phase) const {
    return static_cast<std::size_t>(glyph) * (m_phases ? kPhases : 1) + static_cast<std::size_t>(m_phases ? phase : 0);
}

std::size_t GlyphMasks::memoryBytes() const {
    std::size_t bytes = m_masks.size() * sizeof(GlyphMask);
    for (const GlyphMask& m : m_masks) bytes += static_cast<std::size_t>(m.alpha.sizeInBytes());
    return bytes;
}

GlyphMask GlyphMasks::drawOne(const QString& text, int phase) {
    if (text.isEmpty()) return {};
    // Room for the text and any ink that reaches past its cell (wide fallback characters).
    const int margin = static_cast<int>(std::ceil(m_pixelSize)) + 2;
    const int width = static_cast<int>(std::ceil(m_pixelSize * 1.25 * static_cast<double>(text.size()))) + 2 * margin;
    const int height = static_cast<int>(std::ceil(m_pixelSize * 1.5)) + 2 * margin;
    const QPoint pen(margin, margin + static_cast<int>(std::ceil(m_pixelSize)));
    QImage canvas(QSize(width, height), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setPen(Qt::black);
        DrawCellText(painter, QPointF(pen.x() + phase / static_cast<double>(kPhases), pen.y()), text, font());
    }
    const QRect ink = inkBounds(canvas, canvas.rect());
    if (ink.isEmpty()) return {};
    return {canvas.copy(ink).convertToFormat(QImage::Format_Alpha8), ink.topLeft() - pen};
}

}  // namespace moza::ui
