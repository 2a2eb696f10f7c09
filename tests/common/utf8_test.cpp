// UTF-8 by hand: every length's first and last code point, the sequences that are no text, and
// how a character is named in messages (a printable one in the code page's messages).
#include "common/utf8.h"

#include <gtest/gtest.h>

namespace moza {
namespace {

TEST(Utf8Test, CodePointsAtEachLengthsEdgesGoBothWaysAndSequencesThatAreNoTextAreRefused) {
    const std::pair<char32_t, std::string> cases[] = {
        {0x7F, "\x7F"},          {0x80, "\xC2\x80"},          {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0xD7FF, "\xED\x9F\xBF"},    {0xE000, "\xEE\x80\x80"},
        {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"}, {0x40000, "\xF1\x80\x80\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [value, bytes] : cases) {
        EXPECT_EQ(EncodeUtf8(value), bytes) << static_cast<unsigned>(value);
        const CodePoint decoded = DecodeUtf8(bytes + "x");
        EXPECT_TRUE(decoded.value == value && decoded.length == static_cast<int>(bytes.size())) << bytes;
    }
    for (const char* bytes : {"", "\x80", "\xFF", "\xE3\x81", "\xE3\x41\x81", "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
                              "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80"}) {
        EXPECT_EQ(DecodeUtf8(bytes).length, 0) << ::testing::PrintToString(bytes);
    }
    EXPECT_EQ(DecodeUtf8(std::string_view("\xE3\x81\x82", 2)).length, 0);  // cut short where the next byte would end it
    for (const auto& [character, named] : {std::pair{"\x1F", "a control character (U+001F)"}, {" ", "' ' (U+0020)"}, {"\x7F", "a control character (U+007F)"}})
        EXPECT_EQ(DescribeCharacter(character, DecodeUtf8(character).value), named);
}

TEST(Utf8Test, APrefixNeverEndsInsideACharacter) {
    const std::string text = "a\xC3\xA9\xE7\x8C\xAB\xF0\x9F\x90\x88";  // a, é, 猫, 🐈
    const std::size_t kept[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10};
    for (std::size_t bytes = 0; bytes < std::size(kept); ++bytes)
        EXPECT_EQ(Utf8Prefix(text, bytes), text.substr(0, kept[bytes])) << bytes;
}

}  // namespace
}  // namespace moza
