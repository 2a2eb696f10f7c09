// The shipped data/char.csv: what moza-glyphs makes with its defaults; and the
// generator's refusals.

#include <gtest/gtest.h>

#include "common/file_text.h"
#include "glyph/char_data_loader.h"
#include "table_generator.h"

namespace moza::tools {
namespace {

TEST(ShippedTableTest, IsWhatTheGeneratorMakesWithItsDefaults) {
    auto generated = GenerateTable(GeneratorOptions{});
    ASSERT_TRUE(generated.ok()) << generated.error().message;
    auto shipped = ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv");
    ASSERT_TRUE(shipped.ok()) << shipped.error().message;
    EXPECT_TRUE(CharDataText(generated.value().records) == shipped.value())
        << "data/char.csv differs from what moza-glyphs makes now (see data/README.md)";
}

TEST(GenerateTableTest, NamedFirstCharacterLeadsATrainedTable) {
    auto options = ParseGeneratorArguments({"--list", "\xE3\x80\x80\xE2\x96\xA0\xE3\x83\xBB", "--first",  // 　■・
                                            "\xE3\x83\xBB"});
    ASSERT_TRUE(options.ok());
    auto generated = GenerateTable(options.value());
    ASSERT_TRUE(generated.ok()) << generated.error().message;
    EXPECT_EQ(generated.value().records.front().Code, 0x8145);
}

TEST(GenerateTableTest, FailsNamingWhatItCannotUse) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--font", "NoSuchFamily"}, "the font family 'NoSuchFamily' is not installed"},
        {{"--font-file", "/nonexistent/x.ttf"}, "cannot open the font '/nonexistent/x.ttf'"},
        {{"--first", "ab"}, "--first takes one character of code page 932"},
        {{"--list", "a", "--training", "/nonexistent/c.csv"}, "cannot read the training counts: "},
    };
    for (const auto& [arguments, message] : cases) {
        auto options = ParseGeneratorArguments(arguments);
        ASSERT_TRUE(options.ok());
        auto generated = GenerateTable(options.value());
        ASSERT_FALSE(generated.ok()) << arguments[0];
        EXPECT_NE(generated.error().message.find(message), std::string::npos) << generated.error().message;
    }
}

}  // namespace
}  // namespace moza::tools
