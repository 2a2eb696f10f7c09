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

TEST_F(FrmMainOpenTest, OpenDialogOffersBitmapJpegAndAllFilesWithBitmapSelected) {
    openThroughDialog({});
    ASSERT_EQ(m_prompts->shown.size(), 1u);
    const FakePrompts::ShownDialog& dialog = m_prompts->shown[0];
    EXPECT_EQ(dialog.name, "Dialog");
    EXPECT_EQ(dialog.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.filters, (QStringList{"bmpファイル(*.bmp)", "jpgファイル(*.jpg)", "全てのファイル(*.*)"}));
    EXPECT_EQ(dialog.selectedFilter, "bmpファイル(*.bmp)");
}

TEST_F(FrmMainOpenTest, OpeningAPictureRecordsItsSize) {
    openThroughDialog(writePicture("photo.png", plainImage(640, 480, Qt::red)));
    EXPECT_EQ(m_window->picWidth(), 640.0f);
    EXPECT_EQ(m_window->picHeight(), 480);
    EXPECT_EQ(m_window->workingImage().width(), 640);
    EXPECT_TRUE(m_prompts->failures.empty());
}

TEST_F(FrmMainOpenTest, OpeningAPictureDrawsItLetterboxed) {
    openThroughDialog(writePicture("photo.png", plainImage(400, 300, Qt::red)));
    EXPECT_EQ(preview()->image().pixel(10, 23), qRgb(255, 255, 255));
    EXPECT_EQ(preview()->image().pixel(10, 24), qRgb(255, 0, 0));
}

TEST_F(FrmMainOpenTest, OpeningABitmapWorks) {
    const QString path = m_dir.filePath("small.bmp");
    ASSERT_TRUE(plainImage(7, 5, Qt::blue).save(path, "BMP"));
    openThroughDialog(path);
    EXPECT_EQ(m_window->picWidth(), 7.0f);
    EXPECT_EQ(m_window->picHeight(), 5);
}

TEST_F(FrmMainOpenTest, CancelledDialogChangesNothing) {
    openThroughDialog(writePicture("photo.png", plainImage(40, 30, Qt::red)));
    make();
    const QImage previewBefore = preview()->image();
    openThroughDialog({});
    EXPECT_EQ(m_window->picWidth(), 42.0f);  // still enlarged by the make command
    EXPECT_TRUE(saveAsEnabled());
    EXPECT_EQ(preview()->image(), previewBefore);
    EXPECT_TRUE(m_prompts->failures.empty());
}

TEST_F(FrmMainOpenTest, FileThatIsNotAPictureIsNamedWithItsReason) {
    const QString path = m_dir.filePath("notes.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are not the pixels you are looking for");
    file.close();
    openThroughDialog(path);
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(m_prompts->failures[0].reason.contains("not a picture")) << m_prompts->failures[0].reason.toStdString();
}

TEST_F(FrmMainOpenTest, MissingFileIsNamedWithItsReason) {
    const QString path = m_dir.filePath("gone.png");
    openThroughDialog(path);
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_EQ(m_prompts->failures[0].reason, "cannot load '" + QDir::toNativeSeparators(path) + "': the file does not exist");
}

TEST_F(FrmMainOpenTest, FailedOpenAfterMakeKeepsTheEnlargedPictureAndDisablesSaveAs) {
    openThroughDialog(writePicture("photo.png", plainImage(400, 300, Qt::red)));
    make();
    ASSERT_TRUE(saveAsEnabled());
    openThroughDialog(m_dir.filePath("gone.png"));
    EXPECT_EQ(m_window->picWidth(), 402.0f);
    EXPECT_EQ(m_window->picHeight(), 300);
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_EQ(preview()->image().pixel(10, 24), qRgb(255, 0, 0));  // redrawn from the working image
}

TEST_F(FrmMainOpenTest, FailedOpenBeforeAnyPictureLeavesThePreviewWhite) {
    make();  // an empty working image stays 0 x 0
    openThroughDialog(m_dir.filePath("gone.png"));
    EXPECT_EQ(preview()->image(), whitePreview());
    EXPECT_EQ(m_window->picWidth(), 0.0f);
    EXPECT_FALSE(saveAsEnabled());
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

TEST_F(FrmMainOpenTest, PictureDroppedOnTheMarkupBoxIsOpened) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writePicture("dropped.png", plainImage(30, 20, Qt::red)))});
    EXPECT_TRUE(dragAndDrop(htmltag()->viewport(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->picWidth() == 30.0f; }, 5000));
    EXPECT_EQ(m_window->picHeight(), 20);
}

TEST_F(FrmMainOpenTest, PictureDroppedOnThePreviewIsOpened) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writePicture("dropped.png", plainImage(30, 20, Qt::red)))});
    EXPECT_TRUE(dragAndDrop(preview(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->picWidth() == 30.0f; }, 5000));
}

TEST_F(FrmMainOpenTest, DroppedFileThatIsNotAPictureIsReported) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_dir.filePath("gone.png"))});
    EXPECT_TRUE(dragAndDrop(preview(), data));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_prompts->failures.empty(); }, 5000));
}

TEST_F(FrmMainOpenTest, DroppedTextIsNotTakenAsAPicture) {
    QMimeData data;
    data.setText(QStringLiteral("just words"));
    EXPECT_FALSE(dragAndDrop(preview(), data));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_window->picWidth(), 0.0f);
    EXPECT_TRUE(m_prompts->failures.empty());
}

}  // namespace
}  // namespace moza::ui::testing
