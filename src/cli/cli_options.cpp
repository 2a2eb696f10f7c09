// The command line of moza-convert, parsed by hand so every mistake gets its own message.
#include "cli/cli_options.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "convert/page_geometry.h"
#include "convert/working_image.h"

namespace moza::cli {
namespace {

Result<int> parseJobs(const std::string& text) {
    int jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc{} || end != text.data() + text.size() || jobs < 1 || jobs > kMaxJobs) {
        return Error{"-j needs a number of pictures from 1 to " + std::to_string(kMaxJobs) + ", not '" + text + "'"};
    }
    return jobs;
}

/// A whole number from 1 to `highest` for `option`.
Result<std::int64_t> parseCount(const std::string& option, const std::string& text, std::int64_t highest,
                                const char* what) {
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc{} || end != text.data() + text.size() || count < 1 || count > highest) {
        return Error{option + " needs a number of " + what + " from 1 to " + std::to_string(highest) + ", not '" +
                     text + "'"};
    }
    return count;
}

/// --width, --height and --max-cells; false when `arg` is none of them.
bool parsePageSize(const std::string& arg, const std::string& text, convert::PageSizeRequest& size, Status& status) {
    constexpr std::int64_t kMostColumns = 100000;
    constexpr std::int64_t kMostRows = convert::kMaxPictureHeight / 3;
    constexpr std::int64_t kMostCells = 1000000000;
    Result<std::int64_t> count = Error{""};
    if (arg == "--width") count = parseCount(arg, text, kMostColumns, "columns");
    else if (arg == "--height") count = parseCount(arg, text, kMostRows, "rows");
    else if (arg == "--max-cells") count = parseCount(arg, text, kMostCells, "cells");
    else return false;
    if (!count) {
        status = count.error();
    } else if (arg == "--max-cells") {
        size.maxCells = count.value();
    } else {
        (arg == "--width" ? size.columns : size.rows) = static_cast<int>(count.value());
    }
    return true;
}

/// The rules of --image, --image-width and --no-page.
Result<CliOptions> checkImage(CliOptions options) {
    if (options.image.empty()) {
        if (options.imageWidth != 0) return Error{"'--image-width' needs '--image FILE.png'"};
        if (!options.keepPage) {
            return Error{"'--no-page' needs '--image FILE.png': without either nothing would be written"};
        }
        return options;
    }
    if (options.pictures.size() > 1) {
        return Error{"'--image' draws one page; " + std::to_string(options.pictures.size()) + " pictures were given"};
    }
    if (options.output == "-") return Error{"'--image' draws the page from its file: leave out '-o -'"};
    if (!options.keepPage && !options.output.empty()) return Error{"'--no-page' writes no page: leave out '-o'"};
    return options;
}

/// The options that take no value; false when `arg` is none of them.
bool applyFlag(const std::string& arg, CliOptions& options) {
    if (arg == "-m" || arg == "--mono") options.mode = convert::ColorMode::Mono;
    else if (arg == "--no-page") options.keepPage = false;
    else if (arg == "--allow-enlarge") options.pageSize.allowEnlarge = true;
    else if (arg == "-q" || arg == "--quiet") options.quiet = true;
    else if (arg == "-h" || arg == "--help") options.showHelp = true;
    else if (arg == "--version") options.showVersion = true;
    else return false;
    return true;
}

bool takesValue(const std::string& arg) {
    for (const char* option : {"-t", "--title", "-o", "--output", "--table", "-j", "--jobs", "--width", "--height",
                               "--max-cells", "--image", "--image-width"}) {
        if (arg == option) return true;
    }
    return false;
}

/// Sets the option `arg`, one that takes a value, to `text`. Fails on a value it cannot take.
Status applyValue(const std::string& arg, const std::string& text, CliOptions& options) {
    auto path = [&arg, &text](std::string& into) -> Status {
        if (text.empty()) return Error{"option '" + arg + "' needs a non-empty path"};
        into = text;
        return success();
    };
    if (arg == "-t" || arg == "--title") {
        options.title = text;
        options.hasTitle = true;
    } else if (arg == "-o" || arg == "--output") {
        return path(options.output);
    } else if (arg == "--table") {
        return path(options.table);
    } else if (arg == "--image") {
        return path(options.image);
    } else if (arg == "-j" || arg == "--jobs") {
        Result<int> jobs = parseJobs(text);
        if (!jobs) return jobs.error();
        options.jobs = jobs.value();
    } else if (arg == "--image-width") {
        Result<std::int64_t> pixels = parseCount(arg, text, kMaxImageWidth, "pixels");
        if (!pixels) return pixels.error();
        options.imageWidth = static_cast<int>(pixels.value());
    } else {
        Status status = success();
        parsePageSize(arg, text, options.pageSize, status);
        return status;
    }
    return success();
}

static_assert(convert::geometry::kCellWidthPx == 10.65 && convert::geometry::kCellHeightPx == 10.0,
              "the options' help below gives a character's size");

/// The options, one or two columns each, as --help lists them.
constexpr std::string_view kOptionsHelp =
    "Options:\n"
    "  -t, --title TEXT   the page title (default: the picture's file name without\n"
    "                     its extension)\n"
    "  -m, --mono         black characters instead of the blocks' colours\n"
    "  -o, --output PATH  the page file for one picture, a folder for several\n"
    "                     (pages named after the pictures; a path ending in /\n"
    "                     is a folder, created when missing), or - for standard\n"
    "                     output. Without it pages go to the program's temp\n"
    "                     folder (temp/ beside the program; when installed,\n"
    "                     moza/temp in $XDG_DATA_HOME or ~/.local/share), named\n"
    "                     from the date, time and title, and their paths are\n"
    "                     printed.\n"
    "      --table FILE   another character table (default: char.csv in the\n"
    "                     program's data folder)\n"
    "      --width COLUMNS\n"
    "                     make the page at most COLUMNS characters wide\n"
    "      --height ROWS  make the page at most ROWS characters high; with --width\n"
    "                     it fits within both. The picture is scaled down first,\n"
    "                     keeping its shape as a browser shows the page (a\n"
    "                     character is about 10.65 x 10 pixels)\n"
    "      --allow-enlarge\n"
    "                     let --width and --height enlarge small pictures\n"
    "      --max-cells N  scale down only the pictures whose page would hold more\n"
    "                     than N characters (100000 suits a folder of phone photos)\n"
    "      --image FILE.png\n"
    "                     also draw the page's characters as a PNG picture (one\n"
    "                     picture only), as the desktop program's art view shows\n"
    "                     them\n"
    "      --image-width PIXELS\n"
    "                     the PNG's width (default: the whole page within 4096\n"
    "                     pixels; at most the size a browser shows, and at most\n"
    "                     as many pixels as a picture Moza reads)\n"
    "      --no-page      with --image, keep only the PNG, not the page\n"
    "  -j N               convert N pictures at a time (default 1)\n"
    "  -q, --quiet        print nothing but errors (no page paths, no summary)\n"
    "  -h, --help         show this help\n"
    "      --version      show the version\n";

}  // namespace

Result<CliOptions> ParseArguments(const std::vector<std::string>& arguments) {
    CliOptions options;
    bool onlyPictures = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        Status status = success();
        if (onlyPictures || arg == "-" || arg.empty() || arg[0] != '-') {
            options.pictures.push_back(arg);
        } else if (arg == "--") {
            onlyPictures = true;
        } else if (applyFlag(arg, options)) {
        } else if (arg.size() > 2 && arg.rfind("-j", 0) == 0) {  // -j4
            status = applyValue("-j", arg.substr(2), options);
        } else if (takesValue(arg)) {
            if (i + 1 >= arguments.size()) return Error{"option '" + arg + "' needs a value"};
            status = applyValue(arg, arguments[++i], options);
        } else {
            status = Error{"unknown option '" + arg + "'"};
        }
        if (!status) return status.error();
    }
    if (options.showHelp || options.showVersion) return options;
    if (options.pictures.empty()) return Error{"no picture given"};
    if (options.output == "-" && options.pictures.size() > 1) {
        return Error{"'-o -' writes one page to standard output; " + std::to_string(options.pictures.size()) +
                     " pictures were given"};
    }
    return checkImage(options);
}

std::string HelpText() {
    std::string help =
        "Usage: moza-convert [options] PICTURE...\n"
        "Turns pictures into web pages of character art: every 3 x 3 block of a picture\n"
        "becomes one character of a table, in the block's colour or in black.\n"
        "\n";
    help += kOptionsHelp;
    return help +
           "\n"
           "Pictures: BMP, JPEG, PNG, GIF and whatever else Qt's image readers know.\n"
           "Exit status: 0 all pictures converted, 1 some failed, 2 a usage error.\n";
}

}  // namespace moza::cli
