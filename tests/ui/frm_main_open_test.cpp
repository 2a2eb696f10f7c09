// File > Open and dropped pictures: the working image, its size, the preview and Save As.
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

class FrmMainOpenTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
    QImage whitePreview() const {
        QImage white(189, 189, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }
};

TEST_F(FrmMainOpenTest, OpeningAPictureRecordsItsSizeAndDrawsItLetterboxed) {
    openThroughDialog({});  // cancelled: nothing changes
    const FakePrompts::ShownDialog& dialog = m_prompts->shown.at(0);
    EXPECT_EQ(dialog.name, "Dialog");
    EXPECT_EQ(dialog.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.filters, (QStringList{"bmpファイル(*.bmp)", "jpgファイル(*.jpg)", "全てのファイル(*.*)"}));
    EXPECT_EQ(dialog.selectedFilter, "bmpファイル(*.bmp)");
    EXPECT_EQ(preview()->image(), whitePreview());

    const QString bitmap = m_dir.filePath("small.bmp");
    ASSERT_TRUE(plainImage(400, 300, Qt::red).save(bitmap, "BMP"));
    for (const QString& path : {writePicture("photo.png", plainImage(400, 300, Qt::red)), bitmap}) {
        openThroughDialog(path);
        EXPECT_EQ(m_window->picWidth(), 400.0f);
        EXPECT_EQ(m_window->picHeight(), 300);
        EXPECT_EQ(preview()->image().pixel(10, 23), qRgb(255, 255, 255));
        EXPECT_EQ(preview()->image().pixel(10, 24), qRgb(255, 0, 0));
    }
    EXPECT_TRUE(m_prompts->failures.empty());
}

TEST_F(FrmMainOpenTest, PreviewTooltipNamesThePictureItsSizeAndItsCharacters) {
    openThroughDialog(writePicture("photo.png", plainImage(40, 31, Qt::red)));
    EXPECT_EQ(preview()->toolTip(), QStringLiteral("photo.png 40 x 31 → 14 x 11 文字"));
    openThroughDialog(m_dir.filePath("gone.png"));  // the preview still shows photo.png
    EXPECT_EQ(preview()->toolTip(), QStringLiteral("photo.png 40 x 31 → 14 x 11 文字"));
}

TEST_F(FrmMainOpenTest, AFileThatCannotBeOpenedIsNamedAndTheWorkingImageStays) {
    const QString notAPicture = m_dir.filePath("notes.jpg");
    QFile file(notAPicture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are not the pixels you are looking for");
    file.close();

    make();  // before any picture: the working image stays 0 x 0 and the preview white
    openThroughDialog(m_dir.filePath("gone.png"));
    EXPECT_EQ(preview()->image(), whitePreview());
    EXPECT_FALSE(saveAsEnabled());

    openThroughDialog(writePicture("photo.png", plainImage(400, 300, Qt::red)));
    make();
    ASSERT_TRUE(saveAsEnabled());
    m_prompts->failures.clear();
    for (const QString& path : {notAPicture, m_dir.filePath("gone.png")}) {
        openThroughDialog(path);
        EXPECT_EQ(m_window->picWidth(), 402.0f);  // as the make command enlarged it
        EXPECT_EQ(m_window->picHeight(), 300);
        EXPECT_FALSE(saveAsEnabled());
        EXPECT_EQ(preview()->image().pixel(10, 24), qRgb(255, 0, 0));  // redrawn from the working image
    }
    ASSERT_EQ(m_prompts->failures.size(), 2u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains(QDir::toNativeSeparators(notAPicture)));
    EXPECT_EQ(m_prompts->failures[1].what, QStringLiteral("画像を開けませんでした。"));
    EXPECT_EQ(m_prompts->failures[1].reason,
              QStringLiteral("「%1」が見つかりません。").arg(QDir::toNativeSeparators(m_dir.filePath("gone.png"))));
    EXPECT_TRUE(m_prompts->failures[1].details.endsWith("the file does not exist"));  // the English message
}

TEST_F(FrmMainOpenTest, OpeningAfterMakeKeepsThePageOutputPathAndMarkup) {
    openThroughDialog(writePicture("photo.png", plainImage(6, 3, Qt::white)));
    make();
    const QString page = m_window->outputPath();
    const QString markup = htmltag()->markup();
    openThroughDialog(writePicture("second.png", plainImage(9, 9, Qt::black)));
    EXPECT_EQ(view()->currentPath(), page);
    EXPECT_EQ(m_window->outputPath(), page);
    EXPECT_EQ(htmltag()->markup(), markup);
    EXPECT_FALSE(saveAsEnabled());
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

TEST_F(FrmMainOpenTest, APictureDroppedOnTheMarkupBoxOrThePreviewIsOpened) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writePicture("dropped.png", plainImage(30, 20, Qt::red)))});
    EXPECT_TRUE(dragAndDrop(htmltag()->viewport(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->picWidth() == 30.0f; }, 5000));
    EXPECT_EQ(m_window->picHeight(), 20);

    data.setUrls({QUrl::fromLocalFile(writePicture("other.png", plainImage(40, 20, Qt::red)))});
    EXPECT_TRUE(dragAndDrop(preview(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->picWidth() == 40.0f; }, 5000));
}

TEST_F(FrmMainOpenTest, DroppedTextIsNotTakenAndADroppedMissingFileIsReported) {
    QMimeData text;
    text.setText(QStringLiteral("just words"));
    EXPECT_FALSE(dragAndDrop(preview(), text));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_window->picWidth(), 0.0f);
    EXPECT_TRUE(m_prompts->failures.empty());

    QMimeData missing;
    missing.setUrls({QUrl::fromLocalFile(m_dir.filePath("gone.png"))});
    EXPECT_TRUE(dragAndDrop(preview(), missing));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_prompts->failures.empty(); }, 5000));
}

}  // namespace
}  // namespace moza::ui::testing
