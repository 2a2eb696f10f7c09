// Save As, the view commands, Exit and the close box, and the menu states they leave.
#include <QTest>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

class FrmMainCommandsTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
    void openAndMake(const QString& title = QStringLiteral("cat")) {
        openThroughDialog(writePicture(title + ".png", plainImage(6, 3, Qt::white)));
        make(title);
        ASSERT_TRUE(m_prompts->failures.empty());
    }
    void saveAs(const QString& target) {
        m_prompts->answers.push_back(target);
        action("MN_FILE_SAVE")->trigger();
    }
};

TEST_F(FrmMainCommandsTest, SaveAsCopiesTheLastPageOverAnyFileOfThatName) {
    openAndMake();
    action("MN_VIEW_START")->trigger();
    const QString target = m_dir.filePath("copy.html");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older page that is much longer than the new one will be, surely, yes");
    old.close();
    saveAs({});  // cancelled: nothing is written
    EXPECT_EQ(ReadBytes(target).substr(0, 8), "an older");
    saveAs(target);
    EXPECT_TRUE(m_prompts->failures.empty());
    EXPECT_EQ(ReadBytes(target), ReadBytes(m_window->outputPath()));
    const FakePrompts::ShownDialog& dialog = m_prompts->shown.back();
    EXPECT_EQ(dialog.name, "Dialog2");
    EXPECT_EQ(dialog.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.filters, QStringList{"htmlファイル(*.html)"});
    EXPECT_TRUE(dialog.defaultSuffix.isEmpty());
}

TEST_F(FrmMainCommandsTest, AFailedSaveAsNamesTheFileAndKeepsWhatWasThere) {
    openAndMake();
    const QString intoNoFolder = m_dir.filePath("no/such/folder/copy.html");
    saveAs(intoNoFolder);
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("ページを保存できませんでした。"));
    EXPECT_EQ(m_prompts->failures[0].reason, QStringLiteral("フォルダー「%1」がないため、「copy.html」を書き込めません。")
                                                 .arg(QDir::toNativeSeparators(m_dir.filePath("no/such/folder"))));
    EXPECT_TRUE(m_prompts->failures[0].details.contains(QDir::toNativeSeparators(intoNoFolder)));
    EXPECT_FALSE(QFileInfo::exists(intoNoFolder));

    const QString target = m_dir.filePath("copy.html");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    ASSERT_TRUE(QFile::remove(m_window->outputPath()));  // the page is gone from the temp folder
    saveAs(target);
    EXPECT_EQ(m_prompts->failures.size(), 2u);
    EXPECT_EQ(ReadBytes(target), "keep me");
}

TEST_F(FrmMainCommandsTest, SaveAsIsAvailableExactlyBetweenAMakeAndTheNextOpen) {
    struct Step {
        const char* what;
        std::function<void()> run;
        bool saveAs;
    };
    const QString good = writePicture("good.png", plainImage(9, 9, Qt::white));
    const std::vector<Step> steps = {
        {"make", [this] { make(); }, true},
        {"start page", [this] { action("MN_VIEW_START")->trigger(); }, true},
        {"version", [this] { action("MN_VIEW_VERSION")->trigger(); }, true},
        {"cancelled open", [this] { openThroughDialog({}); }, true},
        {"open", [&] { openThroughDialog(good); }, false},
        {"start page", [this] { action("MN_VIEW_START")->trigger(); }, false},
        {"make", [this] { make(); }, true},
        {"failed open", [this] { openThroughDialog(m_dir.filePath("gone.png")); }, false},
        {"failed make", [this] { make(QStringLiteral("a?b")); }, false},
        {"make", [this] { make(); }, true},
        {"failed make", [this] { make(QStringLiteral("a?b")); }, true},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(saveAsEnabled(), step.saveAs) << "after " << step.what;
    }
}

TEST_F(FrmMainCommandsTest, ExitAndTheCloseBoxCloseWithoutAsking) {
    for (const bool throughExit : {true, false}) {
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        if (throughExit) {
            action("MN_FILE_END")->trigger();
        } else {
            EXPECT_TRUE(m_window->close());
        }
        EXPECT_FALSE(m_window->isVisible());
        EXPECT_TRUE(m_prompts->shown.empty());
        EXPECT_TRUE(m_prompts->failures.empty());
    }
}

}  // namespace
}  // namespace moza::ui::testing
