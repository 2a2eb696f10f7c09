// The art view as the user sees it: its frames against a downscale of the page's own cells, and
// zooming about the pointer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>

#include "ui/art/art_pages.h"
#include "ui/art/art_view.h"
#include "ui/art/glyph_masks.h"

namespace moza::ui::testing {
namespace {

/// 300 rows of 400 cells, colours in smooth gradients, characters whose ink is a horizontal bar
/// (ー), a vertical bar (｜) or a whole character (亜) in turn along the diagonals.
const LoadedArtPage& largePage() {
    static const LoadedArtPage page = LoadedPage(300, 400, [](int r, int c) {
        constexpr std::uint16_t kCodes[] = {0x815B, 0x8162, 0x88A0};
        return Cell{kCodes[(r + c) % 3],
                    static_cast<std::uint32_t>((c * 255 / 400) << 16 | (r * 255 / 300) << 8 | 0x60)};
    });
    return page;
}

/// How the page looks at page point (x, y) from afar: the surround, the white page (the quotes
/// left out), or a cell's colour mixed with white by its character's ink in that ninth of the cell.
QRgb seenAt(const ArtPage& page, double x, double y) {
    const ArtLayout& layout = page.layout;
    if (x < 0 || y < 0 || x >= layout.pageWidth() || y >= layout.pageHeight()) return kSurroundColor;
    const double tx = x - layout.tableLeft, ty = y - layout.tableTop;
    if (tx < 0 || ty < 0 || tx >= layout.tableWidth() || ty >= layout.tableHeight()) return qRgb(255, 255, 255);
    const int column = layout.columnAt(tx), row = static_cast<int>(ty / ArtLayout::kRowPitch);
    const std::size_t cell = page.grid.indexOf(row, column);
    const InkCoverage& ink = page.coverage[static_cast<std::size_t>(page.glyphOfCode[page.grid.codes[cell]])];
    const double left = layout.columnLefts[static_cast<std::size_t>(column)];
    const double width = layout.columnLefts[static_cast<std::size_t>(column) + 1] - left;
    const int part = 3 * static_cast<int>(3 * (ty - row * ArtLayout::kRowPitch) / ArtLayout::kRowPitch) +
                     static_cast<int>(3 * (tx - left) / width);
    return Inked(page.grid.colors[cell], ink[static_cast<std::size_t>(part)]);
}

/// The mean difference per colour channel between `frame` and the page drawn at `scale` with
/// its top-left corner at frame pixel `origin`, each frame pixel the mean of 12 x 12 points.
double meanDifference(const QImage& frame, const ArtPage& page, double scale, QPointF origin) {
    constexpr int kPoints = 12;
    double sum = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            int red = 0, green = 0, blue = 0;
            for (int i = 0; i < kPoints * kPoints; ++i) {
                const QPointF point =
                    (QPointF(x + (i % kPoints + 0.5) / kPoints, y + (i / kPoints + 0.5) / kPoints) - origin) / scale;
                const QRgb seen = seenAt(page, point.x(), point.y());
                red += qRed(seen), green += qGreen(seen), blue += qBlue(seen);
            }
            const QRgb drawn = frame.pixel(x, y);
            sum += std::abs(qRed(drawn) - red / kPoints / kPoints) +
                   std::abs(qGreen(drawn) - green / kPoints / kPoints) +
                   std::abs(qBlue(drawn) - blue / kPoints / kPoints);
        }
    return sum / (3.0 * frame.width() * frame.height());
}

class ArtViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_view.resize(160, 120);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        ASSERT_TRUE(largePage().page);
        m_view.showPage(largePage());
    }
    /// The page as the view shows it (without what the view may draw over it, such as its focus).
    QImage frame() {
        QImage frame = NewFrame(m_view.viewport()->size());
        ArtPainter().paint(frame, *largePage().page, {m_view.scale(), -m_view.scrollPosition()}, nullptr);
        return frame;
    }

    /// Turns the wheel `angle` eighths of a degree (a notch is 120) with Ctrl held, at `pointer`.
    void ctrlWheel(QPointF pointer, int angle) {
        QWheelEvent wheel(pointer, m_view.viewport()->mapToGlobal(pointer), {}, {0, angle}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view.viewport(), &wheel);
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at) {
        QMouseEvent event(type, at, m_view.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_view.viewport(), &event);
    }

    ArtView m_view;
};

TEST_F(ArtViewTest, FittedViewShowsTheWholePageCentredAsItsCellsLookFromAfar) {
    const ArtPage& page = *largePage().page;
    const double scale = std::min(160 / page.layout.pageWidth(), 120 / page.layout.pageHeight());
    const double height = std::floor(page.layout.pageHeight() * scale);
    // 2.3 as drawn; 16.9 with the drawing in a quarter of the view.
    EXPECT_LT(meanDifference(frame(), page, scale, {0, std::floor((120 - height) / 2)}), 4.0);
}

TEST_F(ArtViewTest, MidZoomShowsEachCellsInkInNinths) {
    constexpr double kScale = 0.46875;  // a cell 5 pixels wide: too small for its character
    m_view.zoomTo(kScale, {80, 60});
    // 3.2 as drawn; 9.5 with the ninths transposed.
    EXPECT_LT(meanDifference(frame(), *largePage().page, kScale, -QPointF(m_view.scrollPosition())), 5.0);
    for (const QSize size : {QSize(160, 120), QSize(100, 200)}) {  // the screen shows that frame, also taller
        m_view.resize(size);
        const QImage shown = m_view.viewport()->grab().toImage(), drawn = frame();
        int differing = 0;  // clear of the focus mark round the edge and the zoom figure at the bottom
        for (int y = 4; y < shown.height() - 32; ++y)
            for (int x = 4; x < shown.width() - 4; ++x) differing += shown.pixel(x, y) != drawn.pixel(x, y);
        EXPECT_EQ(differing, 0) << size.width() << " x " << size.height();
    }
    m_view.setFocus();
    const QImage shown = m_view.viewport()->grab().toImage(), drawn = frame();
    const int w = shown.width(), h = shown.height();
    for (const QPoint edge : {QPoint(1, h / 2), QPoint(w - 2, h / 2), QPoint(w / 2, 1), QPoint(w / 2, h - 2)})
        EXPECT_EQ(shown.pixel(edge), m_view.palette().color(QPalette::Highlight).rgb());  // a focus mark 2 pixels wide
    for (const QPoint at : {QPoint(w - 8, h - 14), QPoint(w - 14, h - 8), QPoint(w - 7, h - 14), QPoint(w - 14, h - 7)})
        EXPECT_EQ(shown.pixel(at) != drawn.pixel(at), at.x() == w - 8 || at.y() == h - 8);  // the figure 7 pixels in
}

TEST_F(ArtViewTest, CellsStillWithoutTheirMasksShowTheirInkInNinths) {
    // The table's bottom right corner in view, the white page below it from row 100 on.
    const ArtPage& page = *largePage().page;
    const QPoint corner(140 - static_cast<int>(page.layout.pageWidth()),
                        100 - static_cast<int>(page.layout.tableTop + page.layout.tableHeight()));
    GlyphMasks masks(page.texts, ArtLayout::kGlyphPixels, true);
    QImage frame = NewFrame({160, 120});
    EXPECT_FALSE(ArtPainter(std::chrono::milliseconds(0)).paint(frame, page, {1.0, corner}, &masks));
    EXPECT_LT(meanDifference(frame, page, 1.0, corner), 1.5);  // 0.87 as drawn; 3.0 with the ninths misplaced
    for (int x = 0; x < 140; ++x) ASSERT_EQ(frame.pixel(x, 100), qRgb(255, 255, 255)) << x;  // no ninth reaches it
}

TEST_F(ArtViewTest, CtrlWheelZoomsAboutThePointer) {
    const struct {
        double scale;
        int notches;
        QPointF pointer;
    } cases[] = {
        // notches away from the user zoom in
        {0.25, 1, {0, 0}},    {0.25, -2, {140, 100}}, {1.0, 1, {37.5, 91}},
        {1.0, -1, {130, 17}}, {4.0, 2, {120, 50}},    {16.0, -1, {5, 99}},
    };
    for (const auto& c : cases) {
        m_view.zoomTo(c.scale, {80, 60});
        const QPointF before = (QPointF(m_view.scrollPosition()) + c.pointer) / m_view.scale();
        ctrlWheel(c.pointer, 120 * c.notches);
        EXPECT_NEAR(m_view.scale(), c.scale * std::exp2(c.notches / 4.0), 1e-9) << c.scale << " " << c.notches;
        const QPointF after = (QPointF(m_view.scrollPosition()) + c.pointer) / m_view.scale();
        EXPECT_LE((after - before).manhattanLength(), 1.0 / m_view.scale()) << c.scale << " " << c.notches;
    }
}

TEST_F(ArtViewTest, PartsOfANotchGatherIntoOneZoomStep) {
    const double fitted = m_view.scale();
    ctrlWheel({80, 60}, 60);
    EXPECT_TRUE(m_view.isFitted());  // half a notch: still fitted, following the view's size
    ctrlWheel({80, 60}, 60);
    EXPECT_GT(m_view.scale(), fitted);
    QTest::keyClick(&m_view, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(m_view.scale(), 1.0);
}

TEST_F(ArtViewTest, HomeAndLeftButtonDragsPan) {
    m_view.zoomTo(1.0, {80, 60});
    QTest::keyClick(&m_view, Qt::Key_Home);
    EXPECT_EQ(m_view.scrollPosition(), QPoint(0, 0));  // its left column and top row in view
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {100, 80});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {70, 50});
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {70, 50});
    EXPECT_EQ(m_view.scrollPosition(), QPoint(30, 30));
    mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {100, 80});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, {60, 40});
    EXPECT_EQ(m_view.scrollPosition(), QPoint(30, 30));  // only the left button drags
    QSignalSpy opened(&m_view, &ArtView::doubleClicked);
    mouse(QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, {50, 50});
    EXPECT_EQ(opened.count(), 0);  // only the left button's double-click opens the viewer window
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {50, 50});
    EXPECT_EQ(opened.count(), 1);
    QTest::keyClick(&m_view, Qt::Key_PageDown);
    EXPECT_GT(m_view.scrollPosition().y(), 30);  // other keys scroll as ever
}

}  // namespace
}  // namespace moza::ui::testing
