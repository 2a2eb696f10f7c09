// ProgramPaths: which layout a program folder has, the per-user temp folder, and the environment.
#include "common/program_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

namespace moza {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

/// A scratch folder standing for a prefix: <root>/bin is the program folder.
class ProgramPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A Japanese folder name: the paths must survive every system's file name encoding.
        fs::path name(u8"moza-プログラム-");
        name += ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_root = fs::temp_directory_path() / name;
        fs::remove_all(m_root);
        fs::create_directories(bin());
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path bin() const { return m_root / "bin"; }
    fs::path home() const { return m_root / "home"; }
    void makeFolder(const fs::path& relative) const { fs::create_directories(m_root / relative); }

    fs::path m_root;
};

TEST_F(ProgramPathsTest, DataBesideTheProgramIsAProgramFolderUsedAsItIs) {
    makeFolder("bin/data");
    makeFolder("share/moza/data");  // an installed copy under the same prefix changes nothing
    const ProgramPaths paths = ProgramPaths::Find(bin(), home());
    EXPECT_FALSE(paths.installed());
    EXPECT_EQ(paths.dataFolder().native(), bin().native() + fs::path("/data").make_preferred().native());
    EXPECT_EQ(paths.tempFolder().native(), bin().native() + fs::path("/temp/").make_preferred().native());
    EXPECT_EQ(paths.dataFile(kCharDataName).native(), bin().native() + fs::path("/data/char.csv").make_preferred().native());
}

TEST_F(ProgramPathsTest, InstalledProgramReadsSharedDataAndWritesToTheUsersFolder) {
    makeFolder("share/moza/data");
    const ProgramPaths paths = ProgramPaths::Find(bin(), home());
    EXPECT_TRUE(paths.installed());
    EXPECT_EQ(paths.dataFolder(), (m_root / "share" / "moza" / "data").lexically_normal());
    EXPECT_EQ(paths.tempFolder(), home() / "moza" / "temp" / "");
    EXPECT_EQ(paths.dataFile(kStartPageName), (m_root / "share" / "moza" / "data" / "index.html").lexically_normal());
}

TEST_F(ProgramPathsTest, WithoutAnyDataTheFolderBesideTheProgramIsNamed) {
    const ProgramPaths paths = ProgramPaths::Find(bin(), home());
    EXPECT_FALSE(paths.installed());
    EXPECT_EQ(paths.dataFile(kTitlePictureName).native(),
              bin().native() + fs::path("/data/title.bmp").make_preferred().native());
}

TEST_F(ProgramPathsTest, PerUserTempFolderIsCreatedWhenMissing) {
    makeFolder("share/moza/data");
    const ProgramPaths paths = ProgramPaths::Find(bin(), home());
    ASSERT_TRUE(paths.prepareTempFolder());
    EXPECT_TRUE(fs::is_directory(home() / "moza" / "temp"));
    EXPECT_TRUE(paths.prepareTempFolder());  // and left alone when it is there
}

TEST_F(ProgramPathsTest, TempFolderBesideTheProgramIsNeverCreated) {
    makeFolder("bin/data");
    EXPECT_TRUE(ProgramPaths::Find(bin(), home()).prepareTempFolder());
    EXPECT_FALSE(fs::exists(bin() / "temp"));
}

TEST_F(ProgramPathsTest, TempFolderBlockedByAFileIsReportedByName) {
    makeFolder("share/moza/data");
    makeFolder("home");
    std::ofstream(home() / "moza") << "not a folder";
    const Status prepared = ProgramPaths::Find(bin(), home()).prepareTempFolder();
    ASSERT_FALSE(prepared);
    EXPECT_THAT(prepared.error().message, HasSubstr("cannot create the folder '" + (home() / "moza" / "temp" / "").string() + "'"));
}

TEST_F(ProgramPathsTest, InstalledProgramOfAUserWithoutAFolderCannotWritePages) {
    makeFolder("share/moza/data");
    const ProgramPaths paths = ProgramPaths::Find(bin(), {});
    EXPECT_TRUE(paths.tempFolder().empty());
    const Status prepared = paths.prepareTempFolder();
    ASSERT_FALSE(prepared);
    EXPECT_THAT(prepared.error().message, HasSubstr("no folder for pages"));
}

#ifndef _WIN32
struct DataHomeCase {
    const char* name;
    std::map<std::string, std::string> environment;
    fs::path expected;
};

class UserDataHomeTest : public ::testing::TestWithParam<DataHomeCase> {};

TEST_P(UserDataHomeTest, FollowsTheXdgRules) {
    const auto& environment = GetParam().environment;
    const fs::path dataHome = UserDataHome([&](const char* name) -> fs::path {
        const auto found = environment.find(name);
        return found == environment.end() ? fs::path() : fs::path(found->second);
    });
    EXPECT_EQ(dataHome, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Environments, UserDataHomeTest,
                         ::testing::Values(
                             DataHomeCase{"XdgDataHomeWins", {{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/u"}}, "/x/data"},
                             DataHomeCase{"HomeAlone", {{"HOME", "/home/u"}}, "/home/u/.local/share"},
                             DataHomeCase{"RelativeXdgIsIgnored", {{"XDG_DATA_HOME", "relative"}, {"HOME", "/home/u"}},
                                          "/home/u/.local/share"},
                             DataHomeCase{"EmptyXdgIsIgnored", {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share"},
                             DataHomeCase{"NeitherGivesNone", {}, ""}),
                         [](const ::testing::TestParamInfo<DataHomeCase>& testCase) { return std::string(testCase.param.name); });
#endif

}  // namespace
}  // namespace moza
