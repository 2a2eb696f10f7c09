// Tests of the level scales, de-duplication, record order and the measurements text; the levels on
// the default scale, the trained order and the char.csv text are pinned by the shipped table.
#include "table_builder.h"

#include <set>

#include <gtest/gtest.h>

namespace {

using moza::glyph::CharRecord;
using moza::tools::LevelRule;
using moza::tools::LevelsOf;
using moza::tools::MeasuredChar;
using moza::tools::RecordOrder;
using moza::tools::ScaleRule;

MeasuredChar charWithInk(int code, std::array<double, 9> ninths) {
    MeasuredChar c;
    c.character.code = code;
    c.ink.ninths = ninths;
    for (double part : ninths) c.ink.mean += part / 9;
    return c;
}

std::array<double, 9> evenInk(double value) {
    std::array<double, 9> ninths;
    ninths.fill(value);
    return ninths;
}

/// Levels straight from the ink (no blend) on the scale that `scaleRule` picks.
LevelRule plainRule(ScaleRule scaleRule = ScaleRule::Darkest) { return LevelRule{0, scaleRule, 0}; }

TEST(ScalesOfTest, TopLeftScaleIsLoweredUntilTheTopLeftHoldsEveryLevelOrStaysAtTheDarkest) {
    // Top-left ninths 0, 0.05, ..., 0.45 and 1.0: only a scale near 0.5 spreads them over 0 to 10.
    std::vector<MeasuredChar> chars;
    for (int i = 0; i < 10; ++i) chars.push_back(charWithInk(i, {i * 0.05, 0, 0, 0, 0, 0, 0, 0, 0}));
    chars.push_back(charWithInk(10, {1.0, 0, 0, 0, 0, 0, 0, 0, 0.8}));
    const auto scales = moza::tools::ScalesOf(chars, plainRule(ScaleRule::TopLeft));
    std::set<int> levels;
    for (const auto& c : chars) levels.insert(LevelsOf(c.ink, scales, 0)[0]);
    EXPECT_EQ(levels.size(), 11u);
    EXPECT_GT(scales[0], 0.49);
    EXPECT_LT(scales[0], 0.55);
    EXPECT_EQ(scales[8], scales[0]);
    // Two top-left levels cannot make eleven: the darkest ninth stays the scale.
    chars.resize(2);
    chars[1].ink.ninths[0] = 0.6;
    EXPECT_DOUBLE_EQ(moza::tools::ScalesOf(chars, plainRule(ScaleRule::TopLeft))[0], 0.6);
}

TEST(BuildRecordsTest, OnePerPatternInTheOrderItsRuleSaysWithTheNamedFirstCharacterAtRecordZero) {
    // Levels: code 5 a dark corner, 3 a dark 2 x 2 square, 4 and 6 all 10, 2 all 0.
    const std::vector<MeasuredChar> chars = {
        charWithInk(5, {1, 0, 0, 0, 0, 0, 0, 0, 0}), charWithInk(3, {1, 1, 0, 1, 1, 0, 0, 0, 0}),
        charWithInk(4, evenInk(1)), charWithInk(6, evenInk(0.99)), charWithInk(2, evenInk(0))};
    struct Case {
        RecordOrder order;
        int first;
        std::vector<int> codes;
    };
    // Flat: the even patterns first. StandIn: the flattest (lightest centre) record leads all;
    // among the top-left 10s the even one, which costs least for blocks stopping there.
    const Case cases[] = {{RecordOrder::Code, -1, {2, 3, 4, 5}},   {RecordOrder::Flat, -1, {4, 2, 5, 3}},
                          {RecordOrder::StandIn, -1, {2, 4, 5, 3}}, {RecordOrder::Code, 6, {6, 2, 3, 5}},
                          {RecordOrder::Flat, 6, {6, 2, 5, 3}},     {RecordOrder::StandIn, 6, {6, 2, 5, 3}}};
    for (const Case& c : cases) {
        std::vector<int> codes;
        for (const CharRecord& r : moza::tools::BuildRecords(chars, plainRule(), c.order, c.first)) codes.push_back(r.Code);
        EXPECT_EQ(codes, c.codes) << "order " << static_cast<int>(c.order) << ", first " << c.first;
    }
}

// The char.csv text itself is pinned byte for byte by the shipped table (shipped_table_test.cpp).
TEST(MeasurementTextTest, GivesTheCodeTheNineNinthsAndTheMeanToFourPlaces) {
    std::vector<MeasuredChar> measured = {charWithInk(0x8140, {0.5, 0, 0, 0, 0, 0, 0, 0, 1.0 / 3})};
    EXPECT_EQ(moza::tools::MeasurementText(measured),
              "code,n0,n1,n2,n3,n4,n5,n6,n7,n8,mean\n33088,0.5000,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,"
              "0.0000,0.3333,0.0926\n");
}

}  // namespace
