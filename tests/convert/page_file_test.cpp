// Page files: names, bytes, refused titles, and failed writes that leave nothing behind.
#include "convert/page_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "common/file_text.h"

namespace moza::convert {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class PageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("moza-page-file-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path m_folder;
};

TEST(PageFileNameTest, PiecesHaveLeadingZeros) {
    EXPECT_EQ(PageFileName(at(2026, 12, 5, 18, 46, 7), "cat"), "20261205_184607_cat.html");
    EXPECT_EQ(PageFileName(at(2026, 1, 5, 9, 3, 4), "a"), "20260105_090304_a.html");
    EXPECT_EQ(PageFileName(at(2026, 12, 5, 18, 46, 7), ""), "20261205_184607_.html");
    EXPECT_EQ(PageFileName(at(987, 1, 1, 0, 0, 0), "猫"), "09870101_000000_猫.html");
}

TEST(PageFileNameTest, TitlesAFileNameCannotHoldAreRefused) {
    for (const char* title : {"a/b", "..\\x", "c:d", "*", "what?", "say \"hi\"", "<b>", "a>b", "a|b", "tab\there", "\x7F"}) {
        const Status checked = CheckTitleForFileName(title);
        EXPECT_FALSE(checked.ok()) << title;
    }
    EXPECT_EQ(CheckTitleForFileName("a/b").error().message,
              "the title cannot be part of a file name: it holds '/' (U+002F) (a file name cannot hold \\ / : * ? \" < > | or control characters)");
    for (const char* title : {"", "cat", "猫の写真", "a.b c-d_e", "..", "&amp;"}) {
        EXPECT_TRUE(CheckTitleForFileName(title).ok()) << title;
    }
}

TEST(PageFileNameTest, TitlesWithLineBreaksCannotGoIntoAPage) {
    EXPECT_FALSE(CheckTitleForPage("a\nb").ok());
    EXPECT_FALSE(CheckTitleForPage("a\r").ok());
    EXPECT_TRUE(CheckTitleForPage("a\tb <i>").ok());
}

TEST_F(PageFileTest, ThePageFileHoldsTheQuotedDocumentAndCrLf) {
    const fs::path path = PageFilePath(m_folder, at(2026, 12, 5, 18, 46, 7), "cat").value();
    EXPECT_EQ(path, m_folder / "20261205_184607_cat.html");
    ASSERT_TRUE(WritePageFile(path, "cat", "<table>\x81\xA1\"</table>").ok());
    EXPECT_EQ(ReadWholeFile(path).value(),
              "\"<html><head><title>cat</title></head><body text=#000000><table>\x81\xA1\"</table></body></html>\"\r\n");
    EXPECT_THAT(files(), ::testing::ElementsAre("20261205_184607_cat.html"));
}

TEST_F(PageFileTest, ASecondPageOfTheSameNameReplacesTheFirst) {
    const fs::path path = m_folder / "page.html";
    ASSERT_TRUE(WritePageFile(path, "one", "<table></table>").ok());
    ASSERT_TRUE(WritePageFile(path, "two", "<table></table>").ok());
    EXPECT_THAT(ReadWholeFile(path).value(), HasSubstr("<title>two</title>"));
    EXPECT_EQ(files().size(), 1u);
}

TEST_F(PageFileTest, AMissingFolderIsReportedAndNothingIsWritten) {
    const fs::path path = m_folder / "temp" / "page.html";
    const Status written = WritePageFile(path, "t", "<table></table>");
    ASSERT_FALSE(written.ok());
    EXPECT_THAT(written.error().message, HasSubstr("does not exist"));
    EXPECT_THAT(written.error().message, HasSubstr(path.string()));
    EXPECT_TRUE(files().empty());
}

TEST_F(PageFileTest, AFailedWriteLeavesTheEarlierPageIntactAndNoPartialFile) {
    const fs::path path = m_folder / "page.html";
    ASSERT_TRUE(WritePageFile(path, "earlier", "<table></table>").ok());
    {
        Result<AtomicFileWriter> writer = AtomicFileWriter::open(path);
        ASSERT_TRUE(writer.ok());
        writer.value().write("\"<html>half a page");
        // Destroyed without commit, as when composing fails part-way.
    }
    EXPECT_THAT(ReadWholeFile(path).value(), HasSubstr("earlier"));
    EXPECT_THAT(files(), ::testing::ElementsAre("page.html"));
}

#ifndef _WIN32
TEST_F(PageFileTest, AWriteTheSystemRefusesIsReportedAndLeavesNothing) {
    // A file-size limit makes the system refuse writes part-way, as a full disk does.
    const fs::path path = m_folder / "page.html";
    ASSERT_TRUE(WritePageFile(path, "earlier", "<table></table>").ok());
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status written = WritePageFile(path, "big", std::string(1 << 20, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_FALSE(written.ok());
    EXPECT_THAT(written.error().message, HasSubstr("cannot write '" + path.string() + "'"));
    EXPECT_THAT(ReadWholeFile(path).value(), HasSubstr("earlier"));
    EXPECT_THAT(files(), ::testing::ElementsAre("page.html"));
}
#endif

#ifndef _WIN32
TEST_F(PageFileTest, APipeIsWrittenIntoNotReplaced) {
    const fs::path fifo = m_folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadWholeFile(fifo).value(); });
    const Status written = WritePageFile(fifo, "t", "<table></table>");
    reader.join();
    ASSERT_TRUE(written.ok()) << written.error().message;
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(received, "\"<html><head><title>t</title></head><body text=#000000><table></table></body></html>\"\r\n");
    EXPECT_THAT(files(), ::testing::ElementsAre("pipe"));
}

TEST_F(PageFileTest, ALinkIsWrittenThroughAndStaysALink) {
    const fs::path target = m_folder / "real.html";
    std::ofstream(target) << "old";
    const fs::path link = m_folder / "link.html";
    fs::create_symlink(target, link);
    ASSERT_TRUE(WritePageFile(link, "t", "<table></table>").ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_THAT(ReadWholeFile(target).value(), HasSubstr("<title>t</title>"));
}
#endif

TEST_F(PageFileTest, CopyReplacesTheDestinationWithACompleteCopy) {
    const fs::path from = m_folder / "page.html";
    const fs::path to = m_folder / "saved.html";
    ASSERT_TRUE(WritePageFile(from, "t", "<table>\x82\xA0</table>").ok());
    std::ofstream(to) << "an older file that is longer than the page, so truncation matters ....................................";
    ASSERT_TRUE(CopyPageFile(from, to).ok());
    EXPECT_EQ(ReadWholeFile(to).value(), ReadWholeFile(from).value());
}

TEST_F(PageFileTest, ACopyOfAMissingPageFailsAndLeavesTheDestination) {
    const fs::path to = m_folder / "saved.html";
    std::ofstream(to) << "keep me";
    const Status copied = CopyPageFile(m_folder / "gone.html", to);
    ASSERT_FALSE(copied.ok());
    EXPECT_THAT(copied.error().message, HasSubstr("gone.html"));
    EXPECT_EQ(ReadWholeFile(to).value(), "keep me");
}

TEST_F(PageFileTest, ACopyIntoAMissingFolderFails) {
    const fs::path from = m_folder / "page.html";
    ASSERT_TRUE(WritePageFile(from, "t", "<table></table>").ok());
    EXPECT_FALSE(CopyPageFile(from, m_folder / "no" / "saved.html").ok());
}

}  // namespace
}  // namespace moza::convert
