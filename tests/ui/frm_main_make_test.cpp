// The make command: the page it writes and shows in the art view, its failures, and closing while it runs.
#include <QRadioButton>
#include <QSignalSpy>

#include "convert/cp932.h"
#include "frm_main_fixture.h"
#include "ui/art/art_view.h"
#include "ui/art/zoom.h"

namespace moza::ui::testing {
namespace {

class FrmMainMakeTest : public FrmMainTest {
protected:
    /// Opens a `width` x 60 picture, black on the left half, white on the right.
    void openHalfBlack(int width) {
        QImage image = PlainImage(width, 60, Qt::white);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < width / 2; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
        openThroughDialog(writePicture("half.png", image));
    }
};

TEST_F(FrmMainMakeTest, AMakeWritesThePageAndShowsItFittedInTheArtViewOrTheBrowserEngine) {
    // The data folder's pages end in the system's separator ("\\index.html" on Windows).
    EXPECT_EQ(QDir::fromNativeSeparators(view()->currentPath()), m_dir.filePath("data/index.html"));
    m_window->show();
    openHalfBlack(90);
    make(QStringLiteral("ね%#こ"));  // a name a URL must escape
    ASSERT_TRUE(m_prompts->failures.empty());
    const QFileInfo page(m_window->outputPath());
    EXPECT_EQ(pageFiles(), QStringList{page.fileName()});
    EXPECT_TRUE(page.fileName().endsWith(QStringLiteral("_ね%#こ.html"))) << page.fileName().toStdString();
    const std::string bytes = ReadBytes(m_window->outputPath());
    // The markup box holds the page's table.
    const QString markup = htmltag()->markup();
    EXPECT_TRUE(markup.startsWith("<table") && QString::fromStdString(convert::Cp932ToUtf8(bytes).value()).contains(markup));
    EXPECT_EQ(m_window->windowTitle(), "Moza");  // the progress captions gone

    // Without the browser engine, the start page's pageShown may come first: wait for the art view's page.
    ASSERT_TRUE(QTest::qWaitFor([this] { return view()->artView()->page() != nullptr; }, 10000));
    ArtView* art = view()->artView();
    ASSERT_EQ(view()->currentWidget(), art);
    EXPECT_EQ(view()->currentPath(), m_window->outputPath());
    EXPECT_EQ(art->page()->grid.cellCount(), 30u * 20u);
    const ArtLayout& layout = art->page()->layout;
    const QSize zoomed = zoom::ZoomedSize({layout.pageWidth(), layout.pageHeight()}, art->scale());
    const QSize viewport = art->viewport()->size();
    EXPECT_TRUE(zoomed.width() == viewport.width() || zoomed.height() == viewport.height());
    EXPECT_TRUE(zoomed.width() <= viewport.width() && zoomed.height() <= viewport.height());

    QAction* inBrowser = child("MN_VIEW_BROWSER");
    if (kHasBrowserEngine) {
        QSignalSpy loaded(view()->browser(), &BrowserView::pageLoaded);
        inBrowser->trigger();
        // The engine's view shows once the page is there (no flash of the one before), its
        // progress meanwhile.
        EXPECT_EQ(view()->currentWidget()->objectName(), QStringLiteral("EngineNotice"));
        ASSERT_TRUE(loaded.wait(30000));
        EXPECT_EQ(view()->currentWidget(), view()->browser());
        inBrowser->trigger();
        EXPECT_EQ(view()->currentWidget(), art);
    }
    child("MN_VIEW_START")->trigger();  // coming back: FrmMainViewTest
    EXPECT_FALSE(inBrowser->isEnabled());
    EXPECT_EQ(ReadBytes(m_window->outputPath()), bytes);  // the page file is only ever read
}

TEST_F(FrmMainMakeTest, AFailedMakeIsReportedAndChangesNothing) {
    openHalfBlack(6);
    make(QStringLiteral("first"));
    const QString firstPage = m_window->outputPath();
    child<QRadioButton>("colormono")->click();
    const std::pair<QString, QString> failures[] = {  // the title, how the Japanese reason starts
        {"a/b", "タイトルに「/」(U+002F)が含まれています。"},
        {"a file for temp", QStringLiteral("フォルダー「%1").arg(QDir::toNativeSeparators(tempFolder()))},  // in the way
    };
    for (const auto& [title, reason] : failures) {
        m_prompts->failures.clear();
        if (title == "a file for temp") {
            ASSERT_TRUE(QDir(tempFolder()).removeRecursively());
            WriteFile(tempFolder(), "not a folder");
        }
        make(title);
        ASSERT_EQ(m_prompts->failures.size(), 1u) << title.toStdString();
        EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("ページを作成できませんでした。"));
        EXPECT_TRUE(m_prompts->failures[0].reason.startsWith(reason)) << m_prompts->failures[0].reason.toStdString();
        EXPECT_EQ(m_window->outputPath(), firstPage);
        EXPECT_EQ(view()->currentPath(), firstPage);
        EXPECT_TRUE(htmltag()->markup().contains("FFFFFF"));  // still the colour page's
    }
    ASSERT_TRUE(QFile::remove(tempFolder()));
    make(QStringLiteral("fine"));  // the program goes on after failures, making its deleted temp/ again
    EXPECT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_window->outputPath().endsWith("_fine.html"));
    EXPECT_EQ(ReadBytes(m_window->outputPath()).find("FFFFFF"), std::string::npos) << "monochrome: every cell black";
}

TEST_F(FrmMainMakeTest, InputWhileMakingIsDroppedAndClosingLeavesNoPartOfAPage) {
    openThroughDialog(writePicture("large.png", PlainImage(3000, 3000, Qt::gray)));
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    auto* title = child<QLineEdit>("TextTitle");
    child<QPushButton>("MakeButton")->click();
    ASSERT_TRUE(m_window->isMaking());
    QTest::keyClicks(title, QStringLiteral("typed"));
    QTest::mouseClick(child<QRadioButton>("colormono"), Qt::LeftButton);
    EXPECT_EQ(title->text(), QString());
    EXPECT_TRUE(child<QRadioButton>("colorweb")->isChecked());
    EXPECT_FALSE(child("MN_FILE_OPEN")->isEnabled());
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_window->outputPath().isEmpty());
    // The make command was cancelled, or had just finished: either way no part of a page remains.
    for (const QString& name : pageFiles()) {
        EXPECT_FALSE(name.startsWith(u'.')) << name.toStdString();
        EXPECT_TRUE(ReadBytes(tempFolder() + "/" + name).ends_with("\"\r\n")) << name.toStdString();
    }
}

}  // namespace
}  // namespace moza::ui::testing
