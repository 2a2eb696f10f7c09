// ProgramPaths: which layout a program folder has, the per-user temp folder, and the environment.
#include "common/program_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "scratch_folder.h"

namespace moza {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

/// A scratch folder standing for a prefix: <root>/bin is the program folder.
class ProgramPathsTest : public testing::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        // A Japanese folder name: the paths must survive every system's file name encoding.
        m_root = m_folder / fs::path(u8"プログラム");
        fs::create_directories(bin());
    }

    fs::path bin() const { return m_root / "bin"; }
    fs::path home() const { return m_root / "home"; }
    void makeFolder(const fs::path& relative) const { fs::create_directories(m_root / relative); }

    fs::path m_root;
};

TEST_F(ProgramPathsTest, DataBesideTheProgramWinsThenSharedDataThenTheFolderBesideIsNamed) {
    const fs::path beside = bin() / "data";
    const fs::path shared = (m_root / "share" / "moza" / "data").lexically_normal();
    const struct {
        std::vector<fs::path> folders;
        bool installed;
        fs::path data, temp;
    } cases[] = {
        {{"bin/data", "share/moza/data"}, false, beside, bin() / "temp" / ""},
        {{"share/moza/data"}, true, shared, home() / "moza" / "temp" / ""},
        {{}, false, beside, bin() / "temp" / ""},
    };
    for (const auto& c : cases) {
        fs::remove_all(m_root / "share");
        fs::remove_all(bin() / "data");
        for (const fs::path& folder : c.folders) makeFolder(folder);
        const ProgramPaths paths = ProgramPaths::Find(bin(), home());
        EXPECT_EQ(paths.installed(), c.installed) << c.data;
        EXPECT_EQ(fs::path(paths.dataFolder()).make_preferred().lexically_normal(), fs::path(c.data).make_preferred());
        EXPECT_EQ(fs::path(paths.tempFolder()).make_preferred(), fs::path(c.temp).make_preferred());
        EXPECT_EQ(fs::path(paths.dataFile(kCharDataName)).make_preferred().lexically_normal(),
                  (c.data / "char.csv").make_preferred());
    }
}

TEST_F(ProgramPathsTest, EitherTempFolderIsCreatedWhenMissingAndFailuresSayWhy) {
    makeFolder("bin/data");
    EXPECT_TRUE(ProgramPaths::Find(bin(), home()).prepareTempFolder());
    EXPECT_TRUE(fs::is_directory(bin() / "temp")) << "a program folder's deleted temp/ is made again";

    fs::remove_all(bin() / "data");
    makeFolder("share/moza/data");
    const ProgramPaths installed = ProgramPaths::Find(bin(), home());
    ASSERT_TRUE(installed.prepareTempFolder());
    EXPECT_TRUE(fs::is_directory(home() / "moza" / "temp"));
    EXPECT_TRUE(installed.prepareTempFolder());  // and left alone when it is there

    fs::remove_all(home());
    makeFolder("home");
    std::ofstream(home() / "moza") << "not a folder";
    const Status blocked = installed.prepareTempFolder();
    ASSERT_FALSE(blocked);
    EXPECT_THAT(blocked.error().message, HasSubstr("cannot create the folder '" + (home() / "moza" / "temp" / "").string() + "'"));

    const ProgramPaths homeless = ProgramPaths::Find(bin(), {});
    EXPECT_TRUE(homeless.tempFolder().empty());
    ASSERT_FALSE(homeless.prepareTempFolder());
    EXPECT_THAT(homeless.prepareTempFolder().error().message, HasSubstr("no folder for pages"));
}

#ifndef _WIN32
TEST(UserDataHomeTest, FollowsTheXdgRules) {
    const struct {
        std::map<std::string, std::string> environment;
        fs::path expected;
        std::string whyNone;
    } cases[] = {
        {{{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/u"}}, "/x/data", ""},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share", ""},
        {{{"XDG_DATA_HOME", "relative"}, {"HOME", "/home/u"}}, "/home/u/.local/share", ""},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share", ""},
        {{}, "", "neither XDG_DATA_HOME nor HOME is set"},
        {{{"XDG_DATA_HOME", "rel"}}, "", "XDG_DATA_HOME is relative ('rel'), so it does not count, and HOME is not set"},
    };
    for (const auto& c : cases) {
        const EnvironmentLookup lookup = [&](const char* name) -> fs::path {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? fs::path() : fs::path(found->second);
        };
        EXPECT_EQ(UserDataHome(lookup), c.expected) << c.expected;
        EXPECT_EQ(WhyNoUserDataHome(lookup), c.whyNone) << c.expected;
    }
}
#endif

}  // namespace
}  // namespace moza
