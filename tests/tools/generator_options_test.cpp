// Tests of the moza-glyphs command line.
#include "generator_options.h"

#include <gtest/gtest.h>

namespace {

using moza::tools::ParseGeneratorArguments;

TEST(GeneratorOptionsTest, NoArgumentsGiveTheDefaults) {
    auto options = ParseGeneratorArguments({});
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options.value().fontFamily, "IPAGothic");
    EXPECT_NEAR(options.value().pixelSize, 10.6667, 1e-4);
    EXPECT_EQ(options.value().charSet, moza::tools::CharSet::FullWidth);
    EXPECT_EQ(options.value().output, "char.csv");
    EXPECT_EQ(options.value().rule.scaleRule, moza::tools::ScaleRule::TopLeft);
    EXPECT_EQ(options.value().rule.blend, 0.3);
    EXPECT_EQ(options.value().order, moza::tools::RecordOrder::Trained);
}

TEST(GeneratorOptionsTest, EveryOptionIsRead) {
    auto options = ParseGeneratorArguments({"--font", "X", "--pixel-size", "12", "--chars", "both", "--order",
                                            "flat", "--blend", "0.25", "--scale", "position", "--first",
                                            "A", "-o", "-", "--cell-width", "9", "--hinting", "none", "--shift-x", "0.5",
                                            "--shift-y", "-0.25", "--measurements", "m.csv"});
    ASSERT_TRUE(options.ok()) << options.error().message;
    const auto& o = options.value();
    EXPECT_EQ(o.fontFamily, "X");
    EXPECT_EQ(o.pixelSize, 12);
    EXPECT_EQ(o.charSet, moza::tools::CharSet::Both);
    EXPECT_EQ(o.order, moza::tools::RecordOrder::Flat);
    EXPECT_EQ(o.rule.blend, 0.25);
    EXPECT_EQ(o.rule.scaleRule, moza::tools::ScaleRule::PerPosition);
    EXPECT_EQ(o.first, "A");
    EXPECT_EQ(o.output, "-");
    EXPECT_EQ(o.cellWidth, 9);
    EXPECT_EQ(o.hinting, moza::tools::Hinting::None);
    EXPECT_EQ(o.shiftX, 0.5);
    EXPECT_EQ(o.shiftY, -0.25);
    EXPECT_EQ(o.measurements, "m.csv");
}

TEST(GeneratorOptionsTest, ScaleTakesARuleOrACoverage) {
    using moza::tools::ScaleRule;
    struct Case {
        const char* value;
        ScaleRule rule;
        double scale;
    };
    const Case cases[] = {{"darkest", ScaleRule::Darkest, 0},
                          {"top-left", ScaleRule::TopLeft, 0},
                          {"position", ScaleRule::PerPosition, 0},
                          {"0.5", ScaleRule::TopLeft, 0.5}};
    for (const Case& c : cases) {
        auto options = ParseGeneratorArguments({"--scale", c.value});
        ASSERT_TRUE(options.ok()) << c.value;
        EXPECT_EQ(options.value().rule.scaleRule, c.rule) << c.value;
        EXPECT_EQ(options.value().rule.scale, c.scale) << c.value;
    }
}

TEST(GeneratorOptionsTest, BadArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--order"},         {"--order", "random"}, {"--chars", "all"}, {"--blend", "1.5"},
        {"--blend", "x"},    {"--scale", "-0.1"},   {"--pixel-size", "0"}, {"--bogus", "1"},
        {"stray"},           {"--blend", "0.5x"},   {"--pixel-size", "nan"},
        {"--hinting", "strong"}, {"--scale", "lightest"}, {"--shift-x", "99"},
        {"--add-min-count", "0"}, {"--cost-blend", "2"}};
    for (const auto& arguments : cases) {
        auto options = ParseGeneratorArguments(arguments);
        EXPECT_FALSE(options.ok()) << arguments[0];
    }
}

TEST(GeneratorOptionsTest, HelpIsRecognised) {
    auto options = ParseGeneratorArguments({"--help"});
    ASSERT_TRUE(options.ok());
    EXPECT_TRUE(options.value().showHelp);
    EXPECT_NE(moza::tools::GeneratorHelpText().find("--order"), std::string::npos);
}

}  // namespace
