// The UI tests' entry point: the page engine prepared, then one application object for every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/page_view.h"

int main(int argc, char** argv) {
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
