// The art view in the main window: a made page shows fitted, and the View menu takes it to the
// browser engine, to the start page and back.
#include <QSignalSpy>

#include "frm_main_fixture.h"
#include "ui/art_view.h"
#include "ui/zoom.h"

namespace moza::ui::testing {
namespace {

class ArtViewTest : public FrmMainTest {};

/// A 90 x 60 picture, black on the left half, white on the right.
QImage halfBlack() {
    QImage image(90, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 45; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

TEST_F(ArtViewTest, AMadePageShowsFittedAndTheViewMenuSwitchesToTheBrowserEngineAndBack) {
    createWindow();
    m_window->show();
    openThroughDialog(writePicture("half.png", halfBlack()));
    QSignalSpy shown(view(), &PageView::pageShown);
    make(QStringLiteral("half"));
    ASSERT_TRUE(shown.count() > 0 || shown.wait(10000));
    const std::string bytes = ReadBytes(m_window->outputPath());

    ArtView* art = view()->artView();
    ASSERT_EQ(view()->currentWidget(), art);
    ASSERT_NE(art->page(), nullptr);
    EXPECT_EQ(art->page()->grid.cellCount(), 30u * 20u);
    EXPECT_TRUE(art->isFitted());
    const ArtLayout& layout = art->page()->layout;
    const QSize zoomed = zoom::ZoomedSize({layout.pageWidth(), layout.pageHeight()}, art->scale());
    const QSize viewport = art->viewport()->size();
    EXPECT_TRUE(zoomed.width() == viewport.width() || zoomed.height() == viewport.height());
    EXPECT_TRUE(zoomed.width() <= viewport.width() && zoomed.height() <= viewport.height());
    // The black half is drawn in ink (あ in black), the white half stays white ("A" in white).
    const QImage shot = art->viewport()->grab().toImage();
    auto meanGray = [&](double from, double to) {  // over a band of the table's width, its middle rows
        const QPointF origin = -QPointF(art->scrollPosition());
        const int x0 = static_cast<int>(origin.x() + (layout.tableLeft + from * layout.tableWidth()) * art->scale());
        const int x1 = static_cast<int>(origin.x() + (layout.tableLeft + to * layout.tableWidth()) * art->scale());
        const int y0 = static_cast<int>(origin.y() + (layout.tableTop + 0.25 * layout.tableHeight()) * art->scale());
        const int y1 = static_cast<int>(origin.y() + (layout.tableTop + 0.75 * layout.tableHeight()) * art->scale());
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) sum += qGray(shot.pixel(x, y));
        return sum / ((x1 - x0) * (y1 - y0));
    };
    EXPECT_LT(meanGray(0.1, 0.4), 200);
    EXPECT_EQ(meanGray(0.6, 0.9), 255);

    QAction* inBrowser = action("MN_VIEW_BROWSER");
    ASSERT_TRUE(inBrowser->isEnabled());
    EXPECT_FALSE(inBrowser->isChecked());
    QSignalSpy loaded(view()->browser(), &QWebEngineView::loadFinished);
    inBrowser->trigger();
    EXPECT_TRUE(inBrowser->isChecked());
    EXPECT_EQ(view()->currentWidget(), view()->browser());
    ASSERT_TRUE(loaded.wait(30000));
    EXPECT_TRUE(loaded.constFirst().constFirst().toBool());
    EXPECT_TRUE(m_prompts->questions.empty());  // a page this small is shown without asking
    inBrowser->trigger();
    EXPECT_FALSE(inBrowser->isChecked());
    EXPECT_EQ(view()->currentWidget(), art);

    action("MN_VIEW_START")->trigger();
    EXPECT_EQ(view()->currentWidget(), view()->browser());
    EXPECT_FALSE(inBrowser->isEnabled());
    ASSERT_TRUE(action("MN_VIEW_PAGE")->isEnabled());
    shown.clear();
    action("MN_VIEW_PAGE")->trigger();
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(view()->currentWidget(), art);
    EXPECT_EQ(view()->currentPath(), m_window->outputPath());
    EXPECT_FALSE(action("MN_VIEW_PAGE")->isEnabled());
    EXPECT_EQ(ReadBytes(m_window->outputPath()), bytes);  // the page file is only ever read
}

}  // namespace
}  // namespace moza::ui::testing
