// Page file names: the date, the time and the title, and the checks a title must pass first.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace moza::convert {

/// "20261205_184607_cat.html": the local date and time ("0000" and "00" pieces) and the title.
std::string PageFileName(const std::tm& localTime, std::string_view title);

/// Fails when a title cannot go into a file name: it holds \ / : * ? " < > | or a control
/// character. The message names the character.
Status CheckTitleForFileName(std::string_view titleUtf8);

/// Fails when a title holds a line break (CR or LF), as a page is a single line, or '<' or '>',
/// which would be markup in the page (the title is written into it unescaped). Every page's title
/// is held to it, whatever its file is named.
Status CheckTitleForPage(std::string_view titleUtf8);

/// The page file's path in `tempFolder` for the title at `localTime`, after CheckTitleForFileName.
Result<std::filesystem::path> PageFilePath(const std::filesystem::path& tempFolder, const std::tm& localTime,
                                           std::string_view titleUtf8);

/// The local date and time now.
std::tm LocalTimeNow();

}  // namespace moza::convert
