// The program folder as the system reports it, and fixed paths formed from it as plain text.
#include "common/program_folder.h"

#include <gtest/gtest.h>

namespace moza {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kThisProgram = "moza_common_tests.exe";
#else
constexpr const char* kThisProgram = "moza_common_tests";
#endif

TEST(ProgramFolderTest, IsTheFolderOfThisProgram) {
    const fs::path folder = ProgramFolder();
    EXPECT_TRUE(folder.is_absolute()) << folder.string();
    EXPECT_TRUE(fs::is_regular_file(folder / kThisProgram)) << folder.string();
    EXPECT_FALSE(folder.filename().empty()) << "no separator at the end: " << folder.string();
}

TEST(ProgramFolderTest, FixedPathsAppendTheSuffixAsPlainTextWithTheSystemSeparator) {
#ifdef _WIN32
    EXPECT_EQ(FixedPath(L"C:\\Moza", "/data/char.csv").native(), L"C:\\Moza\\data\\char.csv");
    EXPECT_EQ(FixedPath(L"C:\\", "/temp/").native(), L"C:\\\\temp\\");  // a drive root keeps its backslash
    EXPECT_EQ(FixedPath(L"C:\\モザ", "/data").native(), L"C:\\モザ\\data");
#else
    EXPECT_EQ(FixedPath("/opt/moza", "/data/char.csv").native(), "/opt/moza/data/char.csv");
    EXPECT_EQ(FixedPath("/", "/temp/").native(), "//temp/");
    EXPECT_EQ(FixedPath("/opt/モザ", "/data").native(), "/opt/モザ/data");
#endif
}

}  // namespace
}  // namespace moza
