// Page composition: cells written straight into a buffer that is handed on a megabyte at a time.
#include "convert/page_composer.h"

#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "convert/block_sampler.h"

namespace moza::convert {
namespace {

constexpr std::string_view kTableStart = "<table cellspacing=0 cellpadding=0 width=";
constexpr std::string_view kTagEnd = ">";
constexpr std::string_view kRowStart = "<tr height=9>";
constexpr std::string_view kCellStart = "<td width=9><font style=font-size:8pt;color:#";
constexpr std::string_view kCellEnd = "</font></td>";
constexpr std::string_view kRowEnd = "</tr>";
constexpr std::string_view kTableEnd = "</table>";
constexpr std::string_view kPageStart = "<html><head><title>";
constexpr std::string_view kAfterTitle = "</title></head><body text=#000000>";

constexpr std::size_t kCellMaxBytes = kCellStart.size() + 6 + kTagEnd.size() + 2 + kCellEnd.size();
constexpr std::size_t kFlushBytes = 1u << 20;

/// Two uppercase hexadecimal digits for every byte value.
constexpr std::array<char, 512> makeHexPairs() {
    std::array<char, 512> pairs{};
    constexpr char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 256; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = digits[i >> 4];
        pairs[static_cast<std::size_t>(2 * i + 1)] = digits[i & 15];
    }
    return pairs;
}
constexpr std::array<char, 512> kHexPairs = makeHexPairs();

char* put(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* putHex(char* out, int byte) {
    std::memcpy(out, &kHexPairs[static_cast<std::size_t>(2 * byte)], 2);
    return out + 2;
}

char* putCode(char* out, glyph::CharCode code) {
    if (code >= 0 && code <= 255) {
        *out++ = static_cast<char>(code);
    } else if (code > 255 && code <= 65535) {
        *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 255);
    } else {
        *out++ = '?';
    }
    return out;
}

/// Writes one block row of cells at `out`; returns the end.
char* composeRow(char* out, const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                 int blockRow, const BlockProgress& progress, std::int64_t last) {
    const int columns = image.blockColumns();
    const std::int64_t rowStart = static_cast<std::int64_t>(blockRow) * columns;
    out = put(out, kRowStart);
    for (int c = 0; c < columns; ++c) {
        if (progress.onBlock != nullptr) progress.onBlock(progress.context, rowStart + c, last);
        const BlockSample sample = SampleBlock(image, blockRow, c);
        out = put(out, kCellStart);
        if (mode == ColorMode::Web) {
            out = putHex(out, sample.red);
            out = putHex(out, sample.green);
            out = putHex(out, sample.blue);
        } else {
            out = put(out, "000000");
        }
        out = put(out, kTagEnd);
        out = putCode(out, table.FindGlyph(sample.pattern));
        out = put(out, kCellEnd);
    }
    return put(out, kRowEnd);
}

}  // namespace

Status ComposeTable(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                    const MarkupSink& sink, BlockProgress progress) {
    if (table.empty()) {
        return Error{"the glyph table holds no characters, so there is nothing to draw the picture with"};
    }
    const int rows = image.blockRows();
    const int columns = image.blockColumns();
    const std::int64_t last = static_cast<std::int64_t>(rows) * columns - 1;
    const std::size_t rowMaxBytes = kRowStart.size() + kRowEnd.size() + static_cast<std::size_t>(columns) * kCellMaxBytes;

    std::string buffer;
    buffer.resize(kFlushBytes + rowMaxBytes + 64);
    char* out = buffer.data();
    out = put(out, kTableStart);
    out += std::snprintf(out, 24, "%" PRId64, static_cast<std::int64_t>(columns) * 9);
    out = put(out, kTagEnd);
    for (int r = 0; r < rows; ++r) {
        out = composeRow(out, image, table, mode, r, progress, last);
        const auto used = static_cast<std::size_t>(out - buffer.data());
        if (used >= kFlushBytes) {
            if (!sink(std::string_view(buffer.data(), used))) return Error{"the page could not be written"};
            out = buffer.data();
        }
    }
    out = put(out, kTableEnd);
    if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(out - buffer.data())))) {
        return Error{"the page could not be written"};
    }
    return success();
}

Result<std::string> ComposeTableText(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                                     BlockProgress progress) {
    std::string text;
    // Most cells take one glyph byte fewer than the most; reserving the most avoids regrowth.
    text.reserve(static_cast<std::size_t>(image.blockRows()) *
                 (kRowStart.size() + kRowEnd.size() + static_cast<std::size_t>(image.blockColumns()) * kCellMaxBytes) +
                 kTableStart.size() + kTableEnd.size() + 32);
    Status status = ComposeTable(
        image, table, mode,
        [&text](std::string_view piece) {
            text.append(piece);
            return true;
        },
        progress);
    if (!status) return status.error();
    return text;
}

std::string PageHead(std::string_view titleCp932) {
    std::string head;
    head.reserve(kPageStart.size() + titleCp932.size() + kAfterTitle.size());
    head.append(kPageStart).append(titleCp932).append(kAfterTitle);
    return head;
}

std::string PageDocument(std::string_view titleCp932, std::string_view tableHtml) {
    std::string page = PageHead(titleCp932);
    page.reserve(page.size() + tableHtml.size() + kPageTail.size());
    page.append(tableHtml).append(kPageTail);
    return page;
}

std::string ProgressCaption(std::int64_t i, std::int64_t last) {
    const double percent = last == 0 ? 100.0 : static_cast<double>(i) / static_cast<double>(last) * 100.0;
    // Formatted by hand rather than with printf so the decimal point never follows the locale.
    const auto hundredths = static_cast<std::int64_t>(std::llround(percent * 100.0));
    char text[96];
    std::snprintf(text, sizeof text, "Moza - %" PRId64 "/%" PRId64 " (%02" PRId64 ".%02" PRId64 "%%)", i, last,
                  hundredths / 100, hundredths % 100);
    return text;
}

}  // namespace moza::convert
