// Tests of which code page 932 characters the generator measures.
#include "char_selection.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using moza::tools::Candidate;
using moza::tools::CharSet;
using moza::tools::Cp932Characters;

bool holds(const std::vector<Candidate>& chars, int code) {
    return std::any_of(chars.begin(), chars.end(), [&](const Candidate& c) { return c.code == code; });
}

TEST(Cp932CharactersTest, FullWidthSetStartsWithTheIdeographicSpaceAndHasNoSingleBytes) {
    const auto chars = Cp932Characters(CharSet::FullWidth);
    ASSERT_FALSE(chars.empty());
    EXPECT_EQ(chars.front().code, 0x8140);
    EXPECT_EQ(chars.front().codePoint, U'\u3000');
    EXPECT_TRUE(std::all_of(chars.begin(), chars.end(), [](const Candidate& c) { return c.code > 255; }));
}

TEST(Cp932CharactersTest, FullWidthSetIsInCodeOrderWithoutUnmappedCodes) {
    const auto chars = Cp932Characters(CharSet::FullWidth);
    EXPECT_TRUE(std::is_sorted(chars.begin(), chars.end(), [](auto& a, auto& b) { return a.code < b.code; }));
    EXPECT_TRUE(holds(chars, 0x88A0));   // 亜
    EXPECT_FALSE(holds(chars, 0x81AD));  // unassigned in code page 932
    EXPECT_FALSE(holds(chars, 0x817F));  // 7F is never a trail byte
}

TEST(Cp932CharactersTest, UserDefinedCharactersAreLeftOut) {
    const auto chars = Cp932Characters(CharSet::FullWidth);
    EXPECT_FALSE(holds(chars, 0xF040));
    EXPECT_FALSE(holds(chars, 0xF9FC));
    EXPECT_TRUE(holds(chars, 0xFA40));  // an IBM extension, the same on every machine
}

TEST(Cp932CharactersTest, HalfWidthSetLeavesOutMarkupCharactersAndTheSpace) {
    const auto chars = Cp932Characters(CharSet::HalfWidth);
    for (int code : {'<', '>', '&', ' '}) EXPECT_FALSE(holds(chars, code)) << code;
    EXPECT_TRUE(holds(chars, 'A'));
    EXPECT_TRUE(holds(chars, 0xB1));  // half-width katakana A
}

TEST(CharactersOfTest, ListGivesCodesInTheOrderGivenWithoutRepeats) {
    auto chars = moza::tools::CharactersOf("\xE2\x96\xA0" "A\xE2\x96\xA0");  // ■A■
    ASSERT_TRUE(chars.ok());
    ASSERT_EQ(chars.value().size(), 2u);
    EXPECT_EQ(chars.value()[0].code, 0x81A1);
    EXPECT_EQ(chars.value()[1].code, 'A');
}

TEST(CharactersOfTest, CharacterOutsideCodePage932IsRefusedByName) {
    auto chars = moza::tools::CharactersOf("a\xC3\xA9");  // aé
    ASSERT_FALSE(chars.ok());
    EXPECT_NE(chars.error().message.find("U+00E9"), std::string::npos) << chars.error().message;
}

}  // namespace
