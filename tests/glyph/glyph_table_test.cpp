// FindGlyph: the matching rule's tie-breaks and fallbacks, and the index checked against a plain scan.
#include "glyph/glyph_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace moza::glyph {
namespace {

/// The matching rule said plainly: the record agreeing on the longest run of probe positions,
/// the earliest on a tie.
CharCode referenceFindGlyph(const std::vector<CharRecord>& records, const DarknessPattern& pattern) {
    std::size_t best = 0;
    int bestRun = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        int run = 0;
        while (run < 9 && records[i].Pattern[static_cast<std::size_t>(ProbeOrder[static_cast<std::size_t>(run)])] ==
                              pattern[static_cast<std::size_t>(ProbeOrder[static_cast<std::size_t>(run)])]) {
            ++run;
        }
        if (run > bestRun) {
            bestRun = run;
            best = i;
        }
    }
    return records[best].Code;
}

CharRecord uniform(Level level, CharCode code) {
    CharRecord r;
    r.Pattern.fill(level);
    r.Code = code;
    return r;
}

/// A pattern that agrees with `base` except at the given positions, where it holds 99.
DarknessPattern except(DarknessPattern base, std::initializer_list<int> positions) {
    for (int p : positions) base[static_cast<std::size_t>(p)] = 99;
    return base;
}

const DarknessPattern kInput = {1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST(GlyphTableTest, AOneRecordTableAnswersEveryPatternWithIt) {
    const GlyphTable table({uniform(3, 42)});
    EXPECT_EQ(table.FindGlyph(kInput), 42);
    EXPECT_EQ(table.FindGlyph({3, 3, 3, 3, 3, 3, 3, 3, 3}), 42);
    EXPECT_EQ(table.FindGlyph({-5, 400, 0, 0, 0, 0, 0, 0, 0}), 42);
}

TEST(GlyphTableTest, TheEarliestOfIdenticalPatternsWins) {
    std::vector<CharRecord> records = {uniform(0, 1), uniform(9, 2), {kInput, 3}, uniform(10, 4), uniform(5, 5), {kInput, 6}};
    EXPECT_EQ(GlyphTable(records).FindGlyph(kInput), 3);
}

TEST(GlyphTableTest, NoAgreementAtTheTopLeftGivesRecordZero) {
    const GlyphTable table({uniform(0, 10), {except(kInput, {0}), 20}});
    EXPECT_EQ(table.FindGlyph(kInput), 10);
}

TEST(GlyphTableTest, AnEarlierProbePositionOutweighsAllLaterOnes) {
    // A agrees at 0, 2, 6 but not 8; B agrees at 0, 2, 6, 8 but not 1 (the fifth probe).
    const GlyphTable table({{except(kInput, {8}), 100}, {except(kInput, {1}), 200}, uniform(0, 300)});
    EXPECT_EQ(table.FindGlyph(kInput), 200);
}

TEST(GlyphTableTest, TheCentreIsComparedLast) {
    const CharRecord a = {except(kInput, {4}), 100};
    const CharRecord b = {kInput, 200};
    EXPECT_EQ(GlyphTable({a, uniform(0, 1), uniform(0, 2), b}).FindGlyph(kInput), 200);
    EXPECT_EQ(GlyphTable({a, uniform(0, 1), uniform(0, 2)}).FindGlyph(kInput), 100);
}

TEST(GlyphTableTest, ALevelThatDiffersByOneIsAsFarAsOneThatDiffersByTen) {
    DarknessPattern nearly = kInput;
    nearly[2] = 4;  // top-right 3 -> 4
    DarknessPattern far = kInput;
    far[2] = 13;
    EXPECT_EQ(GlyphTable({{nearly, 1}, {far, 2}}).FindGlyph(kInput), 1);
    EXPECT_EQ(GlyphTable({{far, 2}, {nearly, 1}}).FindGlyph(kInput), 2);
}

TEST(GlyphTableTest, TheInputIsNotChanged) {
    const DarknessPattern input = kInput;
    (void)GlyphTable({uniform(1, 1)}).FindGlyph(input);
    EXPECT_EQ(input, kInput);
}

TEST(GlyphTableTest, CountsTheRecordsItHolds) {
    EXPECT_EQ(GlyphTable().CharCount(), 0);
    EXPECT_TRUE(GlyphTable().empty());
    EXPECT_EQ(GlyphTable({uniform(1, 1), uniform(1, 1)}).CharCount(), 2);
}

struct RandomCase {
    int records;
    int lowLevel;
    int highLevel;
    const char* what;
};

TEST(GlyphTableTest, TheIndexAgreesWithAPlainScanOnRandomTables) {
    const RandomCase cases[] = {
        {1, 0, 10, "one record"},
        {40, 0, 1, "few levels, many duplicates"},
        {3000, 0, 10, "a realistic size"},
        {32767, 0, 10, "the largest table"},
        {2000, -3, 14, "levels outside 0 to 10"},
        {500, 0, 2, "dense prefixes"},
    };
    std::mt19937 random(20261206);
    for (const RandomCase& c : cases) {
        std::uniform_int_distribution<int> level(c.lowLevel, c.highLevel);
        std::vector<CharRecord> records(static_cast<std::size_t>(c.records));
        for (std::size_t i = 0; i < records.size(); ++i) {
            // Every fifth record copies an earlier one, so ties by file order are common.
            if (i > 0 && i % 5 == 0) {
                records[i].Pattern = records[random() % i].Pattern;
            } else {
                for (Level& l : records[i].Pattern) l = static_cast<Level>(level(random));
            }
            records[i].Code = static_cast<CharCode>(i);
        }
        const GlyphTable table(records);
        const int patterns = std::min(20000, 40'000'000 / c.records);
        for (int n = 0; n < patterns; ++n) {
            DarknessPattern pattern;
            if (n % 3 == 0) {
                pattern = records[random() % records.size()].Pattern;
                pattern[static_cast<std::size_t>(random() % 9)] = static_cast<Level>(level(random));
            } else {
                for (Level& l : pattern) l = static_cast<Level>(level(random));
            }
            ASSERT_EQ(table.FindGlyph(pattern), referenceFindGlyph(records, pattern)) << c.what << ", pattern " << n;
        }
    }
}

}  // namespace
}  // namespace moza::glyph
