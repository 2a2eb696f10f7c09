// File > Open and dropped pictures: the working image, the preview, and what a failure keeps.
#include <QMimeData>
#include <QUrl>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

using FrmMainOpenTest = FrmMainTest;

TEST_F(FrmMainOpenTest, APictureIsOpenedIntoThePreviewAndAFailedOpenIsNamedAndKeepsItAndThePage) {
    const QImage white = preview()->image();
    openThroughDialog({});  // cancelled: nothing changes
    EXPECT_EQ(preview()->image(), white);
    openThroughDialog(writePicture("photo.png", PlainImage(400, 310, Qt::red)));
    EXPECT_EQ(m_window->picWidth(), 400.0f);
    EXPECT_EQ(m_window->picHeight(), 310);
    EXPECT_EQ(preview()->image().pixel(94, 20), qRgb(255, 255, 255));  // letterboxed
    EXPECT_EQ(preview()->image().pixel(94, 21), qRgb(255, 0, 0));
    const QString tooltip = QStringLiteral("photo.png 400 x 310 → 134 x 104 文字");
    EXPECT_EQ(preview()->toolTip(), tooltip);
    make();
    const QString page = m_window->outputPath();
    const QString markup = htmltag()->markup();
    openThroughDialog(m_dir.filePath("gone.png"));
    EXPECT_EQ(m_window->picWidth(), 402.0f);  // as the make command enlarged it
    EXPECT_EQ(preview()->image().pixel(94, 21), qRgb(255, 0, 0));  // redrawn from the working image
    EXPECT_EQ(preview()->toolTip(), tooltip);
    EXPECT_EQ(view()->currentPath(), page);
    EXPECT_EQ(htmltag()->markup(), markup);
    EXPECT_FALSE(saveAsEnabled());
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("画像を開けませんでした。"));
    EXPECT_EQ(m_prompts->failures[0].reason,
              QStringLiteral("「%1」が見つかりません。").arg(QDir::toNativeSeparators(m_dir.filePath("gone.png"))));
}

/// Drags `data` onto `target` and drops it there, as the window system would; returns whether
/// the drop was taken.
bool dragAndDrop(QWidget* target, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST_F(FrmMainOpenTest, APictureDroppedOnTheWindowIsOpenedButDroppedTextIsNot) {
    QMimeData text;
    text.setText(QStringLiteral("just words"));
    EXPECT_FALSE(dragAndDrop(preview(), text));
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.com/a.png")),
                  QUrl::fromLocalFile(writePicture("dropped.png", PlainImage(30, 20, Qt::red)))});
    EXPECT_TRUE(dragAndDrop(htmltag()->viewport(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->picWidth() == 30.0f; }, 5000));
}

}  // namespace
}  // namespace moza::ui::testing
