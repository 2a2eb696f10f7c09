// moza-convert run as a user runs it, on pictures it cannot have: memory that runs out beside
// another picture, and paths that lead to no file.
#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class PictureFailuresTest : public moza::testing::ScratchFolderTest {
protected:
    /// Runs `prefix` moza-convert `arguments` through the shell in the scratch folder; its exit
    /// status and standard error.
    std::pair<int, std::string> run(const std::string& prefix, const std::string& arguments) const {
        const fs::path err = m_folder / "stderr.txt";
        const std::string command = "cd '" + m_folder.string() + "' && " + prefix + " '" + MOZA_PROGRAM_DIR +
                                    "/moza-convert' " + arguments + " 2>'" + err.string() + "' </dev/null >/dev/null";
        const int raw = std::system(command.c_str());
        std::string text = moza::ReadWholeFile(err).value();
        fs::remove(err);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text};
    }
};

#ifndef __SANITIZE_ADDRESS__  // which needs more address space than the limit leaves
TEST_F(PictureFailuresTest, APictureThatRanOutOfMemoryBesideAnotherIsConvertedAloneAfterwards) {
    // 96 MB each once decoded: one fits beside the program under the limit, two at once do not.
    QImage picture(6000, 4000, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    ASSERT_TRUE(picture.save(QString::fromStdString((m_folder / "a.png").string())));
    fs::copy_file(m_folder / "a.png", m_folder / "b.png");
    picture = QImage();
    const auto [status, err] = run("ulimit -v 300000;", "-j 2 --width 30 -o pages/ a.png b.png");
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err, "moza-convert: 2 of 2 pictures converted\n");
    EXPECT_TRUE(fs::exists(m_folder / "pages/a.html") && fs::exists(m_folder / "pages/b.html"));
}
#endif

TEST_F(PictureFailuresTest, PathsThatLeadToNoPictureSayWhy) {
    fs::create_symlink("loop-b", m_folder / "loop-a");
    fs::create_symlink("loop-a", m_folder / "loop-b");
    fs::create_directories(m_folder / "locked");
    std::ofstream(m_folder / "locked/x.png") << "x";
    fs::permissions(m_folder / "locked", fs::perms::none);
    fs::permissions(m_folder, fs::perms::all);
    // Root may search any folder: the locked one is tried as a user whom permissions stop.
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
    const std::pair<std::string, std::string> cases[] = {
        {"loop-a", "cannot load 'loop-a': too many levels of symbolic links"},
        {"locked/x.png", "cannot load 'locked/x.png': permission denied on the folder 'locked'"},
        {"https://example.com/x.jpg", "cannot load 'https://example.com/x.jpg': it is a web address; Moza reads only local files"},
        {"missing.png", "cannot load 'missing.png': the file does not exist"},
    };
    for (const auto& [picture, message] : cases) {
        const auto [status, err] = run(asUser, "--table '" + std::string(MOZA_PROGRAM_DIR) + "/data/char.csv' -o /dev/null '" + picture + "'");
        EXPECT_EQ(status, 1) << picture;
        EXPECT_THAT(err, HasSubstr(message));
    }
    fs::permissions(m_folder / "locked", fs::perms::all);
}

}  // namespace
