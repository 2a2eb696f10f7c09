// Tests of levels, de-duplication, record order and the char.csv text.
#include "table_builder.h"

#include <algorithm>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "glyph/char_data_loader.h"
#include "glyph/glyph_table.h"

namespace {

using moza::glyph::CharRecord;
using moza::glyph::DarknessPattern;
using moza::tools::BuildRecords;
using moza::tools::CellInk;
using moza::tools::LevelRule;
using moza::tools::LevelsOf;
using moza::tools::MeasuredChar;
using moza::tools::RecordOrder;

MeasuredChar charWithInk(int code, std::array<double, 9> ninths) {
    MeasuredChar c;
    c.character.code = code;
    c.ink.ninths = ninths;
    double sum = 0;
    for (double part : ninths) sum += part;
    c.ink.mean = sum / 9;
    return c;
}

std::array<double, 9> evenInk(double value) {
    std::array<double, 9> ninths;
    ninths.fill(value);
    return ninths;
}

std::array<double, 9> sameScale(double value) { return evenInk(value); }

/// Levels straight from the ink: no blend, the darkest ninth at 10.
LevelRule plainRule() {
    LevelRule rule;
    rule.scaleRule = moza::tools::ScaleRule::Darkest;
    rule.blend = 0;
    return rule;
}

TEST(LevelsOfTest, CoverageMapsToTheLevelTheSamplerGivesThatGrey) {
    struct Case {
        double coverage;
        int level;
    };
    // floor((1 + 255 x coverage) / 23.3)
    const Case cases[] = {{0.0, 0}, {0.08, 0}, {0.09, 1}, {0.5, 5}, {0.9, 9}, {0.91, 10}, {1.0, 10}};
    for (const Case& c : cases) {
        CellInk ink;
        ink.ninths = evenInk(c.coverage);
        EXPECT_EQ(LevelsOf(ink, sameScale(1.0), 0)[4], c.level) << "coverage " << c.coverage;
    }
}

TEST(LevelsOfTest, CoverageBeyondTheScaleStaysAtTen) {
    CellInk ink;
    ink.ninths = evenInk(0.8);
    EXPECT_EQ(LevelsOf(ink, sameScale(0.4), 0), DarknessPattern({10, 10, 10, 10, 10, 10, 10, 10, 10}));
}

TEST(LevelsOfTest, FullBlendGivesEveryNinthTheMeanLevel) {
    CellInk ink;
    ink.ninths = {1, 0, 0, 0, 0, 0, 0, 0, 0};
    ink.mean = 0.5;
    EXPECT_EQ(LevelsOf(ink, sameScale(1.0), 1.0), DarknessPattern({5, 5, 5, 5, 5, 5, 5, 5, 5}));
}

TEST(ScalesOfTest, PerPositionScaleLetsEveryPositionReachTen) {
    std::vector<MeasuredChar> chars = {charWithInk(1, {0.2, 0.5, 0, 0, 1.0, 0, 0, 0, 0.1})};
    LevelRule rule = plainRule();
    rule.scaleRule = moza::tools::ScaleRule::PerPosition;
    const auto scales = moza::tools::ScalesOf(chars, rule);
    EXPECT_EQ(LevelsOf(chars[0].ink, scales, 0), DarknessPattern({10, 10, 0, 0, 10, 0, 0, 0, 10}));
}

TEST(ScalesOfTest, TopLeftScaleIsLoweredUntilTheTopLeftHoldsEveryLevel) {
    // Top-left ninths 0, 0.05, ..., 0.45 and one of 1.0: on the scale 1.0 they crowd into the low
    // levels; only a scale near 0.5 spreads them over 0 to 9, with the 1.0 at 10.
    std::vector<MeasuredChar> chars;
    for (int i = 0; i < 10; ++i) chars.push_back(charWithInk(i, {i * 0.05, 0, 0, 0, 0, 0, 0, 0, 0}));
    chars.push_back(charWithInk(10, {1.0, 0, 0, 0, 0, 0, 0, 0, 0}));
    LevelRule rule = plainRule();
    rule.scaleRule = moza::tools::ScaleRule::TopLeft;
    const auto scales = moza::tools::ScalesOf(chars, rule);
    EXPECT_GT(scales[0], 0.49);
    EXPECT_LT(scales[0], 0.55);
    std::set<int> levels;
    for (const auto& c : chars) levels.insert(LevelsOf(c.ink, scales, 0)[0]);
    EXPECT_EQ(levels.size(), 11u);
    EXPECT_EQ(scales[8], scales[0]);  // one scale for every position
}

TEST(ScalesOfTest, TopLeftScaleStaysAtTheDarkestWhenNoScaleHoldsEveryLevel) {
    std::vector<MeasuredChar> chars = {charWithInk(1, {0.0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                       charWithInk(2, {0.6, 0, 0, 0, 0, 0, 0, 0, 0})};
    LevelRule rule = plainRule();
    rule.scaleRule = moza::tools::ScaleRule::TopLeft;
    EXPECT_DOUBLE_EQ(moza::tools::ScalesOf(chars, rule)[0], 0.6);
}

TEST(BuildRecordsTest, EqualPatternsKeepOnlyTheFirstCharacter) {
    std::vector<MeasuredChar> chars = {charWithInk(0x8140, evenInk(0)), charWithInk(0x8181, evenInk(1)),
                                       charWithInk(0x8182, evenInk(0.99)), charWithInk(0x8141, evenInk(0))};
    const auto records = BuildRecords(chars, plainRule(), RecordOrder::Code);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Code, 0x8140);
    EXPECT_EQ(records[1].Code, 0x8181);
}

TEST(BuildRecordsTest, NamedFirstCharacterBecomesRecordZeroAndKeepsItsPattern) {
    std::vector<MeasuredChar> chars = {charWithInk(0x8140, evenInk(0)), charWithInk(0x8181, evenInk(1)),
                                       charWithInk(0x81A1, evenInk(1))};
    for (RecordOrder order : {RecordOrder::Code, RecordOrder::Flat, RecordOrder::StandIn}) {
        const auto records = BuildRecords(chars, plainRule(), order, 0x81A1);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].Code, 0x81A1);
        EXPECT_EQ(records[0].Pattern[0], 10);
    }
}

/// Random measured characters with a few levels each, so that prefixes are shared.
std::vector<MeasuredChar> randomChars(std::mt19937& random, int count) {
    std::uniform_int_distribution<int> step(0, 4);
    std::vector<MeasuredChar> chars;
    for (int i = 0; i < count; ++i) {
        std::array<double, 9> ninths;
        for (double& part : ninths) part = step(random) / 4.0;
        chars.push_back(charWithInk(0x8140 + i, ninths));
    }
    return chars;
}

TEST(BuildRecordsTest, EveryOrderHoldsTheSameRecordsWithoutDuplicates) {
    std::mt19937 random(7);
    const auto chars = randomChars(random, 400);
    auto byCode = BuildRecords(chars, plainRule(), RecordOrder::Code);
    std::set<DarknessPattern> patterns;
    for (const CharRecord& r : byCode) EXPECT_TRUE(patterns.insert(r.Pattern).second);
    for (RecordOrder order : {RecordOrder::Flat, RecordOrder::StandIn}) {
        auto other = BuildRecords(chars, plainRule(), order);
        auto byCodeOfOther = other;
        std::sort(byCodeOfOther.begin(), byCodeOfOther.end(), [](auto& a, auto& b) { return a.Code < b.Code; });
        EXPECT_EQ(byCodeOfOther, byCode);
    }
}

TEST(BuildRecordsTest, StandInOrderLetsTheFlattestRecordLeadEachLevelAtTheTopLeft) {
    // Among the records whose top-left level is 10, the even one is the best stand-in.
    std::vector<MeasuredChar> chars = {charWithInk(1, {1, 0, 0, 0, 0, 0, 0, 0, 0}),
                                       charWithInk(2, {1, 1, 0, 1, 1, 0, 0, 0, 0}), charWithInk(3, evenInk(1)),
                                       charWithInk(4, evenInk(0))};
    const auto records = BuildRecords(chars, plainRule(), RecordOrder::StandIn);
    moza::glyph::GlyphTable table(records);
    // Top-left 10 and then a top-right level no record has: the group's leader answers.
    EXPECT_EQ(table.FindGlyph({10, 10, 5, 10, 10, 10, 10, 10, 10}), 3);
}

TEST(CharDataTextTest, WritesTenNumbersPerRecordWithCrLf) {
    const std::vector<CharRecord> records = {{{0, 1, 2, 3, 4, 5, 6, 7, 8}, 33088}, {{10, 10, 10, 10, 10, 10, 10, 10, 10}, 33185}};
    EXPECT_EQ(moza::tools::CharDataText(records),
              "0,1,2,3,4,5,6,7,8,33088\r\n10,10,10,10,10,10,10,10,10,33185\r\n");
}

TEST(MissingLevelsTest, ListsTheLevelsNoRecordHoldsAtAPosition) {
    const std::vector<CharRecord> records = {{{0, 0, 0, 0, 0, 0, 0, 0, 0}, 1}, {{10, 3, 0, 0, 0, 0, 0, 0, 0}, 2}};
    EXPECT_EQ(moza::tools::MissingLevels(records, 0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(moza::tools::MissingLevels(records, 1).size(), 9u);
}

}  // namespace
