// Page composition: cells written straight into a buffer that is handed on a megabyte at a time.
#include "convert/page_composer.h"

#include <algorithm>
#include <cassert>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "convert/block_sampler.h"
#include "convert/cp932.h"
#include "convert/page_markup.h"
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

/// Writes one block row of cells at `out`; returns the end.
char* composeRow(char* out, const WorkingImage& image, glyph::GlyphCache& glyphs, ColorMode mode, int blockRow) {
    const int columns = image.blockColumns();
    const ColorValue* rows[3] = {image.row(3 * blockRow), image.row(3 * blockRow + 1), image.row(3 * blockRow + 2)};
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

/// Block rows [first, end) of the table.
struct Band {
    int first = 0;
    int end = 0;
};

/// Composes a band into `bytes`, reusing its memory.
void composeBand(const Band& band, std::string& bytes, const WorkingImage& image, glyph::GlyphCache& glyphs,
                 ColorMode mode) {
    const std::size_t rowMaxBytes =
        kRowStart.size() + kRowEnd.size() + static_cast<std::size_t>(image.blockColumns()) * kCellMaxBytes;
    bytes.resize(rowMaxBytes * static_cast<std::size_t>(band.end - band.first));
    char* out = bytes.data();
    for (int r = band.first; r < band.end; ++r) out = composeRow(out, image, glyphs, mode, r);
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
}

using BandSink = std::function<bool(const Band&, std::string_view)>;

/// Composes the bands one after another on the calling thread, handing each to `deliver`.
bool composeInTurn(const std::vector<Band>& bands, const WorkingImage& image, glyph::GlyphCache& glyphs,
                   ColorMode mode, const BandSink& deliver) {
    std::string bytes;
    bool delivered = true;
    for (std::size_t b = 0; b < bands.size() && delivered; ++b) {
        composeBand(bands[b], bytes, image, glyphs, mode);
        delivered = deliver(bands[b], bytes);
    }
    return delivered;
}

/// Composes bands on worker threads and hands them to `deliver` in order on the calling thread;
/// at most two bands per worker are composed ahead, each in a buffer of its own that is reused
/// once delivered. Stops early when `deliver` returns false. Uses fewer threads (or only the
/// calling one) when the system will not start more. What a worker or `deliver` throws (no memory
/// for a band) stops every worker and is thrown on once they have all ended.
bool composeInParallel(const std::vector<Band>& bands, int threads, const WorkingImage& image,
                       glyph::GlyphCache& glyphs, ColorMode mode, const BandSink& deliver) {
    const std::size_t window = static_cast<std::size_t>(threads) * 2;
    std::vector<std::string> buffers(window);
    std::vector<char> ready(bands.size(), 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t nextToCompose = 0;
    std::size_t nextToDeliver = 0;
    bool stop = false;
    std::exception_ptr failure;  // the first thing a worker threw

    auto worker = [&] {
        try {
            for (;;) {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || nextToCompose >= bands.size() || nextToCompose < nextToDeliver + window; });
                if (stop || nextToCompose >= bands.size()) return;
                const std::size_t b = nextToCompose++;
                lock.unlock();
                composeBand(bands[b], buffers[b % window], image, glyphs, mode);
                lock.lock();
                ready[b] = 1;
                changed.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            stop = true;
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    auto stopAndJoin = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
            changed.notify_all();
        }
        for (std::thread& thread : pool) thread.join();
    };
    try {
        pool.reserve(static_cast<std::size_t>(threads));
        for (int t = 0; t < threads; ++t) pool.emplace_back(worker);
    } catch (const std::system_error&) {
        // The system starts no more threads: those already started do the work.
    } catch (...) {
        stopAndJoin();
        throw;
    }
    if (pool.empty()) return composeInTurn(bands, image, glyphs, mode, deliver);

    bool delivered = true;
    try {
        for (std::size_t b = 0; b < bands.size() && delivered; ++b) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return ready[b] != 0 || failure; });
                if (!ready[b]) break;
            }
            delivered = deliver(bands[b], buffers[b % window]);
            std::lock_guard lock(mutex);
            nextToDeliver = b + 1;
            stop = !delivered;
            changed.notify_all();
        }
    } catch (...) {
        stopAndJoin();
        throw;
    }
    stopAndJoin();
    if (failure) std::rethrow_exception(failure);
    return delivered;
}

/// The table's bands of rows: about a megabyte of markup each, large enough to write
/// efficiently, small enough to stream.
std::vector<Band> tableBands(int rows, int columns) {
    const std::size_t rowBytes = kRowStart.size() + kRowEnd.size() + static_cast<std::size_t>(columns) * kCellMaxBytes;
    const int bandRows = static_cast<int>(std::clamp<std::size_t>(kFlushBytes / rowBytes, 1, 4096));
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

Status ComposeTable(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                    const MarkupSink& sink, BlockProgress progress, int threads) {
    if (table.empty()) return TableEmptyError();
    // Blocks are cut from an enlarged image only: a forgotten enlargement would drop the edge blocks.
    assert(image.width() % 3 == 0 && image.height() % 3 == 0);
    if (image.width() % 3 != 0 || image.height() % 3 != 0) {
        return Error{"the picture (" + std::to_string(image.width()) + " x " + std::to_string(image.height()) +
                     " pixels) is not enlarged to whole blocks of 3 x 3 pixels"};
    }
    const int rows = image.blockRows();
    const int columns = image.blockColumns();
    const std::int64_t last = static_cast<std::int64_t>(rows) * columns - 1;

    if (!sink(tableHead(columns))) return Error{"the page could not be written"};
    const std::vector<Band> bands = tableBands(rows, columns);

    auto deliver = [&](const Band& band, std::string_view bytes) {
        if (progress.onBlock != nullptr) {
            const std::int64_t end = static_cast<std::int64_t>(band.end) * columns;
            for (std::int64_t i = static_cast<std::int64_t>(band.first) * columns; i < end; ++i) {
                progress.onBlock(progress.context, i, last);
            }
        }
        return sink(bytes);
    };
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, static_cast<int>(bands.size()));
    glyph::GlyphCache glyphs(table);  // shared by the threads: each pattern is looked up about once
    const bool delivered = threads <= 1 ? composeInTurn(bands, image, glyphs, mode, deliver)
                                        : composeInParallel(bands, threads, image, glyphs, mode, deliver);
    if (!delivered || !sink(kTableEnd)) return Error{"the page could not be written"};
    return success();
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
