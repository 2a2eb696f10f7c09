// moza-convert's refusals as a user meets them: titles with markup, pages too large to make, and
// messages that name the cause (a title from a file name, a clash between two pictures of a run).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using MozaConvertRefusalsTest = moza::testing::ScratchFolderTest;

TEST_F(MozaConvertRefusalsTest, MarkupInTitlesPagesTooLargeAndClashesAreRefusedSayingWhy) {
    const std::string table = file("table.csv", "0,0,0,0,0,0,0,0,0,33088\r\n10,10,10,10,10,10,10,10,10,33185\r\n").string();
    const std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0\0\0"
                          "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\xFF\xFF\0", 58);  // 1 x 1, white
    const std::string picture = file("one.bmp", bmp).string();
    const std::string page = (m_folder / "page.html").string();
    auto run = [&](const std::vector<std::string>& arguments) {  // its exit status and standard error
        std::string command = "'" + std::string(MOZA_PROGRAM_DIR) + "/moza-convert' --table '" + table + "'";
        for (const std::string& a : arguments) command += " '" + a + "'";
        command += " >/dev/null 2>'" + (m_folder / "err.txt").string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        return std::pair(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, moza::ReadWholeFile(m_folder / "err.txt").value());
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-t", "</title><script>alert(1)</script>", "-o", page, picture}, "the title cannot hold '<' (U+003C): it goes "
         "into the page as it is, where a browser would read it as the start or end of markup, not as text"},
        {{"-o", page, file("bad\xFF.bmp", bmp).string()},
         "not valid UTF-8 (byte 4); the title is the picture's file name: give another with -t\n"},
        {{"--allow-enlarge", "--width", "100000", "-o", page, picture}, "enlarged to 30765 x 32766 pixels, more than the 33554432 "
         "pixels (128 MB) a picture may have; ask for a smaller page with --width, --height or --max-cells, or leave out --allow-enlarge"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto [status, err] = run(arguments);
        EXPECT_EQ(status, 1) << message;
        EXPECT_THAT(err, HasSubstr(message));
        EXPECT_FALSE(fs::exists(page)) << message;
    }

    // Two pictures of one run with one page name (in the same second): the other picture is named.
    const std::string second = file("two.bmp", bmp).string();
    const std::string title = "moza-cli-test-clash-" + m_folder.filename().string();
    std::string err;
    for (int tries = 0; tries < 5 && err.find("in this run") == std::string::npos; ++tries) {
        err = run({"-t", title, picture, second}).second;
    }
    for (const auto& entry : fs::directory_iterator(fs::path(MOZA_PROGRAM_DIR) / "temp"))
        if (entry.path().filename().string().find(title) != std::string::npos) fs::remove(entry.path());
    EXPECT_THAT(err, HasSubstr("cannot convert '" + second + "': its page '"));
    EXPECT_THAT(err, HasSubstr("is the page of '" + picture + "' in this run; give it another title (-t) or output (-o)\n"));
}

}  // namespace
