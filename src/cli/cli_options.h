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

struct CliOptions {
    std::vector<std::string> pictures;
    bool hasTitle = false;
    std::string title;             // UTF-8; without one each page takes its picture's name
    convert::ColorMode mode = convert::ColorMode::Web;
    std::string output;            // empty: the program's temp folder; "-": standard output
    std::string table;             // empty: char.csv in the program's data folder
    int jobs = 1;
    convert::PageSizeRequest pageSize;  // nothing asked: the page of the whole picture
    bool quiet = false;
    bool showHelp = false;
    bool showVersion = false;
};

/// Parses the arguments after the program name. Fails with a usage message for unknown options,
/// missing or bad option values, no picture, or "-o -" with several pictures.
Result<CliOptions> ParseArguments(const std::vector<std::string>& arguments);

/// The text --help prints.
std::string HelpText();

}  // namespace moza::cli
