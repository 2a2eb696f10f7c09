// TrainRecords and the block counts file: records added where blocks are, and the counts file read
// and refused. The nearest characters and the leaders it chooses are pinned by the shipped table.
#include "trained_table.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "scratch_folder.h"

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

TEST(TrainRecordsTest, PatternsCountedOftenEnoughGetRecordsOfTheirNearestCharacterMostFrequentFirst) {
    const std::vector<LevelledChar> chars = {charAt(10, even(0)), charAt(11, even(4)), charAt(12, even(10))};
    const std::vector<CharRecord> records = {{even(0), 10}, {even(4), 11}, {even(10), 12}};
    const BlockCounts counts = {{even(3), 50}, {even(8), 3}, {even(9), 2}, {even(4), 99}};
    TrainingRule rule;  // added at 3 blocks or more
    for (std::size_t room : {5, 4}) {
        rule.maxRecords = room;
        std::vector<CharRecord> trained = TrainRecords(records, chars, counts, rule);
        std::sort(trained.begin(), trained.end(), [](auto& a, auto& b) { return a.Pattern < b.Pattern; });
        std::vector<CharRecord> expected = {{even(0), 10}, {even(3), 11}, {even(4), 11}, {even(8), 12}, {even(10), 12}};
        if (room == 4) expected.erase(expected.begin() + 3);
        EXPECT_EQ(trained, expected) << "room for " << room;
    }
}

using BlockCountsTest = moza::testing::ScratchFolderTest;

TEST_F(BlockCountsTest, TextReadsBackAndBadLinesAreRefusedByFileAndLine) {
    DarknessPattern ramp;
    for (std::size_t i = 0; i < 9; ++i) ramp[i] = static_cast<glyph::Level>(i + 2);
    const BlockCounts counts = {{even(0), 7}, {ramp, 2}, {even(10), 1}};
    EXPECT_EQ(BlockCountsText(counts, 2), "000000000,7\n23456789A,2\n");
    const auto file = m_folder / "counts.csv";
    const std::string bad = "expected nine levels 0-9 or A, a comma and a count, not '";
    const std::pair<std::string, std::string> cases[] = {  // the file, the error after its name; empty: read
        {BlockCountsText(counts), ""}, {"000000000,3\r\n00000000B,1\n", "line 2: " + bad + "00000000B,1'"},
        {"000000000,0\n", "line 1: " + bad + "000000000,0'"}, {"00000000,3\n", "line 1: " + bad + "00000000,3'"},
        {"000000000,3\n000000000,4\n", "line 2: the pattern is given twice"}};
    for (const auto& [text, message] : cases) {
        std::ofstream(file, std::ios::binary) << text;
        const Result<BlockCounts> read = ReadBlockCounts(file);
        ASSERT_EQ(read.ok(), message.empty()) << text;
        if (read.ok()) {
            EXPECT_EQ(read.value(), counts);
        } else {
            EXPECT_EQ(read.error().message, "'" + file.string() + "': " + message);
        }
    }
}

}  // namespace
}  // namespace moza::tools
