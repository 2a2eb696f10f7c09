// The make command: the page bytes, htmltag, View, Save As, the caption, failures and closing.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <functional>

#include "convert/cp932.h"
#include "frm_main_fixture.h"

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
};

TEST_F(FrmMainMakeTest, AMakeWritesThePageShowsItAndEnablesSaveAs) {
    openWhiteThenBlack();
    QSignalSpy titles(m_window.get(), &QWidget::windowTitleChanged);
    make(QStringLiteral("ねこ"));
    ASSERT_TRUE(m_prompts->failures.empty());
    EXPECT_EQ(ReadBytes(m_window->outputPath()),
              "\"<html><head><title>\x82\xCB\x82\xB1</title></head><body text=#000000>" + kWhiteThenBlackTable +
                  "</body></html>\"\r\n");
    const QFileInfo page(m_window->outputPath());
    EXPECT_EQ(page.absolutePath(), QFileInfo(tempFolder()).absoluteFilePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8}_\\d{6}_ねこ\\.html$")).match(page.fileName()).hasMatch())
        << page.fileName().toStdString();
    EXPECT_EQ(pageFiles(), QStringList{page.fileName()});
    EXPECT_EQ(htmltag()->markup(), QString::fromStdString(convert::Cp932ToUtf8(kWhiteThenBlackTable).value()));
    EXPECT_EQ(view()->currentPath(), m_window->outputPath());
    EXPECT_TRUE(saveAsEnabled());
    ASSERT_GE(titles.size(), 2);
    EXPECT_EQ(titles.constFirst().constFirst().toString(), "Moza - 0/1 (00.00%)");
    EXPECT_EQ(m_window->windowTitle(), "Moza");
}

TEST_F(FrmMainMakeTest, MakeBeforeAnyPictureWritesAnEmptyTable) {
    QSignalSpy titles(m_window.get(), &QWidget::windowTitleChanged);
    make(QStringLiteral("empty"));
    EXPECT_EQ(ReadBytes(m_window->outputPath()),
              "\"<html><head><title>empty</title></head><body text=#000000>"
              "<table cellspacing=0 cellpadding=0 width=0></table></body></html>\"\r\n");
    for (const QList<QVariant>& title : titles) EXPECT_EQ(title.constFirst().toString(), "Moza");
}

TEST_F(FrmMainMakeTest, AFailedMakeIsReportedAndChangesNothing) {
    struct Case {
        const char* what;
        QString title;
        std::function<void()> arrange;
        QString reason;  // how the Japanese reason starts
    };
    const QString temp = QDir::toNativeSeparators(tempFolder());
    const auto removeTemp = [this] { ASSERT_TRUE(QDir(tempFolder()).removeRecursively()); };
    const Case cases[] = {
        {"a title no file name can hold", QStringLiteral("a/b"), [] {}, QStringLiteral("タイトルに「/」(U+002F)が含まれています。")},
        {"a title code page 932 cannot write", QStringLiteral("café"), [] {}, QStringLiteral("タイトルの文字「é」(U+00E9)はシフト JIS")},
        {"no temp folder", QStringLiteral("second"), removeTemp, QStringLiteral("フォルダー「%1」がないため").arg(temp)},
        {"a file where the temp folder goes", QStringLiteral("second"), [&] {
             removeTemp();
             QFile blocker(tempFolder());
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         }, QStringLiteral("「%1」はフォルダーではありません").arg(temp.endsWith(u'/') ? temp.chopped(1) : temp)},
    };
    openWhiteThenBlack();
    make(QStringLiteral("first"));
    const QString firstPage = m_window->outputPath();
    child<QRadioButton>("colormono")->click();
    for (const Case& c : cases) {
        m_prompts->failures.clear();
        c.arrange();
        make(c.title);
        ASSERT_EQ(m_prompts->failures.size(), 1u) << c.what;
        EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("ページを作成できませんでした。"));
        EXPECT_TRUE(m_prompts->failures[0].reason.startsWith(c.reason)) << c.what << ": " << m_prompts->failures[0].reason.toStdString();
        EXPECT_EQ(m_window->outputPath(), firstPage) << c.what;
        EXPECT_EQ(view()->currentPath(), firstPage) << c.what;
        EXPECT_TRUE(htmltag()->markup().contains("FFFFFF")) << c.what;  // still the colour page's
        EXPECT_TRUE(saveAsEnabled()) << c.what;
        EXPECT_EQ(m_window->windowTitle(), "Moza") << c.what;
    }
    ASSERT_TRUE(QFile::remove(tempFolder()));
    ASSERT_TRUE(QDir().mkpath(tempFolder()));
    make(QStringLiteral("fine"));  // the program goes on after failures
    EXPECT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_window->outputPath().endsWith("_fine.html"));
    EXPECT_EQ(ReadBytes(m_window->outputPath()).find("FFFFFF"), std::string::npos) << "monochrome: every cell black";
}

TEST_F(FrmMainMakeTest, AnEmptyGlyphTableIsReportedAndNoPageIsShown) {
    createWindow(std::make_shared<const glyph::GlyphTable>());
    make(QStringLiteral("nothing"));
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_TRUE(m_window->outputPath().isEmpty());
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_TRUE(htmltag()->markup().isEmpty());
    EXPECT_TRUE(pageFiles().isEmpty());
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
