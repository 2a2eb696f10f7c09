// The command line of moza-convert: what it asks for, parsed into CliOptions.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "convert/page_composer.h"
#include "convert/page_size.h"

namespace moza::cli {

/// The most pictures converted at a time (-j).
inline constexpr int kMaxJobs = 64;
/// The widest picture of a page --image-width accepts before the page itself is known.
inline constexpr int kMaxImageWidth = 1000000;

struct CliOptions {
    std::vector<std::string> pictures;
    bool hasTitle = false;
    std::string title;             // UTF-8; without one each page takes its picture's name
    convert::ColorMode mode = convert::ColorMode::Web;
    std::string output;            // empty: the program's temp folder; "-": standard output
    std::string table;             // empty: char.csv in the program's data folder
    int jobs = 1;
    convert::PageSizeRequest pageSize;  // nothing asked: the page of the whole picture
    std::string image;                  // also a PNG of the artwork here (one picture only)
    int imageWidth = 0;                 // its width in pixels; 0: the whole page within 4096 pixels
    bool keepPage = true;               // false (--no-page): the picture of the page only
    bool quiet = false;
    bool showHelp = false;
    bool showVersion = false;
};

/// Parses the arguments after the program name. Fails with a usage message for unknown options,
/// missing or bad option values, no picture, "-o -" with several pictures, or --image with several
/// pictures, with "-o -", or --no-page and --image-width without it.
Result<CliOptions> ParseArguments(const std::vector<std::string>& arguments);

/// The text --help prints.
std::string HelpText();

}  // namespace moza::cli
