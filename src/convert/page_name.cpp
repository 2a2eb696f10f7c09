// Page file names from the clock and the title, and the title checks they rest on.
#include "convert/page_name.h"

#include <cstdio>

#include "common/utf8.h"

namespace moza::convert {

std::string PageFileName(const std::tm& localTime, std::string_view title) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d_", localTime.tm_year + 1900, localTime.tm_mon + 1,
                  localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
    return std::string(stamp).append(title).append(".html");
}

Status CheckTitleForFileName(std::string_view titleUtf8) {
    constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    for (std::size_t at = 0; at < titleUtf8.size();) {
        const CodePoint point = DecodeUtf8(titleUtf8.substr(at));
        if (point.length == 0) {
            return Error{"the title is not valid UTF-8",
                         ErrorKind::TextNotUtf8,
                         {},
                         {},
                         {.byte = static_cast<long long>(at + 1)}};
        }
        const bool control = point.value < 0x20 || point.value == 0x7F;
        if (control || (point.value < 0x80 && kForbidden.find(static_cast<char>(point.value)) != std::string_view::npos)) {
            const std::string_view character = titleUtf8.substr(at, static_cast<std::size_t>(point.length));
            return Error{"the title cannot be part of a file name: it holds " +
                             DescribeCharacter(character, point.value) +
                             " (a file name cannot hold \\ / : * ? \" < > | or control characters)",
                         ErrorKind::TitleCharacterInFileName,
                         {},
                         std::string(character),
                         {.codePoint = point.value}};
        }
        at += static_cast<std::size_t>(point.length);
    }
    return success();
}

Status CheckTitleForPage(std::string_view titleUtf8) {
    if (titleUtf8.find_first_of("\r\n") != std::string_view::npos) {
        return Error{"the title holds a line break, and a page is a single line", ErrorKind::TitleLineBreak};
    }
    // The title goes into the page as it is, so a '<' or '>' would open or close markup there
    // (a "</title><script>" would run in any browser that shows the page).
    if (const std::size_t at = titleUtf8.find_first_of("<>"); at != std::string_view::npos) {
        const std::string character(1, titleUtf8[at]);
        return Error{"the title cannot hold " + DescribeCharacter(character, static_cast<char32_t>(titleUtf8[at])) +
                         ": it goes into the page as it is, where a browser would read it as the start or end of "
                         "markup, not as text",
                     ErrorKind::TitleMarkup,
                     {},
                     character,
                     {.codePoint = static_cast<long long>(titleUtf8[at])}};
    }
    return success();
}

Result<std::filesystem::path> PageFilePath(const std::filesystem::path& tempFolder, const std::tm& localTime,
                                           std::string_view titleUtf8) {
    if (Status checked = CheckTitleForFileName(titleUtf8); !checked) return checked.error();
    const std::string name = PageFileName(localTime, titleUtf8);
    return tempFolder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace moza::convert
