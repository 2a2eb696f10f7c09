// InputBlocker: input during a long command is dropped, and flows again afterwards.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/input_blocker.h"

namespace moza::ui {
namespace {

TEST(InputBlockerTest, ClicksAndTypingWhileBlockedAreDroppedAndFlowAgainAfterwards) {
    QWidget window;
    auto* button = new QPushButton(&window);
    auto* edit = new QLineEdit(&window);
    edit->move(0, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    {
        const InputBlocker blocker;
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClicks(edit, "abc");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClicks(edit, "abc");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->text(), "abc");
}

}  // namespace
}  // namespace moza::ui
