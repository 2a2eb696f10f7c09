// FindGlyph: the matching rule's tie-breaks and fallbacks, and the index and the cache held
// against a plain scan of the table (tests/plain_rules.h) on random tables.
#include "glyph/glyph_table.h"
#include "glyph/glyph_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "plain_rules.h"

namespace moza::glyph {
namespace {

using testing::UniformRecord;

/// A pattern that agrees with `base` except at `position`, where it holds `level`.
DarknessPattern except(DarknessPattern base, int position, Level level = 99) {
    base[static_cast<std::size_t>(position)] = level;
    return base;
}

const DarknessPattern kInput = {1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST(GlyphTableTest, TheRuleDecidesTiesAndFallbacksAsWritten) {
    const struct {
        const char* what;
        std::vector<CharRecord> records;
        CharCode expected;
    } cases[] = {
        {"one record answers everything", {UniformRecord(3, 42)}, 42},
        {"the earliest identical pattern", {UniformRecord(0, 1), {kInput, 3}, UniformRecord(5, 5), {kInput, 6}}, 3},
        {"no agreement at the top-left: record 0", {UniformRecord(0, 10), {except(kInput, 0), 20}}, 10},
        {"an earlier probe outweighs later ones", {{except(kInput, 8), 100}, {except(kInput, 1), 200}}, 200},
        {"the centre is compared last", {{except(kInput, 4), 100}, UniformRecord(0, 1), {kInput, 200}}, 200},
        // 13 is ten levels off at the top-right, 4 one level off: both disagree, so the first wins.
        {"one level off is as far as ten", {{except(kInput, 2, 13), 2}, {except(kInput, 2, 4), 1}}, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(GlyphTable(c.records).FindGlyph(kInput), c.expected) << c.what;
}

TEST(GlyphTableTest, TheIndexAndTheCacheAgreeWithAPlainScanOnRandomTables) {
    const struct {
        int records;
        int lowLevel;
        int highLevel;
        const char* what;
    } cases[] = {
        {40, 0, 1, "few levels, many duplicates"},
        {32767, 0, 10, "the largest table"},
        {2000, -3, 14, "levels outside 0 to 10"},
        {300, 9, 17, "levels past what a cache key holds"},
        {500, 0, 2, "dense prefixes"},
    };
    std::mt19937 random(20261206);
    for (const auto& c : cases) {
        std::uniform_int_distribution<int> level(c.lowLevel, c.highLevel);
        std::vector<CharRecord> records(static_cast<std::size_t>(c.records));
        for (std::size_t i = 0; i < records.size(); ++i) {
            // Every fifth record copies an earlier one, so ties by file order are common.
            if (i > 0 && i % 5 == 0) {
                records[i].Pattern = records[random() % i].Pattern;
            } else {
                for (Level& l : records[i].Pattern) l = static_cast<Level>(level(random));
            }
            records[i].Code = static_cast<CharCode>(static_cast<std::uint32_t>(i) * 2654435761u);  // distinct, any size
        }
        const GlyphTable table(records);
        GlyphCache cache(table, 3);  // eight entries: patterns keep pushing each other out
        const int patterns = std::min(20000, 40'000'000 / c.records);
        const DarknessPattern fifteens = UniformRecord(15, 0).Pattern;  // the one pattern an empty entry could match
        EXPECT_EQ(cache.FindGlyph(fifteens), testing::PlainFindGlyph(records, fifteens)) << c.what;
        for (int n = 0; n < patterns; ++n) {
            DarknessPattern pattern;
            if (n % 3 == 0) {
                pattern = records[random() % records.size()].Pattern;
                pattern[static_cast<std::size_t>(random() % 9)] = static_cast<Level>(level(random));
            } else {
                for (Level& l : pattern) l = static_cast<Level>(level(random));
            }
            const CharCode plain = testing::PlainFindGlyph(records, pattern);
            ASSERT_EQ(table.FindGlyph(pattern), plain) << c.what << ", pattern " << n;
            for (int ask = 0; ask < 2; ++ask) {  // the second answer comes from the cache
                ASSERT_EQ(cache.FindGlyph(pattern), plain) << c.what << ", pattern " << n << ", asked " << ask + 1;
            }
        }
    }
}

}  // namespace
}  // namespace moza::glyph
