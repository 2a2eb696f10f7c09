// Seeing the made page: the zoom keys from anywhere in the window, the viewer window that follows
// the pane, coming back to a page where the view stood, and the page saved as a picture.
#include "frm_main_fixture.h"

#include "ui/art/art_view.h"
#include "ui/art_window.h"

namespace moza::ui::testing {
namespace {

using FrmMainViewTest = FrmMainTest;

/// A picture with something to see at any zoom: a diagonal band on white.
QImage BandImage(int width, int height) {
    QImage image = PlainImage(width, height, Qt::white);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (std::abs(x - y) < width / 6) image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

TEST_F(FrmMainViewTest, ZoomKeysWorkFromTheTitleBoxAndTheViewerWindowFollowsThePane) {
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    openThroughDialog(writePicture("band.png", BandImage(300, 240)));
    auto* title = child<QLineEdit>("TextTitle");
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("band"));
    QTest::keyClick(title, Qt::Key_Return);  // the normal flow leaves the focus in the title box
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->isMaking() && view()->hasArt(); }, 60000));
    ArtView* pane = view()->artView();
    const double fitted = pane->scale();
    QTest::keyClick(title, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(pane->scale(), fitted);
    QTest::keyClick(title, Qt::Key_1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(pane->scale(), 1.0);
    QTest::keyClick(title, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(pane->isFitted());
    QTest::keyClick(title, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_End);  // the page's bottom-right corner
    const ArtViewState before = pane->viewState();

    // 作成したページ comes back to where the view stood.
    child("MN_VIEW_START")->trigger();
    child("MN_VIEW_PAGE")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->hasArt(); }, 20000));
    EXPECT_DOUBLE_EQ(pane->scale(), before.scale);
    EXPECT_EQ(pane->viewState().topLeft, before.topLeft);

    QTest::keyClick(title, Qt::Key_F11);
    ArtWindow* viewer = m_window->viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    EXPECT_GT(viewer->width() * viewer->height(), m_window->width() * m_window->height());
    EXPECT_EQ(viewer->artView()->page(), pane->page());
    EXPECT_TRUE(viewer->artView()->isFitted());
    EXPECT_TRUE(viewer->statusText().contains(QStringLiteral("100 x 80 文字"))) << viewer->statusText().toStdString();
    make(QStringLiteral("second"));  // a new make shows there too
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return viewer->artView()->page() != nullptr &&
                   viewer->artView()->page()->path == picture::ToPath(m_window->outputPath());
        },
        20000));
    QTest::keyClick(viewer->artView(), Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
    child("MN_VIEW_LARGE")->trigger();
    ASSERT_TRUE(viewer->isVisible());
    m_window->close();  // the close box: the viewer goes with the main window, and so the program ends
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(FrmMainViewTest, SaveAsPictureWritesTheArtAtTheWidthAskedOrSaysWhyNot) {
    EXPECT_FALSE(child("MN_FILE_IMAGE")->isEnabled());
    openThroughDialog(writePicture("band.png", BandImage(90, 90)));
    make();
    child("MN_VIEW_START")->trigger();  // the picture is of the page made, not of the one shown
    const QString target = m_dir.filePath("band.png");
    m_prompts->imageWidth = 100;
    m_prompts->answers.push_back(target);
    child("MN_FILE_IMAGE")->trigger();
    const QImage image(target);
    EXPECT_EQ(image.width(), 100);
    // The band runs from the top-left to the bottom-right: dark there, light in the other corners.
    const QImage corners =
        image.copy(2, 5, 96, image.height() - 10).scaled(2, 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(qGray(corners.pixel(0, 0)) + 20, qGray(corners.pixel(1, 0)));
    EXPECT_LT(qGray(corners.pixel(1, 1)) + 20, qGray(corners.pixel(0, 1)));

    m_prompts->answers.push_back(m_dir.filePath("no/such/folder/band.png"));
    child("MN_FILE_IMAGE")->trigger();
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("ページの画像を保存できませんでした。"));
}

#ifndef _WIN32
TEST_F(FrmMainViewTest, OpeningInTheDesktopsProgramsSaysWhenNoneStarts) {
    // xdg-open as a system has it: one that hands the file over, one that finds no program.
    const QString bin = subfolder(QStringLiteral("bin"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ":" + path);
    for (const int status : {0, 3}) {
        WriteFile(bin + QStringLiteral("/xdg-open"),
                  QStringLiteral("#!/bin/sh\necho \"$1\" >>'%1/opened'\nexit %2\n").arg(bin).arg(status).toUtf8());
        QFile::setPermissions(bin + QStringLiteral("/xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
        child("MN_VIEW_FOLDER")->trigger();
        // The failure, when there is one, follows the opener's end: wait for both, within bounds.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return m_prompts->failures.size() == (status == 0 ? 0u : 1u) &&
                       ReadBytes(bin + QStringLiteral("/opened")).starts_with(tempFolder().toStdString()) &&
                       std::ranges::count(ReadBytes(bin + QStringLiteral("/opened")), '\n') == (status == 0 ? 1 : 2);
            },
            10000))
            << ReadBytes(bin + QStringLiteral("/opened"));
    }
    qputenv("PATH", path);
    EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("作成したページのフォルダーを開けませんでした。"));
}
#endif

}  // namespace
}  // namespace moza::ui::testing
