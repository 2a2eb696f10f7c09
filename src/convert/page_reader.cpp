// Page reading: one forward pass over the bytes, comparing them with the markup the composer writes.
#include "convert/page_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

#include "common/file_text.h"
#include "convert/page_markup.h"

namespace moza::convert {
namespace {

using namespace markup;

/// The fewest bytes a cell takes: its start, the colour, ">", one character byte and its end.
constexpr std::size_t kMinCellBytes = kCellStart.size() + 6 + kTagEnd.size() + 1 + kCellEnd.size();
/// Titles are short (they are part of a file name); a longer one means this is no page of ours.
constexpr std::size_t kMaxTitleBytes = 1u << 16;
/// The most digits of the table width that can name a table a page file could hold.
constexpr std::size_t kMaxWidthDigits = 11;
/// The part of a file in memory at a time while it is read: room for the longest title.
constexpr std::size_t kWindowBytes = 1u << 18;

/// The value of an uppercase hexadecimal digit, or -1.
constexpr std::array<std::int8_t, 256> makeHexValues() {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) values[static_cast<std::size_t>('0' + i)] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) values[static_cast<std::size_t>('A' + i)] = static_cast<std::int8_t>(10 + i);
    return values;
}
constexpr std::array<std::int8_t, 256> kHexValues = makeHexValues();

bool hasPrefix(const char* at, const char* end, std::string_view text) {
    return static_cast<std::size_t>(end - at) >= text.size() && std::memcmp(at, text.data(), text.size()) == 0;
}

bool holdsTitleEnd(std::string_view title) {
    // The browser ends a title at the first "</title", whatever its case.
    constexpr std::string_view kEndTag = "</title";
    for (std::size_t at = title.find("</"); at != std::string_view::npos; at = title.find("</", at + 1)) {
        if (title.size() - at < kEndTag.size()) return false;
        bool same = true;
        for (std::size_t i = 2; i < kEndTag.size() && same; ++i) {
            const char c = title[at + i];
            same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == kEndTag[i];
        }
        if (same) return true;
    }
    return false;
}

/// The bytes being read: all of them, or a window onto a file that slides forward as it is read.
class ByteWindow {
public:
    explicit ByteWindow(std::string_view bytes)
        : m_at(bytes.data()), m_end(bytes.data() + bytes.size()), m_total(bytes.size()) {}

    ByteWindow(std::istream& in, std::uint64_t total, std::size_t capacity)
        : m_in(&in), m_buffer(new char[capacity]), m_capacity(capacity), m_total(total) {
        m_at = m_end = m_buffer.get();
    }

    /// Makes at least `count` bytes (at most the window's capacity) readable from `at` unless the
    /// input ends first; returns whether they are.
    bool ensure(std::size_t count) {
        if (static_cast<std::size_t>(m_end - m_at) >= count) return true;
        if (m_in != nullptr) refill();
        return static_cast<std::size_t>(m_end - m_at) >= count;
    }

    const char*& at() { return m_at; }
    const char* end() const { return m_end; }
    bool atEnd() { return !ensure(1); }
    /// The offset in the input of `p`, a pointer into the window.
    std::uint64_t offsetOf(const char* p) const { return m_startOffset + static_cast<std::uint64_t>(p - windowStart()); }
    /// The bytes of the input after `p`.
    std::uint64_t remainingAfter(const char* p) const { return m_total - offsetOf(p); }
    bool readFailed() const { return m_failed; }

private:
    const char* windowStart() const { return m_in != nullptr ? m_buffer.get() : m_end - m_total; }

    void refill() {
        const std::size_t kept = static_cast<std::size_t>(m_end - m_at);
        m_startOffset += static_cast<std::uint64_t>(m_at - m_buffer.get());
        std::memmove(m_buffer.get(), m_at, kept);
        m_at = m_buffer.get();
        m_end = m_at + kept;
        const std::uint64_t unread = m_total - (m_startOffset + kept);
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(m_capacity - kept, unread));
        if (wanted == 0) return;
        m_in->read(m_buffer.get() + kept, static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(m_in->gcount());
        if (got != wanted) m_failed = true;
        m_end += got;
    }

    std::istream* m_in = nullptr;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
    std::uint64_t m_total = 0;
    std::uint64_t m_startOffset = 0;  // input offset of the window's first byte (files)
    bool m_failed = false;
};

class PageReader {
public:
    PageReader(ByteWindow& window, std::string_view name) : m_window(window), m_name(name) {}

    Result<PageGrid> read() {
        PageGrid grid;
        if (!take(kPageFileMark)) return fail("it does not begin as a page file (" + std::string(kPageFileMark) + ")");
        if (Status title = readTitle(grid); !title) return title.error();
        if (Status head = readTableHead(grid); !head) return head.error();
        while (startsWith(kRowStart)) {
            if (grid.rows == 0) {
                if (Status room = prepareRows(grid); !room) return room.error();
            }
            if (grid.rows == INT_MAX) return fail("the table has too many rows");
            if (Status row = readRow(grid); !row) return row.error();
            ++grid.rows;
        }
        m_row = -1;
        if (!take(kTableEnd)) return fail("expected a row (" + std::string(kRowStart) + ") or the end of the table");
        if (!take(kPageFileTail)) return fail("expected the end of the page (</body></html>\" CR LF)");
        if (!m_window.atEnd()) return fail("bytes follow the end of the page");
        return grid;
    }

private:
    Status readTitle(PageGrid& grid) {
        m_window.ensure(kMaxTitleBytes + kAfterTitle.size());
        const char* at = m_window.at();
        const std::string_view rest(at, std::min<std::size_t>(static_cast<std::size_t>(m_window.end() - at),
                                                              kMaxTitleBytes + kAfterTitle.size()));
        const std::size_t titleEnd = rest.find(kAfterTitle);
        if (titleEnd == std::string_view::npos) {
            m_truncated = m_window.remainingAfter(at) < kMaxTitleBytes;
            return fail("expected the end of the title and the body start");
        }
        const std::string_view title = rest.substr(0, titleEnd);
        if (holdsTitleEnd(title)) return fail("the title holds \"</title\", which ends it early in a browser");
        grid.title.assign(title);
        m_window.at() += titleEnd + kAfterTitle.size();
        return success();
    }

    Status readTableHead(PageGrid& grid) {
        if (!take(kTableStart)) return fail("expected the table head (<table cellspacing=0 cellpadding=0 width=)");
        m_window.ensure(kMaxWidthDigits + 1);
        const char*& at = m_window.at();
        const char* digits = at;
        std::uint64_t width = 0;
        while (at < m_window.end() && *at >= '0' && *at <= '9' && static_cast<std::size_t>(at - digits) < kMaxWidthDigits) {
            width = width * 10 + static_cast<std::uint64_t>(*at - '0');
            ++at;
        }
        const std::size_t count = static_cast<std::size_t>(at - digits);
        m_truncated = at == m_window.end();
        if (count == 0 || (count > 1 && *digits == '0')) return fail("the table width is not a plain whole number");
        if (!take(kTagEnd)) return fail("expected \">\" after the table width");
        if (width % kCellPixels != 0) {
            return fail("the table width " + std::to_string(width) + " is not " + std::to_string(kCellPixels) +
                        " pixels per column");
        }
        const std::uint64_t columns = width / kCellPixels;
        if (columns > static_cast<std::uint64_t>(INT_MAX)) return fail("the table is wider than any picture");
        grid.columns = static_cast<int>(columns);
        return success();
    }

    /// Before the first row: a row must fit the rest of the input, and the cells it can hold are
    /// reserved at once.
    Status prepareRows(PageGrid& grid) {
        const std::uint64_t room = m_window.remainingAfter(m_window.at());
        if (static_cast<std::uint64_t>(grid.columns) > room / kMinCellBytes) {
            m_truncated = true;
            return fail("the table is wider than the rest of the file could hold");
        }
        if (grid.columns > 0) {
            const std::size_t mostCells = static_cast<std::size_t>(room / kMinCellBytes);
            grid.colors.reserve(mostCells);
            grid.codes.reserve(mostCells);
        }
        return success();
    }

    Status readRow(PageGrid& grid) {
        m_row = grid.rows;
        m_window.at() += kRowStart.size();
        for (m_cell = 0; m_cell < grid.columns; ++m_cell) {
            if (Status cell = readCell(grid); !cell) return cell.error();
        }
        m_cell = -1;
        if (!take(kRowEnd)) return fail("expected the end of the row (</tr>) after " + std::to_string(grid.columns) + " cells");
        return success();
    }

    Status readCell(PageGrid& grid) {
        m_window.ensure(kMinCellBytes + 1);
        const char* at = m_window.at();
        const char* end = m_window.end();
        if (static_cast<std::size_t>(end - at) < kMinCellBytes) {
            // The window holds all that is left of the input: cut off if it begins as a cell does.
            const std::size_t left = std::min(static_cast<std::size_t>(end - at), kCellStart.size());
            m_truncated = std::memcmp(at, kCellStart.data(), left) == 0;
            return fail("expected a cell (" + std::string(kCellStart) + ")");
        }
        if (std::memcmp(at, kCellStart.data(), kCellStart.size()) != 0) {
            return fail("expected a cell (" + std::string(kCellStart) + ")");
        }
        at += kCellStart.size();
        std::uint32_t color = 0;
        for (int i = 0; i < 6; ++i) {
            const int digit = kHexValues[static_cast<unsigned char>(at[i])];
            if (digit < 0) return failAt(at, "the colour is not six uppercase hexadecimal digits");
            color = (color << 4) | static_cast<std::uint32_t>(digit);
        }
        at += 6;
        if (*at != kTagEnd[0]) return failAt(at, "expected \">\" after the colour");
        ++at;
        std::uint16_t code = 0;
        if (std::memcmp(at + 1, kCellEnd.data(), kCellEnd.size()) == 0) {
            code = static_cast<unsigned char>(at[0]);
            at += 1 + kCellEnd.size();
        } else if (!hasPrefix(at + 2, end, kCellEnd)) {
            m_truncated = static_cast<std::size_t>(end - at) < 2 + kCellEnd.size();  // all the input there is
            return failAt(at, "expected one or two character bytes and the end of the cell (</font></td>)");
        } else if (at[0] == '\0') {
            return failAt(at, "a two-byte character cannot begin with the byte 0");
        } else {
            code = static_cast<std::uint16_t>(static_cast<unsigned char>(at[0]) << 8 | static_cast<unsigned char>(at[1]));
            at += 2 + kCellEnd.size();
        }
        grid.colors.push_back(color);
        grid.codes.push_back(code);
        m_window.at() = at;
        return success();
    }

    bool startsWith(std::string_view text) {
        if (m_window.ensure(text.size())) return hasPrefix(m_window.at(), m_window.end(), text);
        // What is left of the input is shorter than the text: cut off if it is where the text begins.
        const std::string_view left(m_window.at(), static_cast<std::size_t>(m_window.end() - m_window.at()));
        m_truncated = m_truncated || text.substr(0, left.size()) == left;
        return false;
    }

    bool take(std::string_view text) {
        if (!startsWith(text)) return false;
        m_window.at() += text.size();
        return true;
    }

    Error fail(const std::string& problem) { return failAt(m_window.at(), problem); }

    Error failAt(const char* at, const std::string& problem) {
        std::string where = std::string(m_name) + ": byte " + std::to_string(m_window.offsetOf(at));
        if (m_row >= 0 && m_cell >= 0) {
            where += " (row " + std::to_string(m_row + 1) + ", cell " + std::to_string(m_cell + 1) + ")";
        } else if (m_row >= 0) {
            where += " (row " + std::to_string(m_row + 1) + ")";
        }
        if (m_window.readFailed()) return Error{where + ": the file could not be read further"};
        if (m_truncated || m_window.remainingAfter(at) == 0) return Error{where + ": the page ends early: " + problem};
        return Error{where + ": " + problem};
    }

    ByteWindow& m_window;
    std::string_view m_name;
    int m_row = -1;
    int m_cell = -1;
    bool m_truncated = false;
};

}  // namespace

bool IsPageFileStart(std::string_view bytes) { return bytes.substr(0, kPageFileMark.size()) == kPageFileMark; }

Result<PageGrid> ReadPage(std::string_view bytes, std::string_view name) {
    ByteWindow window(bytes);
    return PageReader(window, name).read();
}

Result<PageGrid> ReadPageFile(const std::filesystem::path& file) {
    Result<FileForReading> opened = OpenFileForReading(file, kMaxPageFileBytes);
    if (!opened) {
        if (opened.error().kind != ErrorKind::FileTooLarge) return opened.error();
        return Error{Quoted(file) + " is too large to be read as a page",
                     ErrorKind::FileTooLarge,
                     file,
                     {},
                     {.limit = static_cast<long long>(kMaxPageFileBytes)}};
    }
    // Read through a small window rather than whole: a page can be hundreds of megabytes.
    ByteWindow window(opened.value().stream, opened.value().size, kWindowBytes);
    return PageReader(window, file.string()).read();
}

}  // namespace moza::convert
