// Band pipeline: a table's bands of block rows fetched, composed and handed on in order.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "convert/working_image.h"

namespace moza::convert {

/// Block rows [first, end) of the table.
struct Band {
    int first = 0;
    int end = 0;
};

/// The pixel rows of a band, three per block row, each as wide as the picture enlarged to blocks.
using BandRows = std::vector<const ColorValue*>;

/// Puts the pixel rows of `band` into `rows`; may write them into pixel slot `slot`, which stays
/// the band's until it is composed. Called for the bands in order, one at a time. Fails with the
/// picture's own error.
using RowFetch = std::function<Status(const Band& band, std::size_t slot, BandRows& rows)>;

/// Writes the markup of `band`, whose pixels are `rows`, into `bytes`, reusing its memory.
using BandCompose = std::function<void(const Band& band, const BandRows& rows, std::string& bytes)>;

/// Takes a band's markup; returns false to stop.
using BandSink = std::function<bool(const Band& band, std::string_view bytes)>;

/// Memory bands are fetched and composed in. A thread keeps its own from one table to the next:
/// a megabyte the process has not touched before costs about a millisecond to fault in, as long
/// as composing 60,000 blocks takes, and a table uses a few.
struct BandMemory {
    std::vector<std::string> markup;
    std::vector<std::vector<ColorValue>> pixels;
};

/// The calling thread's band memory, with at least `slots` slots.
BandMemory& BandMemoryOfThisThread(std::size_t slots);

/// The slots RunBands uses with `threads` threads: one a thread.
std::size_t BandSlots(int threads);

/// Fetches, composes and delivers `bands` in order on `threads` threads, the calling thread one of
/// them (1: only the calling one); fewer when the system starts no more. Each thread takes the next
/// band, fetches it once the band before has been fetched, composes it, and delivers it once the
/// band before has been delivered: `deliver` is called in band order, one call at a time, on the
/// thread that composed the band. Fails with the first fetch's error, or "the page could not be
/// written" once `deliver` returns false; what a thread throws (no memory for a band) stops every
/// thread and is thrown on, on the calling thread, once they have all ended.
Status RunBands(const std::vector<Band>& bands, int threads, BandMemory& memory, const RowFetch& fetch,
                const BandCompose& compose, const BandSink& deliver);

}  // namespace moza::convert
