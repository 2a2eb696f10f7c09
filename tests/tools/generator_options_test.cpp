// Tests of the moza-glyphs command line.
#include "generator_options.h"

#include <gtest/gtest.h>

namespace moza::tools {
namespace {

TEST(GeneratorOptionsTest, EveryOptionIsReadIntoItsOwnSetting) {
    auto options = ParseGeneratorArguments({"--font", "X", "--font-file", "f.ttf", "--pixel-size", "12", "--chars",
                                            "both", "--list", "L", "--cell-width", "9", "--hinting", "none",
                                            "--shift-x", "0.5", "--shift-y", "-0.25", "--scale", "position", "--scale", "0.5",
                                            "--blend", "0.25", "--order", "flat", "--training", "t.csv",
                                            "--add-min-count", "7", "--cost-blend", "0.75", "--first", "A",
                                            "--output", "-", "--measurements", "m.csv", "-h"});
    ASSERT_TRUE(options.ok()) << options.error().message;
    const GeneratorOptions& o = options.value();
    EXPECT_EQ(o.fontFamily + o.fontFile + o.charList + o.training + o.first + o.output + o.measurements,
              "Xf.ttfLt.csvA-m.csv");
    EXPECT_EQ(std::vector<double>({o.pixelSize, o.cellWidth, o.shiftX, o.shiftY, o.rule.scale, o.rule.blend, o.trainingRule.costBlend}),
              std::vector<double>({12, 9, 0.5, -0.25, 0.5, 0.25, 0.75}));
    EXPECT_EQ(o.charSet, CharSet::Both);
    EXPECT_EQ(o.hinting, Hinting::None);
    EXPECT_EQ(o.rule.scaleRule, ScaleRule::PerPosition);
    EXPECT_EQ(o.order, RecordOrder::Flat);
    EXPECT_EQ(o.trainingRule.addMinCount, 7);
    EXPECT_TRUE(o.showHelp);
    for (const auto& [value, rule] : {std::pair{"darkest", ScaleRule::Darkest}, std::pair{"top-left", ScaleRule::TopLeft}}) {
        EXPECT_EQ(ParseGeneratorArguments({"--scale", value}).value().rule.scaleRule, rule) << value;
    }
}

TEST(GeneratorOptionsTest, ChoicesAndRangesAreCheckedAndBadOnesNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // a piece of the message; empty: accepted
        {{"--pixel-size", "1"}, ""}, {{"--pixel-size", "500"}, ""}, {{"--blend", "1"}, ""}, {{"--shift-x", "-50"}, ""},
        {{"--add-min-count", "1"}, ""}, {{"-o", "x.csv"}, ""},
        {{"--order"}, "--order needs a value"}, {{"--order", "random"}, "not 'random'"}, {{"--chars", "all"}, "not 'all'"},
        {{"--hinting", "strong"}, "not 'strong'"}, {{"--scale", "lightest"}, "not 'lightest'"},
        {{"--scale", "-0.1"}, "not '-0.1'"}, {{"--blend", "1.5"}, "not '1.5'"}, {{"--blend", "0.5x"}, "not '0.5x'"},
        {{"--pixel-size", "0.99"}, "not '0.99'"}, {{"--pixel-size", "nan"}, "not 'nan'"},
        {{"--shift-y", "50.5"}, "not '50.5'"}, {{"--cost-blend", "2"}, "not '2'"}, {{"--add-min-count", "0"}, "not '0'"},
        {{"--add-min-count", "3x"}, "not '3x'"}, {{"--bogus", "1"}, "unknown option '--bogus'"},
        {{"stray"}, "unexpected argument 'stray'"}};
    for (const auto& [arguments, error] : cases) {
        auto options = ParseGeneratorArguments(arguments);
        ASSERT_EQ(options.ok(), error.empty()) << arguments[0];
        if (!options.ok()) {
            EXPECT_NE(options.error().message.find(error), std::string::npos) << options.error().message;
        }
    }
}

}  // namespace
}  // namespace moza::tools
