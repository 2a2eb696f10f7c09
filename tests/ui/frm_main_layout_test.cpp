// The main window as created: names, captions, positions, tab order, menus and initial state.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

struct PlacedControl {
    const char* name;
    QRect geometry;  // within its parent: the client area, or the frame for the options
};

const PlacedControl kPlacedControls[] = {
    {"sPic", {8, 8, 193, 193}},      {"View", {208, 8, 312, 249}},      {"htmltag", {208, 264, 312, 73}},
    {"Frame", {8, 208, 193, 89}},    {"MakeButton", {120, 304, 81, 33}}, {"Label2", {8, 40, 49, 17}},
    {"colormono", {72, 64, 89, 17}}, {"colorweb", {72, 40, 89, 17}},    {"Label3", {8, 16, 49, 17}},
    {"TextTitle", {72, 16, 113, 18}},
};

struct Caption {
    const char* name;
    const char* text;
};

const Caption kControlCaptions[] = {
    {"MakeButton", "作成"}, {"Label2", "color"}, {"colormono", "モノクロ"}, {"colorweb", "Webカラー"}, {"Label3", "title"},
};

const Caption kMenuCaptions[] = {
    {"MN_FILE_OPEN", "開く(&O)"},           {"MN_FILE_SAVE", "名前を付けて保存(&S)"},
    {"MN_FILE_END", "終了(&X)"},            {"MN_VIEW_START", "スタートページ(&S)"},
    {"MN_VIEW_VERSION", "バージョン情報(&V)"},
};

QString textOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return {};
}

class FrmMainLayoutTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        createWindow();
    }
};

TEST_F(FrmMainLayoutTest, WindowIsNamedFrmMainAndCaptionedMoza) {
    EXPECT_EQ(m_window->objectName(), "FrmMain");
    EXPECT_EQ(m_window->windowTitle(), "Moza");
}

TEST_F(FrmMainLayoutTest, ClientAreaIsFixedAt528By344) {
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    EXPECT_EQ(m_window->centralWidget()->size(), QSize(528, 344));
    EXPECT_EQ(m_window->minimumSize(), m_window->maximumSize());
    EXPECT_FALSE(m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(FrmMainLayoutTest, ControlsSitAtTheirPositionsAndSizes) {
    for (const PlacedControl& control : kPlacedControls) {
        QWidget* widget = child<QWidget>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
    }
}

TEST_F(FrmMainLayoutTest, OptionsSitInsideTheFrame) {
    QGroupBox* frame = child<QGroupBox>("Frame");
    for (const char* name : {"Label2", "colormono", "colorweb", "Label3", "TextTitle"}) {
        EXPECT_EQ(child<QWidget>(name)->parentWidget(), frame) << name;
    }
    EXPECT_EQ(frame->title(), "設定");
}

TEST_F(FrmMainLayoutTest, ControlsCarryTheirCaptions) {
    for (const Caption& caption : kControlCaptions) {
        EXPECT_EQ(textOf(child<QWidget>(caption.name)), QString::fromUtf8(caption.text)) << caption.name;
    }
}

TEST_F(FrmMainLayoutTest, PreviewDrawingAreaIs189By189InsideATwoPixelBorder) {
    PreviewBox* box = preview();
    EXPECT_EQ(box->contentsRect(), QRect(2, 2, 189, 189));
    EXPECT_EQ(box->frameShadow(), QFrame::Sunken);
}

TEST_F(FrmMainLayoutTest, TabOrderRunsFromViewToTitle) {
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

TEST_F(FrmMainLayoutTest, LabelsFrameAndPreviewTakeNoFocus) {
    for (const char* name : {"sPic", "Frame", "Label2", "Label3"}) {
        EXPECT_EQ(child<QWidget>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(FrmMainLayoutTest, MenuBarHoldsFileThenView) {
    const QList<QAction*> menus = m_window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->menu(), child<QMenu>("MN_FILE"));
    EXPECT_EQ(menus[1]->menu(), child<QMenu>("MN_VIEW"));
    EXPECT_EQ(menus[0]->text(), "ファイル(&F)");
    EXPECT_EQ(menus[1]->text(), "表示(&V)");
}

TEST_F(FrmMainLayoutTest, FileMenuListsOpenSaveSeparatorExit) {
    const QList<QAction*> items = child<QMenu>("MN_FILE")->actions();
    const QList<QAction*> expected = {action("MN_FILE_OPEN"), action("MN_FILE_SAVE"), action("MN_FILE_LINE"),
                                      action("MN_FILE_END")};
    EXPECT_EQ(items, expected);
    EXPECT_TRUE(action("MN_FILE_LINE")->isSeparator());
}

TEST_F(FrmMainLayoutTest, ViewMenuListsStartPageThenVersion) {
    const QList<QAction*> expected = {action("MN_VIEW_START"), action("MN_VIEW_VERSION")};
    EXPECT_EQ(child<QMenu>("MN_VIEW")->actions(), expected);
}

TEST_F(FrmMainLayoutTest, MenuItemsCarryCaptionsWithAccessKeysAndNoShortcuts) {
    for (const Caption& caption : kMenuCaptions) {
        QAction* item = action(caption.name);
        EXPECT_EQ(item->text(), QString::fromUtf8(caption.text)) << caption.name;
        EXPECT_TRUE(item->shortcut().isEmpty()) << caption.name;
    }
}

TEST_F(FrmMainLayoutTest, OnlySaveAsIsDisabledAtStart) {
    EXPECT_FALSE(saveAsEnabled());
    for (const char* name : {"MN_FILE_OPEN", "MN_FILE_END", "MN_VIEW_START", "MN_VIEW_VERSION"}) {
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(child<QPushButton>("MakeButton")->isEnabled());
}

TEST_F(FrmMainLayoutTest, StartsWithWebColourTitleAndMarkupEmptyPreviewWhite) {
    EXPECT_TRUE(child<QRadioButton>("colorweb")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("colormono")->isChecked());
    EXPECT_TRUE(child<QLineEdit>("TextTitle")->text().isEmpty());
    EXPECT_TRUE(htmltag()->markup().isEmpty());
    QImage white(189, 189, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(preview()->image(), white);
}

TEST_F(FrmMainLayoutTest, StateStartsEmpty) {
    EXPECT_EQ(m_window->picWidth(), 0.0f);
    EXPECT_EQ(m_window->picHeight(), 0);
    EXPECT_TRUE(m_window->outputPath().isEmpty());
    EXPECT_EQ(m_window->workingImage().width(), 0);
}

TEST_F(FrmMainLayoutTest, ViewShowsTheStartPageOfTheProgramFolder) {
    EXPECT_EQ(view()->currentPath(), programFolder() + "/data/index.html");
}

TEST_F(FrmMainLayoutTest, ChoosingMonochromeClearsWebColourAndBack) {
    auto* mono = child<QRadioButton>("colormono");
    auto* web = child<QRadioButton>("colorweb");
    mono->click();
    EXPECT_TRUE(mono->isChecked());
    EXPECT_FALSE(web->isChecked());
    web->click();
    EXPECT_TRUE(web->isChecked());
    EXPECT_FALSE(mono->isChecked());
}

TEST_F(FrmMainLayoutTest, ClickingTheSelectedOptionKeepsItSelected) {
    auto* web = child<QRadioButton>("colorweb");
    web->click();
    EXPECT_TRUE(web->isChecked());
    EXPECT_FALSE(child<QRadioButton>("colormono")->isChecked());
}

}  // namespace
}  // namespace moza::ui::testing
