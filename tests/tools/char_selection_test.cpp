// Tests of which code page 932 characters the generator measures.
#include "char_selection.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using moza::tools::Candidate;
using moza::tools::CharSet;

TEST(Cp932CharactersTest, EachSetHoldsItsCharactersInCodeOrder) {
    struct Case {
        CharSet set;
        int code;
        bool held;
    };
    const Case cases[] = {
        {CharSet::FullWidth, 0x8140, true},  {CharSet::FullWidth, 0x88A0, true},   // 　 亜
        {CharSet::FullWidth, 0x81AD, false}, {CharSet::FullWidth, 0x817F, false},  // unassigned; 7F is no trail byte
        {CharSet::FullWidth, 0xF040, false}, {CharSet::FullWidth, 0xF9FC, false},  // user-defined
        {CharSet::FullWidth, 0xFA40, true},  {CharSet::FullWidth, 'A', false},     // an IBM extension
        {CharSet::HalfWidth, '<', false},    {CharSet::HalfWidth, '>', false},    {CharSet::HalfWidth, '&', false},
        {CharSet::HalfWidth, ' ', false},    {CharSet::HalfWidth, 0x7F, false},   {CharSet::HalfWidth, 0xA0, false},
        {CharSet::HalfWidth, '!', true},     {CharSet::HalfWidth, '~', true},     {CharSet::HalfWidth, 0xA1, true},
        {CharSet::HalfWidth, 0xDF, true},    {CharSet::HalfWidth, 0x8140, false},
        {CharSet::Both, 'A', true},          {CharSet::Both, 0x8140, true},
    };
    const std::vector<Candidate> sets[] = {moza::tools::Cp932Characters(CharSet::FullWidth),
                                           moza::tools::Cp932Characters(CharSet::HalfWidth),
                                           moza::tools::Cp932Characters(CharSet::Both)};
    for (const auto& chars : sets) {
        EXPECT_TRUE(std::is_sorted(chars.begin(), chars.end(), [](auto& a, auto& b) { return a.code < b.code; }));
    }
    for (const Case& c : cases) {
        const auto& chars = sets[static_cast<std::size_t>(c.set)];
        const bool held = std::any_of(chars.begin(), chars.end(), [&](const Candidate& k) { return k.code == c.code; });
        EXPECT_EQ(held, c.held) << "code " << std::hex << c.code << " in set " << static_cast<int>(c.set);
    }
}

TEST(CharactersOfTest, ListGivesCodesInTheOrderGivenWithoutRepeatsAndRefusesOthersByName) {
    auto chars = moza::tools::CharactersOf("\xE2\x96\xA0" "A\xE2\x96\xA0");  // ■A■
    ASSERT_TRUE(chars.ok());
    ASSERT_EQ(chars.value().size(), 2u);
    EXPECT_EQ(std::pair(chars.value()[0].code, chars.value()[1].code), std::pair(0x81A1, int{'A'}));
    EXPECT_EQ(chars.value()[0].codePoint, U'\u25A0');
    auto refused = moza::tools::CharactersOf("a\xC3\xA9");  // aé
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("U+00E9"), std::string::npos) << refused.error().message;
}

}  // namespace
