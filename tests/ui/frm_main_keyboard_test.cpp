// Keyboard habits: Enter in the title box makes the page; Ctrl+O, Ctrl+S and Ctrl+Q run their items.
#include <QLineEdit>
#include <QTest>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

class FrmMainKeyboardTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    /// Presses Ctrl + `key` in the window, as the user would with its title box focused.
    void pressCtrl(Qt::Key key) { QTest::keyClick(child<QLineEdit>("TextTitle"), key, Qt::ControlModifier); }
    /// The names of the dialogs shown so far.
    QStringList dialogsShown() const {
        QStringList names;
        for (const FakePrompts::ShownDialog& dialog : m_prompts->shown) names << dialog.name;
        return names;
    }
};

TEST_F(FrmMainKeyboardTest, EnterInTheTitleBoxMakesThePage) {
    openThroughDialog(writePicture(QStringLiteral("cat.png"), plainImage(6, 3, Qt::white)));
    auto* title = child<QLineEdit>("TextTitle");
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("neko"));
    QTest::keyClick(title, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isMaking(), 60000);
    ASSERT_EQ(pageFiles().size(), 1);
    EXPECT_TRUE(pageFiles()[0].endsWith(QStringLiteral("_neko.html"))) << pageFiles()[0].toStdString();
    EXPECT_EQ(m_window->outputPath(), QDir(tempFolder()).filePath(pageFiles()[0]));
    EXPECT_TRUE(saveAsEnabled());
}

TEST_F(FrmMainKeyboardTest, CtrlSSavesAsExactlyWhenSaveAsIsEnabled) {
    const QString picture = writePicture(QStringLiteral("cat.png"), plainImage(6, 3, Qt::white));
    pressCtrl(Qt::Key_S);  // no page yet
    openThroughDialog(picture);
    make();
    pressCtrl(Qt::Key_S);
    openThroughDialog(picture);
    pressCtrl(Qt::Key_S);  // File > Open took Save As away again
    EXPECT_EQ(dialogsShown().join(QLatin1Char(' ')), QStringLiteral("Dialog Dialog2 Dialog"));
}

TEST_F(FrmMainKeyboardTest, CtrlOOpensAndCtrlQQuits) {
    pressCtrl(Qt::Key_O);
    EXPECT_EQ(dialogsShown().join(QLatin1Char(' ')), QStringLiteral("Dialog"));
    pressCtrl(Qt::Key_Q);
    EXPECT_FALSE(m_window->isVisible());
}

}  // namespace
}  // namespace moza::ui::testing
