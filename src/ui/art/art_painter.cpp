// ArtPainter: visible cells blended from their masks, or their ink scaled smoothly into place.
#include "ui/art/art_painter.h"

#include <QDeadlineTimer>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "ui/art/art_page.h"
#include "ui/art/page_font.h"
#include "ui/art/glyph_masks.h"
#include "ui/art/ink_pyramid.h"

namespace moza::ui {
namespace {

/// Frame pixels of a page rectangle, rounded outwards.
QRect frameRect(const Placement& at, double left, double top, double width, double height) {
    const int x0 = static_cast<int>(std::floor(at.origin.x() + left * at.scale));
    const int y0 = static_cast<int>(std::floor(at.origin.y() + top * at.scale));
    const int x1 = static_cast<int>(std::ceil(at.origin.x() + (left + width) * at.scale));
    const int y1 = static_cast<int>(std::ceil(at.origin.y() + (top + height) * at.scale));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

int mixChannel(int under, int over, int alpha) { return under + ((over - under) * alpha + 127) / 255; }

/// Blends `mask` in `color` over `frame` with its top-left at (x, y), shifted right by `shift`
/// 256ths of a pixel (the mask then reaches one pixel further).
void blendMask(QImage& frame, const GlyphMask& mask, int x, int y, int shift, std::uint32_t color) {
    const int red = static_cast<int>((color >> 16) & 255u), green = static_cast<int>((color >> 8) & 255u),
              blue = static_cast<int>(color & 255u);
    const int width = mask.alpha.width();
    const int reach = width + (shift > 0 ? 1 : 0);
    const int mx0 = std::max(0, -x), mx1 = std::min(reach, frame.width() - x);
    const int my0 = std::max(0, -y), my1 = std::min(mask.alpha.height(), frame.height() - y);
    for (int my = my0; my < my1; ++my) {
        const uchar* alpha = mask.alpha.constScanLine(my);
        QRgb* out = reinterpret_cast<QRgb*>(frame.scanLine(y + my)) + x;
        for (int mx = mx0; mx < mx1; ++mx) {
            const int here = mx < width ? alpha[mx] : 0;
            const int a = shift == 0 ? here : (here * (256 - shift) + (mx > 0 ? alpha[mx - 1] : 0) * shift + 128) >> 8;
            if (a == 0) continue;
            const QRgb under = out[mx];
            out[mx] = qRgb(mixChannel(qRed(under), red, a), mixChannel(qGreen(under), green, a), mixChannel(qBlue(under), blue, a));
        }
    }
}

/// The cells, columns c0 to c1 and rows r0 to r1, that show in a frame area.
struct VisibleCells {
    int c0 = 0, c1 = -1, r0 = 0, r1 = -1;
    bool empty() const { return c1 < c0 || r1 < r0; }
};

/// The cells in `area`, with one cell of slack on each side (ink may reach into a neighbour).
VisibleCells visibleCells(const ArtLayout& layout, const Placement& at, QRect area) {
    if (layout.columns() == 0 || layout.rows == 0) return {};
    const double s = at.scale;
    const double left = (area.left() - at.origin.x()) / s - layout.tableLeft;
    const double right = (area.right() + 1 - at.origin.x()) / s - layout.tableLeft;
    const double top = (area.top() - at.origin.y()) / s - layout.tableTop;
    const double bottom = (area.bottom() + 1 - at.origin.y()) / s - layout.tableTop;
    VisibleCells cells;
    cells.c0 = std::max(0, layout.columnAt(left) - 1);
    cells.c1 = std::min(layout.columns() - 1, layout.columnAt(right) + 1);
    cells.r0 = static_cast<int>(std::clamp(std::floor(top / ArtLayout::kRowPitch) - 1, 0.0, layout.rows - 1.0));
    cells.r1 = static_cast<int>(std::clamp(std::floor(bottom / ArtLayout::kRowPitch) + 1, 0.0, layout.rows - 1.0));
    if (right < 0 || left > layout.tableWidth() || bottom < 0 || top > layout.tableHeight()) return {};
    return cells;
}

/// Where one cell's character is drawn.
struct GlyphPlace {
    int row = 0;
    int column = 0;
    int glyph = 0;
    int penX = 0;      // whole pixels
    int phase = 0;     // quarters of a pixel, with masks that have phases
    int shift = 0;     // 256ths of a pixel, with masks that have none
    int baseline = 0;
    std::uint32_t color = 0;
};

/// The visible cells that show a character, and where.
std::vector<GlyphPlace> placeGlyphs(const ArtPage& page, const Placement& at, QRect area, bool phases) {
    const ArtLayout& layout = page.layout;
    const VisibleCells cells = visibleCells(layout, at, area);
    std::vector<GlyphPlace> places;
    if (cells.empty()) return places;
    places.reserve(static_cast<std::size_t>(cells.c1 - cells.c0 + 1) * static_cast<std::size_t>(cells.r1 - cells.r0 + 1));
    for (int r = cells.r0; r <= cells.r1; ++r) {
        const double baseline = at.origin.y() + (layout.tableTop + r * ArtLayout::kRowPitch + ArtLayout::kBaseline) * at.scale;
        for (int c = cells.c0; c <= cells.c1; ++c) {
            const std::size_t i = page.grid.indexOf(r, c);
            const std::int32_t glyph = page.glyphOfCode[page.grid.codes[i]];
            if (glyph < 0) continue;
            GlyphPlace place{r, c, glyph, 0, 0, 0, static_cast<int>(std::lround(baseline)), page.grid.colors[i]};
            const double pen = at.origin.x() + (layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(c)]) * at.scale;
            if (phases) {
                // Chromium places text at the nearest quarter pixel.
                const long quarters = std::lround(pen * GlyphMasks::kPhases);
                place.penX = static_cast<int>(std::floor(static_cast<double>(quarters) / GlyphMasks::kPhases));
                place.phase = static_cast<int>(quarters - static_cast<long>(place.penX) * GlyphMasks::kPhases);
            } else {
                place.penX = static_cast<int>(std::floor(pen));
                place.shift = static_cast<int>(std::lround((pen - place.penX) * 256));
                if (place.shift == 256) {
                    ++place.penX;
                    place.shift = 0;
                }
            }
            places.push_back(place);
        }
    }
    return places;
}

/// Fills a cell with its ink in thirds: how a character whose mask is not drawn yet shows meanwhile.
void paintCellInk(QImage& frame, const ArtPage& page, const Placement& at, const GlyphPlace& place) {
    const ArtLayout& layout = page.layout;
    const double left = at.origin.x() + (layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(place.column)]) * at.scale;
    const double width = (layout.columnLefts[static_cast<std::size_t>(place.column) + 1] -
                          layout.columnLefts[static_cast<std::size_t>(place.column)]) * at.scale;
    const double top = at.origin.y() + (layout.tableTop + place.row * ArtLayout::kRowPitch) * at.scale;
    const double height = ArtLayout::kRowPitch * at.scale;
    const InkCoverage& ink = page.coverage[static_cast<std::size_t>(place.glyph)];
    for (int part = 0; part < 9; ++part) {
        const int x0 = std::max(0, static_cast<int>(std::lround(left + width * (part % 3) / 3)));
        const int x1 = std::min(frame.width(), static_cast<int>(std::lround(left + width * (part % 3 + 1) / 3)));
        const int y0 = std::max(0, static_cast<int>(std::lround(top + height * (part / 3) / 3)));
        const int y1 = std::min(frame.height(), static_cast<int>(std::lround(top + height * (part / 3 + 1) / 3)));
        const QRgb color = Inked(place.color, ink[static_cast<std::size_t>(part)]);
        for (int y = y0; y < y1; ++y) std::fill_n(reinterpret_cast<QRgb*>(frame.scanLine(y)) + x0, std::max(0, x1 - x0), color);
    }
}

/// Draws the visible cells from their masks, drawing the masks not drawn yet together first, for
/// at most `budget`; cells still without a mask show their ink. Returns whether every cell
/// showed its character.
bool paintGlyphs(QImage& frame, const ArtPage& page, const Placement& at, GlyphMasks& masks,
                 std::chrono::milliseconds budget) {
    const std::vector<GlyphPlace> places = placeGlyphs(page, at, frame.rect(), masks.hasPhases());
    std::vector<int> missing[GlyphMasks::kPhases];
    for (const GlyphPlace& place : places) {
        if (!masks.isDrawn(place.glyph, place.phase)) missing[place.phase].push_back(place.glyph);
    }
    const QDeadlineTimer deadline(budget);
    bool complete = true;
    for (int phase = 0; phase < GlyphMasks::kPhases; ++phase) {
        std::vector<int>& glyphs = missing[phase];
        if (glyphs.empty()) continue;
        std::sort(glyphs.begin(), glyphs.end());
        glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());
        complete = masks.draw(glyphs, phase, deadline) && complete;
    }
    for (const GlyphPlace& place : places) {
        if (!masks.isDrawn(place.glyph, place.phase)) {
            paintCellInk(frame, page, at, place);
            continue;
        }
        const GlyphMask& mask = masks.mask(place.glyph, place.phase);
        if (mask.alpha.isNull()) continue;
        blendMask(frame, mask, place.penX + mask.offset.x(), place.baseline + mask.offset.y(), place.shift, place.color);
    }
    return complete;
}

/// Draws the table from the ink level that suits the zoom, smoothly scaled.
void paintInk(QPainter& painter, const ArtPage& page, const Placement& at, QRect tableArea) {
    const InkPyramid& ink = page.ink;
    if (ink.levels() == 0) return;
    const ArtLayout& layout = page.layout;
    const double baseWidth = ink.level(0).width();
    const double devicePerBase = layout.tableWidth() * at.scale / baseWidth;
    const int level = ink.levelFor(devicePerBase);
    const QImage& image = ink.level(level);
    const double levelScale = std::exp2(-level);  // level pixels per level-0 pixel
    const QRectF table(at.origin.x() + layout.tableLeft * at.scale, at.origin.y() + layout.tableTop * at.scale,
                       layout.tableWidth() * at.scale, layout.tableHeight() * at.scale);
    const QRectF target = QRectF(tableArea).intersected(table);
    if (target.isEmpty()) return;
    const double perDeviceX = baseWidth * levelScale / table.width();
    const double perDeviceY = ink.level(0).height() * levelScale / table.height();
    const QRectF source((target.left() - table.left()) * perDeviceX, (target.top() - table.top()) * perDeviceY,
                        target.width() * perDeviceX, target.height() * perDeviceY);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image, source);
}

}  // namespace

void ArtPainter::paintQuotes(QPainter& painter, const ArtPage& page, const Placement& at) {
    const double pixelSize = ArtLayout::kQuotePixels * at.scale;
    if (!m_quoteFont.isValid() || m_quoteFont.pixelSize() != pixelSize) m_quoteFont = GlyphRawFont(pixelSize);
    painter.setPen(Qt::black);
    const double x = at.origin.x() + ArtLayout::kMargin * at.scale;
    for (const double lineTop : {ArtLayout::kMargin, page.layout.closingQuoteTop()}) {
        const double baseline = std::round(at.origin.y() + (lineTop + ArtLayout::kQuoteBaseline) * at.scale);
        DrawCellText(painter, QPointF(x, baseline), QStringLiteral("\""), m_quoteFont);
    }
}

QImage NewFrame(QSize size) { return QImage(size, QImage::Format_RGB32); }

bool ArtPainter::paint(QImage& frame, const ArtPage& page, const Placement& at, GlyphMasks* masks) {
    frame.fill(kSurroundColor);
    const QRect pageArea = frameRect(at, 0, 0, page.layout.pageWidth(), page.layout.pageHeight()).intersected(frame.rect());
    if (pageArea.isEmpty()) return true;
    const bool glyphs = masks != nullptr && at.scale >= kGlyphScale;
    {
        QPainter painter(&frame);
        painter.fillRect(pageArea, Qt::white);
        paintQuotes(painter, page, at);
        const double cellPixels = page.layout.columns() > 0 ? page.layout.tableWidth() / page.layout.columns() * at.scale : 0;
        if (!glyphs && cellPixels >= kInkDetailPixels) {
            paintInkDetail(painter, page, at, frame.rect());
        } else if (!glyphs) {
            paintInk(painter, page, at, frame.rect());
        }
    }
    return glyphs ? paintGlyphs(frame, page, at, *masks, m_maskBudget) : true;
}

void ArtPainter::paintInkDetail(QPainter& painter, const ArtPage& page, const Placement& at, QRect area) {
    const VisibleCells cells = visibleCells(page.layout, at, area);
    if (cells.empty()) return;
    const int columns = cells.c1 - cells.c0 + 1;
    const int rows = cells.r1 - cells.r0 + 1;
    const QSize size(3 * columns, 3 * rows);
    if (m_inkDetail.width() < size.width() || m_inkDetail.height() < size.height()) {
        m_inkDetail = QImage(size.expandedTo(m_inkDetail.size()), QImage::Format_RGB32);
    }
    static const InkCoverage kBlank{};
    for (int r = 0; r < rows; ++r) {
        QRgb* lines[3];
        for (int dy = 0; dy < 3; ++dy) lines[dy] = reinterpret_cast<QRgb*>(m_inkDetail.scanLine(3 * r + dy));
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = page.grid.indexOf(cells.r0 + r, cells.c0 + c);
            const std::int32_t glyph = page.glyphOfCode[page.grid.codes[i]];
            const InkCoverage& ink = glyph < 0 ? kBlank : page.coverage[static_cast<std::size_t>(glyph)];
            for (int part = 0; part < 9; ++part) {
                lines[part / 3][3 * c + part % 3] = Inked(page.grid.colors[i], ink[static_cast<std::size_t>(part)]);
            }
        }
    }
    const ArtLayout& layout = page.layout;
    const double left = layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(cells.c0)];
    const double right = layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(cells.c1 + 1)];
    const double top = layout.tableTop + cells.r0 * ArtLayout::kRowPitch;
    const QRectF target(at.origin.x() + left * at.scale, at.origin.y() + top * at.scale, (right - left) * at.scale,
                        rows * ArtLayout::kRowPitch * at.scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, m_inkDetail, QRectF(QPointF(0, 0), QSizeF(size)));
}

}  // namespace moza::ui
