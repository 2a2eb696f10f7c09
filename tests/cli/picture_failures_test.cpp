// moza-convert run as a user runs it, on pictures it cannot have at first: memory that runs out
// beside another picture, and a folder the user may not search.
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace {

using PictureFailuresTest = moza::testing::ScratchFolderTest;

#ifndef __SANITIZE_ADDRESS__  // which needs more address space than the limit leaves
TEST_F(PictureFailuresTest, APictureThatRanOutOfMemoryIsTriedAloneAndOneInALockedFolderNamesIt) {
    QImage picture(6000, 4000, QImage::Format_RGB32);  // 96 MB once decoded: one fits beside the program, two do not
    picture.fill(qRgb(200, 100, 50));
    ASSERT_TRUE(picture.save(QString::fromStdString((m_folder / "a.png").string())) &&
                picture.save(QString::fromStdString((m_folder / "b.png").string())));
    std::filesystem::create_directories(m_folder / "locked");
    std::filesystem::permissions(m_folder / "locked", std::filesystem::perms::none);
    std::filesystem::permissions(m_folder, std::filesystem::perms::all);
    // Root may search any folder: the run is a user's whom permissions stop.
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const int status = std::system(("cd '" + m_folder.string() + "' && ulimit -v 300000 && " + asUser + "'" + MOZA_PROGRAM_DIR +
                                    "/moza-convert' -j 2 --width 30 -o pages/ a.png b.png locked/x.png 2>stderr.txt >/dev/null")
                                       .c_str());
    std::filesystem::permissions(m_folder / "locked", std::filesystem::perms::all);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(moza::ReadWholeFile(m_folder / "stderr.txt").value(),
              "moza-convert: cannot load 'locked/x.png': permission denied on the folder 'locked' (its files may not be "
              "reached)\nmoza-convert: 2 of 3 pictures converted; 1 failed\n");
}
#endif

}  // namespace
