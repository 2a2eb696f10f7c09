// Tests of which code page 932 characters the generator measures.
#include "char_selection.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using moza::tools::Candidate;
using moza::tools::CharSet;

TEST(Cp932CharactersTest, EachSetHoldsItsCharactersInCodeOrder) {
    const struct {
        CharSet set;
        std::vector<int> held, left;
    } cases[] = {
        {CharSet::FullWidth, {0x8140, 0x88A0, 0xFA40}, {0xF040, 0xF9FC, 'A'}},  // 　, 亜, an IBM extension; user-defined
        {CharSet::HalfWidth, {'!', '~', 0xA1, 0xDF}, {'<', '>', '&', ' ', 0x7F, 0xA0, 0x8140}},
        {CharSet::Both, {'A', 0x8140}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<Candidate> chars = moza::tools::Cp932Characters(c.set);
        EXPECT_TRUE(std::is_sorted(chars.begin(), chars.end(), [](auto& a, auto& b) { return a.code < b.code; }));
        auto holds = [&](int code) { return std::any_of(chars.begin(), chars.end(), [&](auto& k) { return k.code == code; }); };
        for (int code : c.held) EXPECT_TRUE(holds(code)) << std::hex << code << " in set " << static_cast<int>(c.set);
        for (int code : c.left) EXPECT_FALSE(holds(code)) << std::hex << code << " in set " << static_cast<int>(c.set);
    }
}

TEST(CharactersOfTest, ListGivesCodesInTheOrderGivenWithoutRepeatsAndRefusesOthersByName) {
    auto chars = moza::tools::CharactersOf("\xE2\x96\xA0" "A\xE2\x96\xA0");  // ■A■
    ASSERT_TRUE(chars.ok());
    ASSERT_EQ(chars.value().size(), 2u);
    EXPECT_EQ(chars.value()[0].code, 0x81A1);
    EXPECT_EQ(chars.value()[0].codePoint, U'\u25A0');
    EXPECT_EQ(chars.value()[1].code, 'A');
    auto refused = moza::tools::CharactersOf("a\xC3\xA9");  // aé
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("U+00E9"), std::string::npos) << refused.error().message;
    EXPECT_FALSE(moza::tools::CharactersOf("a\tb").ok());  // a tab: code page 932 has it, but no table may
}

}  // namespace
