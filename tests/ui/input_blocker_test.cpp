// InputBlocker: input during a long command is dropped, and flows again afterwards.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/input_blocker.h"

namespace moza::ui {
namespace {

TEST(InputBlockerTest, ClickWhileBlockedDoesNothing) {
    QPushButton button;
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    {
        const InputBlocker blocker;
        QTest::mouseClick(&button, Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);
}

TEST(InputBlockerTest, ClickAfterBlockingEndsWorks) {
    QPushButton button;
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    { const InputBlocker blocker; }
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(InputBlockerTest, TypingWhileBlockedChangesNoText) {
    QLineEdit edit;
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    {
        const InputBlocker blocker;
        QTest::keyClicks(&edit, "abc");
    }
    EXPECT_TRUE(edit.text().isEmpty());
}

TEST(InputBlockerTest, PaintAndTimerEventsAreNotInput) {
    const QEvent paint(QEvent::Paint);
    const QEvent timer(QEvent::Timer);
    const QEvent close(QEvent::Close);
    EXPECT_FALSE(InputBlocker::isUserInput(&paint));
    EXPECT_FALSE(InputBlocker::isUserInput(&timer));
    EXPECT_FALSE(InputBlocker::isUserInput(&close));
}

}  // namespace
}  // namespace moza::ui
