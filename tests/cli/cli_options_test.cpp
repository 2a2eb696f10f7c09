// The command line of moza-convert: options, defaults and usage errors.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace moza::cli {
namespace {

TEST(CliOptionsTest, OptionsAndPictures) {
    const Result<CliOptions> options =
        ParseArguments({"-t", "猫", "-m", "-o", "out", "--table", "t.csv", "-j", "2", "-q", "a.jpg", "b.png"});
    ASSERT_TRUE(options.ok()) << options.error().message;
    const CliOptions& o = options.value();
    EXPECT_TRUE(o.hasTitle);
    EXPECT_EQ(o.title, "猫");
    EXPECT_EQ(o.mode, convert::ColorMode::Mono);
    EXPECT_EQ(o.output, "out");
    EXPECT_EQ(o.table, "t.csv");
    EXPECT_EQ(o.jobs, 2);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.pictures, (std::vector<std::string>{"a.jpg", "b.png"}));
}

TEST(CliOptionsTest, DefaultsAreColourOneJobAndTheTempFolder) {
    const CliOptions o = ParseArguments({"a.jpg"}).value();
    EXPECT_FALSE(o.hasTitle);
    EXPECT_EQ(o.mode, convert::ColorMode::Web);
    EXPECT_TRUE(o.output.empty());
    EXPECT_EQ(o.jobs, 1);
    EXPECT_EQ(ParseArguments({"-j4", "--", "-odd-name.jpg"}).value().pictures, std::vector<std::string>{"-odd-name.jpg"});
    EXPECT_EQ(ParseArguments({"-j4", "a.jpg"}).value().jobs, 4);
    EXPECT_TRUE(ParseArguments({"-t", "", "a.jpg"}).value().hasTitle);
}

TEST(CliOptionsTest, MistakesAreUsageErrors) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no picture given"},
        {{"-x", "a.jpg"}, "unknown option '-x'"},
        {{"a.jpg", "-t"}, "option '-t' needs a value"},
        {{"-j", "0", "a.jpg"}, "-j needs a number of pictures from 1 to 64, not '0'"},
        {{"-j", "two", "a.jpg"}, "-j needs a number of pictures from 1 to 64, not 'two'"},
        {{"-o", "", "a.jpg"}, "option '-o' needs a non-empty path"},
        {{"-o", "-", "a.jpg", "b.jpg"}, "'-o -' writes one page to standard output; 2 pictures were given"},
    };
    for (const Case& c : cases) {
        const Result<CliOptions> options = ParseArguments(c.arguments);
        ASSERT_FALSE(options.ok()) << c.message;
        EXPECT_EQ(options.error().message, c.message);
    }
}

TEST(CliOptionsTest, HelpAndVersionNeedNoPicture) {
    EXPECT_TRUE(ParseArguments({"--help"}).value().showHelp);
    EXPECT_TRUE(ParseArguments({"--version"}).value().showVersion);
}

}  // namespace
}  // namespace moza::cli
