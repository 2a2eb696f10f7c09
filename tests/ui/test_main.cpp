// The UI tests' entry point: the page engine prepared, then one application object for every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/page_view.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as CTest does to discover them) needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
