// Save As, when it is offered, and the keys that run the File menu's and the make button's commands.
#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

using FrmMainCommandsTest = FrmMainTest;

TEST_F(FrmMainCommandsTest, SaveAsCopiesTheLastPageOrSaysWhyNot) {
    openThroughDialog(writePicture("cat.png", PlainImage(6, 3, Qt::white)));
    make();
    child("MN_VIEW_START")->trigger();  // the page saved is the one made, not the one shown
    const QString target = m_dir.filePath("copy.html");
    WriteFile(target, "an older page, longer than the new one will be");
    saveAs({});  // cancelled: nothing is written
    EXPECT_EQ(ReadBytes(target).substr(0, 8), "an older");
    saveAs(target);
    EXPECT_TRUE(m_prompts->failures.empty());
    EXPECT_EQ(ReadBytes(target), ReadBytes(m_window->outputPath()));

    const QString intoNoFolder = m_dir.filePath("no/such/folder/copy.html");
    saveAs(intoNoFolder);
    ASSERT_EQ(m_prompts->failures.size(), 1u);
    EXPECT_EQ(m_prompts->failures[0].what, QStringLiteral("ページを保存できませんでした。"));
    EXPECT_TRUE(m_prompts->failures[0].reason.contains(QDir::toNativeSeparators(m_dir.filePath("no/such/folder"))));
    EXPECT_FALSE(QFileInfo::exists(intoNoFolder));
}

TEST_F(FrmMainCommandsTest, SaveAsIsOfferedExactlyBetweenAMakeAndTheNextOpenAndKeysRunTheCommands) {
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    auto* title = child<QLineEdit>("TextTitle");
    const QString good = writePicture("good.png", PlainImage(9, 9, Qt::white));
    const std::vector<std::pair<std::function<void()>, bool>> steps = {
        {[] {}, false},
        {[this] { make(); }, true},  // before any picture
        {[this] { child("MN_VIEW_START")->trigger(); }, true},
        {[this] { openThroughDialog({}); }, true},
        {[&] {
             m_prompts->answers.push_back(good);
             QTest::keyClick(title, Qt::Key_O, Qt::ControlModifier);
         },
         false},
        {[&] {
             QTest::keyClick(title, Qt::Key_Return);
             ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->isMaking(); }, 60000));
         },
         true},
        {[this] { openThroughDialog(m_dir.filePath("gone.png")); }, false},
        {[this] { make(QStringLiteral("a?b")); }, false},  // a failed make
        {[this] { make(); }, true},
        {[this] { make(QStringLiteral("a?b")); }, true},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(saveAsEnabled(), steps[i].second) << "after step " << i;
        const std::size_t dialogs = m_prompts->shown.size();
        QTest::keyClick(title, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(m_prompts->shown.size() - dialogs, steps[i].second ? 1u : 0u) << "Ctrl+S after step " << i;
    }
    QTest::keyClick(title, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(m_window->isVisible());
}

}  // namespace
}  // namespace moza::ui::testing
