// TrainRecords and the block counts file: records added where blocks are, leaders chosen so that
// matching serves the training blocks at least cost, and the counts file read and refused.
#include "trained_table.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "glyph/glyph_table.h"

namespace moza::tools {
namespace {

using glyph::CharRecord;
using glyph::DarknessPattern;

DarknessPattern even(int level) {
    DarknessPattern pattern;
    pattern.fill(static_cast<glyph::Level>(level));
    return pattern;
}

LevelledChar charAt(glyph::CharCode code, const DarknessPattern& pattern) {
    LevelledChar c{code, {}};
    for (std::size_t i = 0; i < 9; ++i) c.levels[i] = pattern[i] + 0.5;
    return c;
}

/// What the cost measures for one block and one character.
double costOf(const DarknessPattern& block, const LevelledChar& c) {
    double cost = 0;
    for (std::size_t i = 0; i < 9; ++i) cost += (block[i] + 0.5 - c.levels[i]) * (block[i] + 0.5 - c.levels[i]);
    return cost;
}

/// The cost of the blocks of `counts` as FindGlyph serves them from `records` in this order.
double servedCost(const std::vector<CharRecord>& records, const std::vector<LevelledChar>& chars,
                  const BlockCounts& counts) {
    const glyph::GlyphTable table(records);
    double total = 0;
    for (const auto& [block, count] : counts) {
        const glyph::CharCode code = table.FindGlyph(block);
        const auto c = std::find_if(chars.begin(), chars.end(), [&](const auto& ch) { return ch.code == code; });
        total += static_cast<double>(count) * costOf(block, *c);
    }
    return total;
}

TEST(NearestCharTest, TakesTheLeastSquaredDistanceAndTheEarliestOfEquals) {
    DarknessPattern corner = even(0);
    corner[0] = 10;
    const std::vector<LevelledChar> chars = {charAt(1, even(0)), charAt(2, even(5)), charAt(3, corner),
                                             charAt(4, corner)};
    DarknessPattern block = even(0);
    block[0] = 8;
    EXPECT_EQ(NearestChar(block, chars), 3);
    EXPECT_EQ(NearestChar(even(4), chars), 2);
    EXPECT_EQ(NearestChar(even(1), chars), 1);
}

TEST(TrainRecordsTest, FrequentPatternsGetRecordsOfTheirNearestCharacterWhileThereIsRoom) {
    const std::vector<LevelledChar> chars = {charAt(10, even(0)), charAt(11, even(4)), charAt(12, even(10))};
    const std::vector<CharRecord> records = {{even(0), 10}, {even(4), 11}, {even(10), 12}};
    DarknessPattern often = even(3);
    DarknessPattern seldom = even(9);
    DarknessPattern alsoOften = even(8);
    const BlockCounts counts = {{often, 50}, {alsoOften, 20}, {seldom, 2}, {even(4), 99}};
    TrainingRule rule;
    rule.addMinCount = 3;
    const std::vector<CharRecord> trained = TrainRecords(records, chars, counts, rule);
    ASSERT_EQ(trained.size(), 5u);
    std::set<DarknessPattern> patterns;
    for (const CharRecord& r : trained) {
        EXPECT_TRUE(patterns.insert(r.Pattern).second);
        if (r.Pattern == often) {
            EXPECT_EQ(r.Code, 11);
        }
        if (r.Pattern == alsoOften) {
            EXPECT_EQ(r.Code, 12);
        }
    }
    EXPECT_FALSE(patterns.count(seldom));
    rule.maxRecords = 4;  // room for the most frequent only
    const std::vector<CharRecord> full = TrainRecords(records, chars, counts, rule);
    ASSERT_EQ(full.size(), 4u);
    EXPECT_TRUE(std::any_of(full.begin(), full.end(), [&](const auto& r) { return r.Pattern == often; }));
}

TEST(TrainRecordsTest, ABranchIsLedByTheRecordThatServesItsBlocksBestWhateverTheInputOrder) {
    // Both records start with level 5 at the top-left; the blocks disagree with both at the
    // top-right, so they stop after one probe and take the branch's leader: the darker one fits.
    DarknessPattern light = even(1);
    light[0] = 5;
    DarknessPattern dark = even(8);
    dark[0] = 5;
    std::vector<LevelledChar> chars = {charAt(1, light), charAt(2, dark)};
    for (int level = 0; level <= 10; ++level) chars.push_back(charAt(100 + level, even(level)));
    DarknessPattern block = even(7);
    block[0] = 5;
    block[2] = 3;
    const BlockCounts counts = {{block, 10}};
    TrainingRule noAdding;
    noAdding.addMinCount = 1000;
    for (bool lightFirst : {true, false}) {
        std::vector<CharRecord> records = {{light, 1}, {dark, 2}};
        if (!lightFirst) std::swap(records[0], records[1]);
        for (int level : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10}) records.push_back({even(level), 100 + level});
        const glyph::GlyphTable table(TrainRecords(records, chars, counts, noAdding));
        EXPECT_EQ(table.FindGlyph(block), 2) << (lightFirst ? "light first" : "dark first");
    }
}

TEST(TrainRecordsTest, NoOtherOrderOfTheRecordsServesTheTrainingBlocksAtLessCost) {
    std::mt19937 random(5);
    auto randomPattern = [&](int top) {
        DarknessPattern p;
        for (auto& level : p) level = static_cast<glyph::Level>(random() % static_cast<unsigned>(top + 1));
        return p;
    };
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<LevelledChar> chars;
        std::vector<CharRecord> records;
        std::set<DarknessPattern> seen;
        for (int i = 0; i < 12; ++i) {
            const DarknessPattern p = randomPattern(2);
            if (!seen.insert(p).second) continue;
            chars.push_back(charAt(i + 1, p));
            records.push_back({p, i + 1});
        }
        BlockCounts counts;
        for (int i = 0; i < 40; ++i) counts[randomPattern(2)] += 1 + static_cast<std::int64_t>(random() % 5);
        TrainingRule noAdding;
        noAdding.addMinCount = 1000;
        const std::vector<CharRecord> trained = TrainRecords(records, chars, counts, noAdding);
        const double best = servedCost(trained, chars, counts);
        std::vector<CharRecord> shuffled = trained;
        for (int k = 0; k < 200; ++k) {
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            ASSERT_LE(best, servedCost(shuffled, chars, counts) + 1e-9) << "trial " << trial;
        }
    }
}

TEST(BlockCountsTest, TextReadsBackAndLeavesOutRarePatterns) {
    DarknessPattern ramp;
    for (std::size_t i = 0; i < 9; ++i) ramp[i] = static_cast<glyph::Level>(i + 2);
    const BlockCounts counts = {{even(0), 7}, {ramp, 2}, {even(10), 1}};
    EXPECT_EQ(BlockCountsText(counts, 2), "000000000,7\n23456789A,2\n");
    const auto file = std::filesystem::temp_directory_path() / "moza-block-counts-test.csv";
    std::ofstream(file, std::ios::binary) << BlockCountsText(counts);
    const Result<BlockCounts> read = ReadBlockCounts(file);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read.value(), counts);
    std::filesystem::remove(file);
}

TEST(BlockCountsTest, BadLinesAreRefusedByFileAndLine) {
    const auto file = std::filesystem::temp_directory_path() / "moza-block-counts-bad.csv";
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"000000000,3\n00000000B,1\n", "line 2: expected nine levels 0-9 or A, a comma and a count, not '00000000B,1'"},
        {"000000000,0\n", "line 1: expected nine levels 0-9 or A, a comma and a count, not '000000000,0'"},
        {"00000000,3\n", "line 1: expected nine levels 0-9 or A, a comma and a count, not '00000000,3'"},
        {"000000000,3\n000000000,4\n", "line 2: the pattern is given twice"},
    };
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << c.text;
        const Result<BlockCounts> read = ReadBlockCounts(file);
        ASSERT_FALSE(read.ok()) << c.text;
        EXPECT_EQ(read.error().message, "'" + file.string() + "': " + c.message);
    }
    std::filesystem::remove(file);
    EXPECT_FALSE(ReadBlockCounts(file).ok());
}

}  // namespace
}  // namespace moza::tools
