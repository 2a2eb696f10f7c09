// Page file names from the clock and the title, and the titles a page or a file name cannot hold.
#include "convert/page_name.h"

#include <gtest/gtest.h>

#include <tuple>

namespace moza::convert {
namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) = std::tuple(year - 1900, month - 1, day, hour, minute, second);
    return t;
}


TEST(PageFileNameTest, PiecesHaveLeadingZeros) {
    EXPECT_EQ(PageFileName(at(2026, 12, 5, 18, 46, 7), "cat"), "20261205_184607_cat.html");
    EXPECT_EQ(PageFileName(at(2026, 1, 5, 9, 3, 4), "a"), "20260105_090304_a.html");
    EXPECT_EQ(PageFileName(at(2026, 12, 5, 18, 46, 7), ""), "20261205_184607_.html");
    EXPECT_EQ(PageFileName(at(987, 1, 1, 0, 0, 0), "猫"), "09870101_000000_猫.html");
}

TEST(PageFileNameTest, TitlesAFileNameCannotHoldAreRefused) {
    for (const char* title : {"a/b", "..\\x", "c:d", "*", "what?", "say \"hi\"", "<b>", "a>b", "a|b", "tab\there", "\x1F", "\x7F"}) {
        const Status checked = CheckTitleForFileName(title);
        EXPECT_FALSE(checked.ok()) << title;
    }
    EXPECT_EQ(CheckTitleForFileName("a/b").error().message,
              "the title cannot be part of a file name: it holds '/' (U+002F) (a file name cannot hold \\ / : * ? \" < > | or control characters)");
    const Error slash = CheckTitleForFileName("猫/犬").error();
    EXPECT_EQ(slash.kind, ErrorKind::TitleCharacterInFileName);
    EXPECT_EQ(slash.text, "/");
    EXPECT_EQ(slash.numbers, ErrorNumbers{.codePoint = 0x2F});
    EXPECT_EQ(CheckTitleForFileName("ab\xFF").error().numbers, ErrorNumbers{.byte = 3});  // the byte that is not UTF-8
    for (const char* title : {"", "cat", "猫の写真", "a.b c-d_e", "..", "&amp;"}) {
        EXPECT_TRUE(CheckTitleForFileName(title).ok()) << title;
    }
}

TEST(PageFileNameTest, TitlesWithLineBreaksOrMarkupCannotGoIntoAPage) {
    for (const char* title : {"a\nb", "a\r", "</title><script>alert(1)</script>", "a>b"}) EXPECT_FALSE(CheckTitleForPage(title).ok());
    EXPECT_EQ(CheckTitleForPage("猫</title>").error().kind, ErrorKind::TitleMarkup);
    EXPECT_TRUE(CheckTitleForPage("a\tb &amp; \"i\"").ok());
}

}  // namespace
}  // namespace moza::convert
