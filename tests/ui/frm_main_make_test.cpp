// The make command: the page bytes, htmltag, View, Save As, the caption, and each failure.
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>

#include "convert/cp932.h"
#include "convert/make_page.h"
#include "frm_main_fixture.h"
#include "glyph/char_data_loader.h"
#include "picture/picture_loader.h"
#include "picture/path_text.h"

namespace moza::ui::testing {
namespace {

const std::string kCellStart = "<td width=9><font style=font-size:8pt;color:#";
const std::string kWhiteThenBlackTable = "<table cellspacing=0 cellpadding=0 width=18><tr height=9>" + kCellStart +
                                         "FFFFFF>A</font></td>" + kCellStart + "000000>\x82\xA0</font></td></tr></table>";

/// A 6 x 3 picture: a white block, then a black one.
QImage whiteThenBlack() {
    QImage image(6, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 3; ++y) {
        for (int x = 3; x < 6; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    }
    return image;
}

class FrmMainMakeTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
    void openWhiteThenBlack() { openThroughDialog(writePicture("two.png", whiteThenBlack())); }
    QString sourceFolder() const { return QStringLiteral(MOZA_SOURCE_DIR); }
};

TEST_F(FrmMainMakeTest, PageFileHoldsTheExactBytes) {
    openWhiteThenBlack();
    make(QStringLiteral("cat"));
    ASSERT_TRUE(m_prompts->failures.empty());
    EXPECT_EQ(ReadBytes(m_window->outputPath()),
              "\"<html><head><title>cat</title></head><body text=#000000>" + kWhiteThenBlackTable +
                  "</body></html>\"\r\n");
}

TEST_F(FrmMainMakeTest, MonochromePaintsEveryCellBlack) {
    openWhiteThenBlack();
    child<QRadioButton>("colormono")->click();
    make();
    const std::string page = ReadBytes(m_window->outputPath());
    EXPECT_NE(page.find(kCellStart + "000000>A</font>"), std::string::npos);
    EXPECT_EQ(page.find("FFFFFF"), std::string::npos);
}

TEST_F(FrmMainMakeTest, PageFileIsNamedFromTheClockAndTitleInTheTempFolder) {
    openWhiteThenBlack();
    make(QStringLiteral("ねこ"));
    const QFileInfo page(m_window->outputPath());
    EXPECT_EQ(page.absolutePath(), QFileInfo(tempFolder()).absoluteFilePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8}_\\d{6}_ねこ\\.html$")).match(page.fileName()).hasMatch())
        << page.fileName().toStdString();
    EXPECT_EQ(pageFiles(), QStringList{page.fileName()});
}

TEST_F(FrmMainMakeTest, TitleGoesIntoThePageInCodePage932) {
    openWhiteThenBlack();
    make(QStringLiteral("ねこ"));
    EXPECT_EQ(ReadBytes(m_window->outputPath()).substr(0, 24), "\"<html><head><title>\x82\xCB\x82\xB1");
}

TEST_F(FrmMainMakeTest, MarkupBoxShowsTheTableOnly) {
    openWhiteThenBlack();
    make();
    EXPECT_EQ(htmltag()->markup(), QString::fromStdString(convert::Cp932ToUtf8(kWhiteThenBlackTable).value()));
}

TEST_F(FrmMainMakeTest, ViewShowsTheNewPageAndSaveAsIsEnabled) {
    openWhiteThenBlack();
    make();
    EXPECT_FALSE(m_window->outputPath().isEmpty());
    EXPECT_EQ(view()->currentPath(), m_window->outputPath());
    EXPECT_TRUE(saveAsEnabled());
}

TEST_F(FrmMainMakeTest, WorkingImageIsEnlargedToWholeBlocks) {
    openThroughDialog(writePicture("photo.png", plainImage(400, 301, Qt::gray)));
    make();
    EXPECT_EQ(m_window->picWidth(), 402.0f);
    EXPECT_EQ(m_window->picHeight(), 303);
}

TEST_F(FrmMainMakeTest, CaptionShowsProgressThenMoza) {
    openWhiteThenBlack();
    QSignalSpy titles(m_window.get(), &QWidget::windowTitleChanged);
    make();
    ASSERT_GE(titles.size(), 2);
    EXPECT_EQ(titles.constFirst().constFirst().toString(), "Moza - 0/1 (00.00%)");
    EXPECT_EQ(titles.constLast().constFirst().toString(), "Moza");
    EXPECT_EQ(m_window->windowTitle(), "Moza");
}

TEST_F(FrmMainMakeTest, MakeBeforeAnyPictureWritesAnEmptyTable) {
    QSignalSpy titles(m_window.get(), &QWidget::windowTitleChanged);
    make(QStringLiteral("empty"));
    EXPECT_EQ(htmltag()->markup(), "<table cellspacing=0 cellpadding=0 width=0></table>");
    EXPECT_EQ(ReadBytes(m_window->outputPath()),
              "\"<html><head><title>empty</title></head><body text=#000000>"
              "<table cellspacing=0 cellpadding=0 width=0></table></body></html>\"\r\n");
    for (const QList<QVariant>& title : titles) EXPECT_EQ(title.constFirst().toString(), "Moza");
}

TEST_F(FrmMainMakeTest, EmptyTitleGivesANameEndingInAnUnderscore) {
    openWhiteThenBlack();
    make(QString());
    EXPECT_TRUE(m_window->outputPath().endsWith("_.html")) << m_window->outputPath().toStdString();
}

TEST_F(FrmMainMakeTest, PageBytesEqualTheStreamedPageOfTheConverter) {
    Result<glyph::GlyphTable> table = glyph::LoadCharData(ToPath(sourceFolder() + "/data/char.csv"), {});
    ASSERT_TRUE(table.ok()) << table.error().message;
    auto shared = std::make_shared<const glyph::GlyphTable>(std::move(table).value());
    createWindow(shared);
    const QString photo = sourceFolder() + "/samples/seeding_640x480.jpg";
    openThroughDialog(photo);
    make(QStringLiteral("seeding"));

    Result<convert::WorkingImage> image = picture::LoadPicture(ToPath(photo));
    ASSERT_TRUE(image.ok());
    std::string streamed;
    const convert::PageTarget stream{convert::PageTarget::Kind::Stream, {}, [&streamed](std::string_view piece) {
                                         streamed.append(piece);
                                         return true;
                                     }};
    ASSERT_TRUE(convert::MakePage(image.value(), *shared, "seeding", stream).ok());
    EXPECT_TRUE(ReadBytes(m_window->outputPath()) == streamed);
}

TEST_F(FrmMainMakeTest, PageBytesEqualMozaConvertsOutput) {
    const QString converter = QStringLiteral(MOZA_PROGRAM_DIR "/moza-convert");
    if (!QFileInfo(converter).isExecutable()) GTEST_SKIP() << "moza-convert is not built";
    const QString picture = writePicture("two.png", whiteThenBlack());
    const QString expected = m_dir.filePath("expected.html");
    ASSERT_EQ(QProcess::execute(converter, {"-t", "cat", "-o", expected, picture}), 0);
    Result<glyph::GlyphTable> table = glyph::LoadCharData(ToPath(QStringLiteral(MOZA_PROGRAM_DIR "/data/char.csv")), {});
    ASSERT_TRUE(table.ok()) << table.error().message;
    createWindow(std::make_shared<const glyph::GlyphTable>(std::move(table).value()));
    openThroughDialog(picture);
    make(QStringLiteral("cat"));
    EXPECT_EQ(ReadBytes(m_window->outputPath()), ReadBytes(expected));
}

// Failures: a message naming the folder and the reason; nothing else changes.

class FrmMainMakeFailureTest : public FrmMainMakeTest {
protected:
    void SetUp() override {
        FrmMainMakeTest::SetUp();
        openWhiteThenBlack();
        make(QStringLiteral("first"));
        ASSERT_TRUE(m_prompts->failures.empty());
        m_firstPage = m_window->outputPath();
    }
    void expectNothingChanged() {
        EXPECT_EQ(m_window->outputPath(), m_firstPage);
        EXPECT_EQ(view()->currentPath(), m_firstPage);
        EXPECT_TRUE(saveAsEnabled());
        EXPECT_EQ(m_window->windowTitle(), "Moza");
    }
    QString m_firstPage;
};

TEST_F(FrmMainMakeFailureTest, TitleAFileNameCannotHoldIsReported) {
    child<QRadioButton>("colormono")->click();
    make(QStringLiteral("a/b"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains("'/'")) << m_prompts->failures[0].reason.toStdString();
    EXPECT_TRUE(htmltag()->markup().contains("FFFFFF"));  // the title is refused before anything is made
    expectNothingChanged();
}

TEST_F(FrmMainMakeFailureTest, TitleCodePage932CannotWriteIsReported) {
    make(QStringLiteral("café"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains("U+00E9")) << m_prompts->failures[0].reason.toStdString();
    expectNothingChanged();
    EXPECT_EQ(pageFiles().size(), 1);
}

TEST_F(FrmMainMakeFailureTest, MissingTempFolderIsReported) {
    ASSERT_TRUE(QDir(tempFolder()).removeRecursively());
    make(QStringLiteral("second"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains("does not exist")) << m_prompts->failures[0].reason.toStdString();
    expectNothingChanged();
}

TEST_F(FrmMainMakeFailureTest, TempFolderThatIsAFileIsReported) {
    ASSERT_TRUE(QDir(tempFolder()).removeRecursively());
    QFile blocker(tempFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    make(QStringLiteral("second"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    expectNothingChanged();
}

TEST_F(FrmMainMakeFailureTest, EmptyGlyphTableIsReportedAndTheMarkupStays) {
    const QString markup = htmltag()->markup();
    createWindow(std::make_shared<const glyph::GlyphTable>());
    make(QStringLiteral("nothing"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_prompts->failures[0].reason.contains("character table")) << m_prompts->failures[0].reason.toStdString();
    EXPECT_TRUE(m_window->outputPath().isEmpty());
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_TRUE(htmltag()->markup().isEmpty());
    EXPECT_EQ(pageFiles().size(), 1);  // only the first window's page
}

TEST_F(FrmMainMakeFailureTest, ProgramGoesOnAfterAFailure) {
    make(QStringLiteral("a:b"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    make(QStringLiteral("fine"));
    EXPECT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_window->outputPath().endsWith("_fine.html"));
}

TEST_F(FrmMainMakeTest, ClosingWhileMakingClosesAtOnceAndLeavesNoPartOfAPage) {
    openThroughDialog(writePicture("large.png", plainImage(3000, 3000, Qt::gray)));
    m_window->show();
    child<QPushButton>("MakeButton")->click();
    ASSERT_TRUE(m_window->isMaking());
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
