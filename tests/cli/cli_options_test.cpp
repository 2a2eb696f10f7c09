// The command line of moza-convert: options, defaults and usage errors.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <tuple>

namespace moza::cli {
namespace {

TEST(CliOptionsTest, ShortAndLongFormsSayTheSame) {
    const std::vector<std::string> forms[] = {
        {"-t", "猫", "-m", "-o", "out", "--table", "t.csv", "-j", "2", "-q", "a.jpg", "b.png"},
        {"--title", "猫", "--mono", "--output", "out", "--table", "t.csv", "--jobs", "2", "--quiet", "a.jpg", "b.png"},
        {"-j2", "-m", "-q", "-t", "猫", "-o", "out", "--table", "t.csv", "a.jpg", "b.png"},
    };
    for (const auto& arguments : forms) {
        const Result<CliOptions> options = ParseArguments(arguments);
        ASSERT_TRUE(options.ok()) << options.error().message;
        const CliOptions& o = options.value();
        EXPECT_EQ(std::tie(o.hasTitle, o.title, o.mode, o.output, o.table, o.jobs, o.quiet),
                  std::tuple(true, "猫", convert::ColorMode::Mono, "out", "t.csv", 2, true));
        EXPECT_EQ(o.pictures, (std::vector<std::string>{"a.jpg", "b.png"}));
    }
}

TEST(CliOptionsTest, OptionsAndTheirDefaults) {
    const CliOptions o = ParseArguments({"a.jpg"}).value();
    EXPECT_EQ(std::tie(o.hasTitle, o.mode, o.output, o.jobs, o.pageSize.allowEnlarge), std::tuple(false, convert::ColorMode::Web, "", 1, false));
    EXPECT_FALSE(o.pageSize.asksAnything());
    EXPECT_EQ(ParseArguments({"-", "--", "-odd-name.jpg"}).value().pictures, (std::vector<std::string>{"-", "-odd-name.jpg"}));
    EXPECT_EQ(ParseArguments({"-j64", "a.jpg"}).value().jobs, 64);  // the highest
    EXPECT_EQ(ParseArguments({"-j", "1", "--width", "1", "a.jpg"}).value().pageSize.columns, 1);  // the lowest of each
    EXPECT_TRUE(ParseArguments({"a.jpg", "-t", ""}).value().hasTitle);  // a value as the last argument
    EXPECT_TRUE(ParseArguments({"--help"}).value().showHelp);
    EXPECT_TRUE(ParseArguments({"--version"}).value().showVersion);
    const convert::PageSizeRequest size =
        ParseArguments({"--width", "200", "--height", "10922", "--max-cells", "100000", "--allow-enlarge", "a.jpg"})
            .value()
            .pageSize;
    EXPECT_EQ((std::tuple{size.columns, size.rows, size.maxCells, size.allowEnlarge}), (std::tuple{200, 10922, 100000, true}));
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
        {{"-j", "65", "a.jpg"}, "-j needs a number of pictures from 1 to 64, not '65'"},
        {{"-j2x", "a.jpg"}, "-j needs a number of pictures from 1 to 64, not '2x'"},
        {{"--table", "", "a.jpg"}, "option '--table' needs a non-empty path"},
        {{"-o", "", "a.jpg"}, "option '-o' needs a non-empty path"},
        {{"--width", "0", "a.jpg"}, "--width needs a number of columns from 1 to 100000, not '0'"},
        {{"--height", "10923", "a.jpg"}, "--height needs a number of rows from 1 to 10922, not '10923'"},
        {{"--max-cells", "1e5", "a.jpg"}, "--max-cells needs a number of cells from 1 to 1000000000, not '1e5'"},
        {{"a.jpg", "--width"}, "option '--width' needs a value"},
        {{"-o", "-", "a.jpg", "b.jpg"}, "'-o -' writes one page to standard output; 2 pictures were given"},
        {{"--image-width", "10", "a.jpg"}, "'--image-width' needs '--image FILE.png'"},
        {{"--no-page", "a.jpg"}, "'--no-page' needs '--image FILE.png': without either nothing would be written"},
        {{"--image", "x.png", "a.jpg", "b.jpg"}, "'--image' draws one page; 2 pictures were given"},
        {{"--image", "x.png", "-o", "-", "a.jpg"}, "'--image' draws the page from its file: leave out '-o -'"},
        {{"--image", "x.png", "--no-page", "-o", "p.html", "a.jpg"}, "'--no-page' writes no page: leave out '-o'"},
        {{"--image", "x.png", "--image-width", "0", "a.jpg"},
         "--image-width needs a number of pixels from 1 to 1000000, not '0'"},
    };
    for (const Case& c : cases) {
        const Result<CliOptions> options = ParseArguments(c.arguments);
        ASSERT_FALSE(options.ok()) << c.message;
        EXPECT_EQ(options.error().message, c.message);
    }
}

}  // namespace
}  // namespace moza::cli
