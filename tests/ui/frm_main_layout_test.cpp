// The main window as it opens: what is enabled and selected, what is shown, and the keyboard's
// path through the controls.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

class FrmMainStartTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
};

TEST_F(FrmMainStartTest, OpensReadyForAPictureWithOnlySaveAsDisabled) {
    EXPECT_FALSE(saveAsEnabled());
    for (const char* name : {"MN_FILE_OPEN", "MN_FILE_END", "MN_VIEW_START", "MN_VIEW_VERSION"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_TRUE(child<QPushButton>("MakeButton")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("colorweb")->isChecked());
    EXPECT_TRUE(child<QLineEdit>("TextTitle")->text().isEmpty());
    EXPECT_TRUE(htmltag()->markup().isEmpty());
    QImage white(189, 189, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(preview()->image(), white);
    EXPECT_EQ(view()->currentPath(), programFolder() + "/data/index.html");
}

TEST_F(FrmMainStartTest, TabOrderRunsFromViewToTitle) {
    const std::vector<QWidget*> expected = {view(), htmltag(), child<QWidget>("MakeButton"), child<QWidget>("colormono"),
                                            child<QWidget>("colorweb"), child<QWidget>("TextTitle")};
    std::vector<QWidget*> order;
    QWidget* at = view();
    for (int steps = 0; steps < 200 && order.size() < expected.size(); ++steps) {
        QWidget* owner = at;
        for (QWidget* candidate : expected) {
            if (candidate == at || candidate->isAncestorOf(at)) owner = candidate;
        }
        if (std::find(expected.begin(), expected.end(), owner) != expected.end() &&
            std::find(order.begin(), order.end(), owner) == order.end()) {
            order.push_back(owner);
        }
        at = at->nextInFocusChain();
    }
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace moza::ui::testing
