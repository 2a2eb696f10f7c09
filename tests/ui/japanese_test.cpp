// The window speaks Japanese: Qt's own dialog texts and the page view's context menu.
#include <QDialogButtonBox>
#include <QPushButton>
#include <QWebEnginePage>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

class JapaneseTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
};

TEST_F(JapaneseTest, OpenDialogButtonsAreJapanese) {
    auto* buttons = child<QFileDialog>("Dialog")->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr) << "the open dialog is not Qt's own";
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("開く(&O)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

TEST_F(JapaneseTest, SaveDialogButtonIsJapanese) {
    auto* buttons = child<QFileDialog>("Dialog2")->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr) << "the save dialog is not Qt's own";
    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("保存(&S)"));
}

TEST_F(JapaneseTest, PageViewContextMenuIsJapanese) {
    // Qt ships no Japanese catalogue for the page engine; Moza's own fills in.
    EXPECT_EQ(view()->browser()->pageAction(QWebEnginePage::Back)->text(), QStringLiteral("戻る"));
    EXPECT_EQ(view()->browser()->pageAction(QWebEnginePage::Copy)->text(), QStringLiteral("コピー"));
    EXPECT_EQ(view()->browser()->pageAction(QWebEnginePage::SelectAll)->text(), QStringLiteral("すべて選択"));
}

}  // namespace
}  // namespace moza::ui::testing
