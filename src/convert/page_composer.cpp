// Page composition: cells written straight into a buffer that is handed on a megabyte at a time.
#include "convert/page_composer.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>
#include <thread>
#include <vector>

#include "convert/band_pipeline.h"
#include "convert/block_sampler.h"
#include "convert/cp932.h"
#include "convert/page_markup.h"
#include "convert/row_source.h"
#include "glyph/glyph_cache.h"

namespace moza::convert {
namespace {

using namespace markup;

constexpr std::size_t kCellMaxBytes = kCellStart.size() + 6 + kTagEnd.size() + 2 + kCellEnd.size();
constexpr std::size_t kFlushBytes = 1u << 20;  // the size of the pieces handed on

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

/// Writes one block row of cells at `out`, its pixels in the three rows at `pixelRows`; returns the end.
char* composeRow(char* out, const ColorValue* const* pixelRows, int columns, glyph::GlyphCache& glyphs,
                 ColorMode mode) {
    const ColorValue* rows[3] = {pixelRows[0], pixelRows[1], pixelRows[2]};
    out = put(out, kRowStart);
    for (int c = 0; c < columns; ++c) {
        const PackedBlockSample sample = SamplePackedBlock(rows);
        for (const ColorValue*& row : rows) row += 3;
        out = put(out, kCellStart);
        if (mode == ColorMode::Web) {
            out = putHex(out, sample.red);
            out = putHex(out, sample.green);
            out = putHex(out, sample.blue);
        } else {
            out = put(out, kMonoColor);
        }
        out = put(out, kTagEnd);
        out = PutCharCode(out, glyphs.FindGlyph(sample.levels));
        out = put(out, kCellEnd);
    }
    return put(out, kRowEnd);
}

std::size_t rowMaxBytes(int columns) {
    return kRowStart.size() + kRowEnd.size() + static_cast<std::size_t>(columns) * kCellMaxBytes;
}

/// Composes a band into `bytes`, reusing its memory.
void composeBand(const Band& band, const BandRows& rows, int columns, std::string& bytes, glyph::GlyphCache& glyphs,
                 ColorMode mode) {
    bytes.resize(rowMaxBytes(columns) * static_cast<std::size_t>(band.end - band.first));
    char* out = bytes.data();
    for (std::size_t r = 0; r < rows.size(); r += 3) out = composeRow(out, &rows[r], columns, glyphs, mode);
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
}

/// A band's rows as pointers into an image already enlarged to whole blocks.
Status imageRows(const WorkingImage& image, const Band& band, BandRows& rows) {
    rows.clear();
    for (int y = 3 * band.first; y < 3 * band.end; ++y) rows.push_back(image.row(y));
    return success();
}

/// A row source's bands read into the pixel slots and enlarged to whole blocks there, as
/// WorkingImage::EnlargeToBlocks enlarges a whole picture.
class SourceRows {
public:
    SourceRows(RowSource& source, BandMemory& memory)
        : m_source(source),
          m_memory(memory),
          m_width(source.width()),
          m_height(source.height()),
          m_stride(static_cast<std::size_t>(WholeBlocks(source.width()))),
          m_lastRows(2 * m_stride) {}

    Status operator()(const Band& band, std::size_t slot, BandRows& rows) {
        const int first = 3 * band.first;
        const int end = 3 * band.end;
        const int read = std::min(end, m_height) - first;
        std::vector<ColorValue>& pixels = m_memory.pixels[slot];
        pixels.resize(static_cast<std::size_t>(end - first) * m_stride);
        m_pointers.clear();
        for (int r = 0; r < end - first; ++r)
            m_pointers.push_back(pixels.data() + static_cast<std::size_t>(r) * m_stride);
        if (Status got = m_source.read(std::span(m_pointers.data(), static_cast<std::size_t>(read))); !got) return got;
        for (int r = 0; r < read; ++r) FillColumnsToBlocks(m_pointers[static_cast<std::size_t>(r)], m_width);
        for (int y = first + read; y < end; ++y) {
            // Only the last band is short; the row it copies may be one of the band before's last two.
            const int copied = CopiedRow(m_height, y);
            const ColorValue* from = copied >= first
                                         ? m_pointers[static_cast<std::size_t>(copied - first)]
                                         : m_lastRows.data() + static_cast<std::size_t>(copied - first + 2) * m_stride;
            std::copy(from, from + m_stride, m_pointers[static_cast<std::size_t>(y - first)]);
        }
        if (read >= 2) {
            std::copy(m_pointers[static_cast<std::size_t>(read - 2)],
                      m_pointers[static_cast<std::size_t>(read - 2)] + m_stride, m_lastRows.begin());
            std::copy(m_pointers[static_cast<std::size_t>(read - 1)],
                      m_pointers[static_cast<std::size_t>(read - 1)] + m_stride,
                      m_lastRows.begin() + static_cast<std::ptrdiff_t>(m_stride));
        }
        rows.assign(m_pointers.begin(), m_pointers.end());
        return success();
    }

private:
    RowSource& m_source;
    BandMemory& m_memory;
    int m_width;
    int m_height;
    std::size_t m_stride;
    std::vector<ColorValue> m_lastRows;  // the last two rows read, after their column fill
    std::vector<ColorValue*> m_pointers;
};

/// The table's bands of rows: about a megabyte of markup each, large enough to write
/// efficiently, small enough to stream.
std::vector<Band> tableBands(int rows, int columns) {
    const int bandRows = static_cast<int>(std::clamp<std::size_t>(kFlushBytes / rowMaxBytes(columns), 1, 4096));
    std::vector<Band> bands;
    for (int first = 0; first < rows; first += bandRows) bands.push_back({first, std::min(rows, first + bandRows)});
    return bands;
}

/// The table's start tag, with its width: 9 pixels per column.
std::string tableHead(int columns) {
    std::string head(kTableStart);
    head += std::to_string(static_cast<std::int64_t>(columns) * kCellPixels);
    head += kTagEnd;
    return head;
}

}  // namespace

Error TableEmptyError() {
    return Error{"the character table holds no characters, so there is nothing to draw the picture with",
                 ErrorKind::TableEmpty};
}

namespace {

/// The table of `rows` x `columns` blocks whose pixel rows `fetch` gives.
Status composeTable(int rows, int columns, const RowFetch& fetch, BandMemory& memory, glyph::GlyphCache& glyphs,
                    ColorMode mode, const MarkupSink& sink, BlockProgress progress, int threads) {
    const std::int64_t last = static_cast<std::int64_t>(rows) * columns - 1;
    if (!sink(tableHead(columns))) return Error{"the page could not be written"};
    const std::vector<Band> bands = tableBands(rows, columns);
    auto compose = [&](const Band& band, const BandRows& pixelRows, std::string& bytes) {
        composeBand(band, pixelRows, columns, bytes, glyphs, mode);
    };
    auto deliver = [&](const Band& band, std::string_view bytes) {
        if (progress.onBlock != nullptr) {
            const std::int64_t end = static_cast<std::int64_t>(band.end) * columns;
            for (std::int64_t i = static_cast<std::int64_t>(band.first) * columns; i < end; ++i) {
                progress.onBlock(progress.context, i, last);
            }
        }
        return sink(bytes);
    };
    if (Status ran =
            RunBands(bands, std::min(threads, static_cast<int>(bands.size())), memory, fetch, compose, deliver);
        !ran) {
        return ran;
    }
    if (!sink(kTableEnd)) return Error{"the page could not be written"};
    return success();
}

int threadsToUse(int threads) {
    return threads > 0 ? threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace

Status ComposeTable(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode, const MarkupSink& sink,
                    BlockProgress progress, int threads) {
    if (table.empty()) return TableEmptyError();
    // Blocks are cut from an enlarged image only: a forgotten enlargement would drop the edge blocks.
    assert(image.width() % 3 == 0 && image.height() % 3 == 0);
    if (image.width() % 3 != 0 || image.height() % 3 != 0) {
        return Error{"the picture (" + std::to_string(image.width()) + " x " + std::to_string(image.height()) +
                     " pixels) is not enlarged to whole blocks of 3 x 3 pixels"};
    }
    threads = threadsToUse(threads);
    BandMemory& memory = BandMemoryOfThisThread(BandSlots(threads));
    glyph::GlyphCache glyphs(table);  // shared by the threads: each pattern is looked up about once
    auto fetch = [&image](const Band& band, std::size_t, BandRows& rows) { return imageRows(image, band, rows); };
    return composeTable(image.blockRows(), image.blockColumns(), fetch, memory, glyphs, mode, sink, progress, threads);
}

Status ComposeTable(RowSource& source, const glyph::GlyphTable& table, ColorMode mode, const MarkupSink& sink,
                    BlockProgress progress, int threads) {
    if (table.empty()) return TableEmptyError();
    threads = threadsToUse(threads);
    BandMemory& memory = BandMemoryOfThisThread(BandSlots(threads));
    glyph::GlyphCache glyphs(table);
    SourceRows fetch(source, memory);
    return composeTable(WholeBlocks(source.height()) / 3, WholeBlocks(source.width()) / 3, std::ref(fetch), memory,
                        glyphs, mode, sink, progress, threads);
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
