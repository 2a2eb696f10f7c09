// Code page 932 text: titles in, markup out, and characters that cannot be written.
#include "convert/cp932.h"

#include <gtest/gtest.h>

namespace moza::convert {
namespace {

TEST(Cp932Test, JapaneseAndAsciiConvertBothWays) {
    const std::string utf8 = "cat あ漢字■ｱ";
    const std::string cp932 = "cat \x82\xA0\x8A\xBF\x8E\x9A\x81\xA1\xB1";
    ASSERT_TRUE(Utf8ToCp932(utf8).ok());
    EXPECT_EQ(Utf8ToCp932(utf8).value(), cp932);
    ASSERT_TRUE(Cp932ToUtf8(cp932).ok());
    EXPECT_EQ(Cp932ToUtf8(cp932).value(), utf8);
    EXPECT_EQ(Utf8ToCp932("").value(), "");
}

TEST(Cp932Test, ACharacterOutsideTheCodePageIsNamed) {
    const Result<std::string> title = Utf8ToCp932("café");
    ASSERT_FALSE(title.ok());
    EXPECT_EQ(title.error().message, "the character 'é' (U+00E9) cannot be written in code page 932");
    const Result<std::string> emoji = Utf8ToCp932("猫😀");
    ASSERT_FALSE(emoji.ok());
    EXPECT_EQ(emoji.error().message, "the character '😀' (U+1F600) cannot be written in code page 932");
}

TEST(Cp932Test, InvalidTextIsRefused) {
    EXPECT_FALSE(Utf8ToCp932("\xFF").ok());
    EXPECT_FALSE(Utf8ToCp932("\xC0\xAF").ok());  // an overlong slash
    EXPECT_FALSE(Cp932ToUtf8("\x82").ok());      // a lone lead byte
}

TEST(Cp932Test, AppendCharCodeWritesLeadThenTrail) {
    std::string out;
    AppendCharCode(out, 0x82A0);
    AppendCharCode(out, 'A');
    AppendCharCode(out, 70000);
    EXPECT_EQ(out, "\x82\xA0" "A?");
}

}  // namespace
}  // namespace moza::convert
