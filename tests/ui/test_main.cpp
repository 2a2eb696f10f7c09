// The UI tests' entry point: the page engine prepared, then one Japanese application object for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <iostream>

#include "common/program_paths.h"
#include "picture/path_text.h"
#include "ui/art/page_font.h"
#include "ui/japanese.h"
#include "ui/page/page_view.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as CTest does to discover them) needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    // In Japanese, as the program runs.
    const QStringList missing = moza::ui::InstallJapanese(app);
    if (!missing.isEmpty()) {
        std::cerr << "missing Japanese catalogues: " << missing.join(QStringLiteral(", ")).toStdString() << "\n";
        return 1;
    }
    // The page font as the program finds it at start: Windows has no IPAGothic of its own.
    if (!moza::ui::RegisterGlyphFont(moza::picture::ToText(moza::ProgramPaths::ForThisProgram().dataFolder())))
        std::cerr << "the page font IPAGothic is neither installed nor in the program folder\n";
    return RUN_ALL_TESTS();
}
