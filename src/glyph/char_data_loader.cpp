// LoadCharData: the char.csv reader (values, not lines) with messages that say where it failed.
#include "glyph/char_data_loader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include "common/file_text.h"
#include "glyph/char_code.h"

namespace moza::glyph {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

/// Walks the text value by value, counting lines (CR LF is one line end).
class ValueReader {
public:
    explicit ValueReader(std::string_view text) : m_text(text) {}

    /// Skips blank lines and spaces before a record; false at the end of the text.
    bool skipToNextValue() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (isSpace(c)) {
                ++m_pos;
            } else if (isLineEnd(c) && m_atLineStart) {
                consumeLineEnd();
            } else {
                return true;
            }
        }
        return false;
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    /// Whether the last value read ended its line (or none was read yet).
    bool atLineStart() const { return m_atLineStart; }
    int line() const { return m_line; }

    /// Reads one raw value (quotes removed, spaces trimmed) and the separator after it.
    /// Returns nothing for a quote that is never closed.
    std::optional<std::string_view> next() {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos])) ++m_pos;
        std::string_view value;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const std::size_t open = m_pos;
            const std::size_t close = m_text.find('"', open + 1);
            if (close == std::string_view::npos) return std::nullopt;
            std::size_t after = close + 1;
            while (after < m_text.size() && isSpace(m_text[after])) ++after;
            const std::size_t end = separatorFrom(after);
            // Text between the closing quote and the separator makes the whole value malformed.
            value = end == after ? m_text.substr(open + 1, close - open - 1) : trimmed(open, end);
            m_pos = end;
        } else {
            const std::size_t end = separatorFrom(m_pos);
            value = trimmed(m_pos, end);
            m_pos = end;
        }
        consumeSeparator();
        return value;
    }

    /// Reads a record written the plain way: ten whole numbers that fit their fields, separated
    /// by commas with nothing else between them, the last ending its line (LF or CR LF). Returns
    /// false, having read nothing, for any other record, which next() then reads value by value.
    bool readPlainRecord(CharRecord& record) {
        if (!m_atLineStart) return false;
        const char* p = m_text.data() + m_pos;
        const auto* const lineEnd = static_cast<const char*>(std::memchr(p, '\n', m_text.size() - m_pos));
        if (lineEnd == nullptr) return false;
        // Each step stops at a character that is no digit, minus or comma, so none passes the LF.
        std::int64_t values[10];
        for (int v = 0; v < 10; ++v) {
            if (v < 9 && static_cast<unsigned char>(*p - '0') < 10 && p[1] == ',') {  // a level of one digit, mostly
                values[v] = *p - '0';
                p += 2;
                continue;
            }
            const bool negative = *p == '-';
            if (negative) ++p;
            const char* const digits = p;
            std::int64_t value = 0;
            while (static_cast<unsigned char>(*p - '0') < 10 && p - digits <= 10) value = value * 10 + (*p++ - '0');
            if (p == digits || p - digits > 10) return false;
            values[v] = negative ? -value : value;
            if (v < 9 && *p++ != ',') return false;
        }
        if (*p == '\r') ++p;
        if (p != lineEnd) return false;
        for (int v = 0; v < 9; ++v) {
            if (values[v] < std::numeric_limits<Level>::min() || values[v] > std::numeric_limits<Level>::max()) {
                return false;
            }
            record.Pattern[static_cast<std::size_t>(v)] = static_cast<Level>(values[v]);
        }
        if (values[9] < std::numeric_limits<CharCode>::min() || values[9] > std::numeric_limits<CharCode>::max()) {
            return false;
        }
        record.Code = static_cast<CharCode>(values[9]);
        m_pos = static_cast<std::size_t>(p + 1 - m_text.data());
        ++m_line;
        return true;
    }

private:
    std::string_view trimmed(std::size_t begin, std::size_t end) const {
        std::string_view value = m_text.substr(begin, end - begin);
        while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
        return value;
    }

    std::size_t separatorFrom(std::size_t pos) const {
        while (pos < m_text.size() && m_text[pos] != ',' && !isLineEnd(m_text[pos])) ++pos;
        return pos;
    }

    void consumeSeparator() {
        if (m_pos >= m_text.size()) return;
        if (m_text[m_pos] == ',') {
            ++m_pos;
            m_atLineStart = false;
        } else {
            consumeLineEnd();
        }
    }

    void consumeLineEnd() {
        if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') ++m_pos;
        ++m_pos;
        ++m_line;
        m_atLineStart = true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    bool m_atLineStart = true;
};

template <typename T>
std::optional<T> parseWhole(std::string_view text, bool& isNumber) {
    isNumber = true;
    if (text.empty()) return T{0};
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            isNumber = false;
            return std::nullopt;
        }
    }
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range && end == text.data() + text.size()) {
        return std::nullopt;
    }
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        isNumber = false;
        return std::nullopt;
    }
    return value;
}

/// A value as a message shows it: at most kEchoedValueLength bytes, and bytes other than
/// printable ASCII escaped, so a binary or huge file can neither flood the message nor drive the
/// terminal.
std::string echoed(std::string_view value) {
    std::string out;
    for (const char c : value.substr(0, kEchoedValueLength)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    if (value.size() > kEchoedValueLength) out += "...";
    return out;
}

std::string where(std::string_view fileName, int record, int line) {
    std::ostringstream out;
    out << fileName << ": record " << record << " (line " << line << ")";
    return out.str();
}

/// Where the record being read stands in the file, for its messages.
struct RecordPlace {
    std::string_view fileName;
    int number = 0;           // counted from 1
    bool sharesLine = false;  // the record before ended on its first line
    int firstLine = 0;
    int codeLine = 0;  // where its code (or the value read last) is
};

/// The error for value `v` (counted from 0) of the record at `place`, `raw` on `line`, which is
/// not a whole number (`isNumber` false) or does not fit its field.
Error badValueError(const RecordPlace& place, int line, int v, std::string_view raw, bool isNumber) {
    const std::string field = v < 9 ? "a level (-32768 to 32767)" : "a character code (-2147483648 to 2147483647)";
    const long long lowest = v < 9 ? std::numeric_limits<Level>::min() : std::numeric_limits<CharCode>::min();
    const long long highest = v < 9 ? std::numeric_limits<Level>::max() : std::numeric_limits<CharCode>::max();
    return Error{where(place.fileName, place.number, line) + ": value " + std::to_string(v + 1) + " \"" + echoed(raw) +
                     "\" " + (isNumber ? "does not fit " + field : std::string("is not a whole number")),
                 isNumber ? ErrorKind::TableValueOutOfRange : ErrorKind::TableValueNotNumber,
                 {},
                 echoed(raw),
                 {.record = place.number,
                  .line = line,
                  .value = v + 1,
                  .lowest = isNumber ? std::optional(lowest) : std::nullopt,
                  .highest = isNumber ? std::optional(highest) : std::nullopt}};
}

/// The error for the record at `place` whose values ran out on `line` after `v` of them.
Error endedEarly(const RecordPlace& place, int line, int v) {
    if (place.sharesLine) {
        // Most likely one line too long, not one record too short: blame the line's record.
        return Error{where(place.fileName, place.number - 1, place.firstLine) + ": the record has too many values: " +
                         std::to_string(v) + " more follow its 10, too few for another record",
                     ErrorKind::TableRecordTooLong,
                     {},
                     {},
                     {.record = place.number - 1, .line = place.firstLine, .count = v}};
    }
    return Error{where(place.fileName, place.number, line) + ": the record is cut short: it has " + std::to_string(v) +
                     " of its 10 values",
                 ErrorKind::TableRecordCutShort,
                 {},
                 {},
                 {.record = place.number, .line = line, .count = v}};
}

/// Reads the ten values of the record at `reader` into `record`, the plain way when the line is
/// plain. Fails, naming the record and line in `place`, for a record cut short or one line too
/// long, an unclosed quote, or a value that is not a whole number or does not fit its field.
Status readRecord(ValueReader& reader, CharRecord& record, RecordPlace& place) {
    for (int v = reader.readPlainRecord(record) ? 10 : 0; v < 10; ++v) {
        if (reader.atEnd()) return endedEarly(place, reader.line(), v);
        const int line = reader.line();
        place.codeLine = line;
        const std::optional<std::string_view> raw = reader.next();
        if (!raw) {
            return Error{where(place.fileName, place.number, line) + ": value " + std::to_string(v + 1) +
                             " has a double quote that is never closed",
                         ErrorKind::TableQuoteNotClosed,
                         {},
                         {},
                         {.record = place.number, .line = line, .value = v + 1}};
        }
        bool isNumber = true;
        std::optional<std::int32_t> value;
        if (v < 9) {
            if (const auto level = parseWhole<Level>(*raw, isNumber)) value = *level;
        } else {
            value = parseWhole<CharCode>(*raw, isNumber);
        }
        if (!value) return badValueError(place, line, v, *raw, isNumber);
        if (v < 9) {
            record.Pattern[static_cast<std::size_t>(v)] = static_cast<Level>(*value);
        } else {
            record.Code = *value;
        }
    }
    return success();
}

}  // namespace

std::string LoadStatusLine(int index) { return "Loading Char Data File... " + std::to_string(index); }

Result<std::vector<CharRecord>> ParseCharData(std::string_view text, std::string_view fileName,
                                              const LoadStatusSink& status) {
    std::vector<CharRecord> records;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // some editors start UTF-8 files so
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    // A record a line, as a table mostly is: room for them all at once.
    records.reserve(std::min<std::size_t>(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1,
                                          kMaxCharCount + 1));
    ValueReader reader(text);
    int index = 0;
    while (reader.skipToNextValue()) {
        if (status) status(LoadStatusLine(index));
        CharRecord record;
        RecordPlace place{fileName, index + 1, !reader.atLineStart(), reader.line(), reader.line()};
        if (Status read = readRecord(reader, record, place); !read) return read.error();
        const int number = place.number;
        const int codeLine = place.codeLine;
        if (const std::string problem = CharCodeProblem(record.Code); !problem.empty()) {
            return Error{where(fileName, number, codeLine) + ": the character code " + std::to_string(record.Code) +
                             " " + problem + "; a code must be one character of code page 932",
                         ErrorKind::TableCodeNotCharacter,
                         {},
                         problem,
                         {.record = number, .line = codeLine, .code = record.Code}};
        }
        if (index == kMaxCharCount) {
            return Error{std::string(fileName) + ": more than " + std::to_string(kMaxCharCount) + " records (record " +
                             std::to_string(number) + " ends on line " + std::to_string(reader.line()) + ")",
                         ErrorKind::TableTooManyRecords,
                         {},
                         {},
                         {.record = number, .line = reader.line(), .limit = kMaxCharCount}};
        }
        records.push_back(record);
        ++index;
    }
    return records;
}

Result<GlyphTable> LoadCharData(const std::filesystem::path& file, const LoadStatusSink& status) {
    Result<std::string> text = ReadWholeFile(file, kMaxCharDataBytes);
    if (!text) return text.error();
    Result<std::vector<CharRecord>> records = ParseCharData(text.value(), file.string(), status);
    if (!records) return InContext("", records.error(), file);  // the table's errors name it already
    return GlyphTable(std::move(records).value());
}

}  // namespace moza::glyph
