// moza-convert's refusals as a user meets them: titles with markup, pages too large to make,
// and messages that name the cause (a title from a file name, a clash between two pictures).
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
using ::testing::Not;

class MozaConvertRefusalsTest : public moza::testing::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        m_table = file("table.csv", "0,0,0,0,0,0,0,0,0,33088\r\n10,10,10,10,10,10,10,10,10,33185\r\n").string();
        // A 1 x 1 white BMP.
        m_picture = file("one.bmp", std::string("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"
                                                "\0\0\0\0\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\xFF\xFF\0", 58))
                        .string();
    }

    /// Runs moza-convert with the test's table and `arguments`; its exit status and standard error.
    std::pair<int, std::string> run(const std::vector<std::string>& arguments) const {
        std::string command = "'" + std::string(MOZA_PROGRAM_DIR) + "/moza-convert' --table '" + m_table + "'";
        for (const std::string& a : arguments) command += " '" + a + "'";
        const fs::path err = m_folder / "stderr.txt";
        command += " >/dev/null 2>'" + err.string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, moza::ReadWholeFile(err).value()};
    }

    std::string m_table;
    std::string m_picture;
};

TEST_F(MozaConvertRefusalsTest, TitlesThatWouldOpenMarkupAndPagesTooLargeAreRefusedSayingWhy) {
    const std::string page = (m_folder / "page.html").string();
    const std::string unnamed = file("bad\xFF<.bmp", moza::ReadWholeFile(m_picture).value()).string();
    const std::string budget = "more than the 33554432 pixels (128 MB) a picture may have; ask for a smaller page with "
                               "--width, --height or --max-cells, or leave out --allow-enlarge";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-t", "</title><script>alert(1)</script>", "-o", page, m_picture}, "the title cannot hold '<' (U+003C): it goes "
         "into the page as it is, where a browser would read it as the start or end of markup, not as text"},
        {{"-o", page, unnamed}, "; the title is the picture's file name: give another with -t\n"},
        {{"--allow-enlarge", "--width", "100000", "-o", page, m_picture}, "enlarged to 30765 x 32766 pixels, " + budget},
        {{"--allow-enlarge", "--max-cells", "1000000000", "-o", page, m_picture}, budget},
    };
    for (const auto& [arguments, message] : cases) {
        const auto [status, err] = run(arguments);
        EXPECT_EQ(status, 1) << message;
        EXPECT_THAT(err, HasSubstr(message));
        EXPECT_FALSE(fs::exists(page)) << message;
    }
}

TEST_F(MozaConvertRefusalsTest, TwoPicturesOfOneRunWithOnePageNameBlameEachOtherNotAnotherRun) {
    fs::create_directories(m_folder / "two");
    const std::string second = (m_folder / "two" / "one.bmp").string();
    fs::copy_file(m_picture, second);
    const fs::path temp = fs::path(MOZA_PROGRAM_DIR) / "temp";
    const std::string title = "moza-cli-test-clash-" + m_folder.filename().string();
    std::string err;
    for (int tries = 0; tries < 5 && err.find("in this run") == std::string::npos; ++tries) {  // same second
        err = run({"-t", title, m_picture, second}).second;
    }
    for (const auto& entry : fs::directory_iterator(temp))
        if (entry.path().filename().string().find(title) != std::string::npos) fs::remove(entry.path());
    EXPECT_THAT(err, HasSubstr("cannot convert '" + second + "': its page '"));
    EXPECT_THAT(err, HasSubstr("is the page of '" + m_picture + "' in this run"));
    EXPECT_THAT(err, Not(HasSubstr("another run")));
}

}  // namespace
