// Checks of the shipped data/char.csv: it loads, covers every level where matching starts, and
// holds each pattern once.
#include <set>

#include <gtest/gtest.h>

#include "glyph/char_data_loader.h"
#include "common/file_text.h"
#include "table_builder.h"
#include "table_generator.h"

namespace {

moza::glyph::GlyphTable shippedTable() {
    auto table = moza::glyph::LoadCharData(MOZA_PROGRAM_DIR "/data/char.csv", [](const std::string&) {});
    EXPECT_TRUE(table.ok()) << table.error().message;
    return table.ok() ? table.value() : moza::glyph::GlyphTable{};
}

TEST(ShippedTableTest, CoversEveryLevelAtTheTopLeft) {
    const auto table = shippedTable();
    ASSERT_FALSE(table.empty());
    EXPECT_TRUE(moza::tools::MissingLevels(table.CharTable(), 0).empty());
}

TEST(ShippedTableTest, HoldsNoPatternTwice) {
    const auto table = shippedTable();
    std::set<moza::glyph::DarknessPattern> patterns;
    for (const auto& record : table.CharTable()) {
        EXPECT_TRUE(patterns.insert(record.Pattern).second) << "code " << record.Code;
    }
}

TEST(ShippedTableTest, HoldsOnlyDoubleByteCharactersAndOnlyLevelsZeroToTen) {
    const auto table = shippedTable();
    for (const auto& record : table.CharTable()) {
        EXPECT_GT(record.Code, 255);
        for (auto level : record.Pattern) {
            EXPECT_GE(level, 0);
            EXPECT_LE(level, 10);
        }
    }
}

TEST(ShippedTableTest, IsWhatTheGeneratorMakesWithItsDefaults) {
    auto generated = moza::tools::GenerateTable(moza::tools::GeneratorOptions{});
    ASSERT_TRUE(generated.ok()) << generated.error().message;
    auto shipped = moza::ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv");
    ASSERT_TRUE(shipped.ok()) << shipped.error().message;
    EXPECT_TRUE(moza::tools::CharDataText(generated.value().records) == shipped.value())
        << "data/char.csv differs from what moza-glyphs makes now (see data/README.md)";
}

}  // namespace
