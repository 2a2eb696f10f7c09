// BlockCounts: the compact counts file, written and read.
#include "block_counts.h"

#include <charconv>

#include "common/file_text.h"

namespace moza::tools {
namespace {

constexpr char kLevelChars[] = "0123456789A";

int levelOf(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return c == 'A' ? 10 : -1;
}

/// One line's pattern and count; false when the line is malformed.
bool parseLine(std::string_view line, glyph::DarknessPattern& pattern, std::int64_t& count) {
    if (line.size() < 11 || line[9] != ',') return false;
    for (std::size_t i = 0; i < 9; ++i) {
        const int level = levelOf(line[i]);
        if (level < 0) return false;
        pattern[i] = static_cast<glyph::Level>(level);
    }
    const char* end = line.data() + line.size();
    const auto [ptr, error] = std::from_chars(line.data() + 10, end, count);
    return error == std::errc{} && ptr == end && count > 0;
}

}  // namespace

std::string BlockCountsText(const BlockCounts& counts, std::int64_t minCount) {
    std::string text;
    for (const auto& [pattern, count] : counts) {
        if (count < minCount) continue;
        for (glyph::Level level : pattern) text += kLevelChars[level];
        text += "," + std::to_string(count) + "\n";
    }
    return text;
}

Result<BlockCounts> ReadBlockCounts(const std::filesystem::path& file) {
    Result<std::string> text = ReadWholeFile(file);
    if (!text) return text.error();
    BlockCounts counts;
    std::string_view rest = text.value();
    for (int lineNumber = 1; !rest.empty(); ++lineNumber) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        glyph::DarknessPattern pattern{};
        std::int64_t count = 0;
        const std::string where = Quoted(file) + ": line " + std::to_string(lineNumber) + ": ";
        if (!parseLine(line, pattern, count)) {
            return Error{where + "expected nine levels 0-9 or A, a comma and a count, not '" + std::string(line) + "'"};
        }
        if (!counts.emplace(pattern, count).second) return Error{where + "the pattern is given twice"};
    }
    return counts;
}

}  // namespace moza::tools
