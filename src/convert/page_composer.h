// Page composition: the one-line table markup of a picture, the page document around it, and
// the progress caption.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "convert/row_source.h"
#include "convert/working_image.h"
#include "glyph/glyph_table.h"

namespace moza::convert {

enum class ColorMode {
    Web,   // each character in its block's average colour
    Mono,  // every character black
};

/// Told about block i (of blocks 0 to last), in order, as the markup is made. A plain function
/// pointer, so reporting costs one indirect call per block.
struct BlockProgress {
    void (*onBlock)(void* context, std::int64_t i, std::int64_t last) = nullptr;
    void* context = nullptr;
};

/// Takes the markup in pieces of about a megabyte, in order; returns false to stop composing.
using MarkupSink = std::function<bool(std::string_view piece)>;

/// Composes the table markup of an image already enlarged to whole blocks: the table head with
/// the width in pixels, one row per block row, one cell per block holding the character
/// FindGlyph picks, coloured by `mode`. No line breaks. Bands of rows are composed on `threads`
/// threads (0: one per core; the calling thread is one of them) and handed to `sink` in order,
/// one piece at a time, by the thread that composed each, which also reports every block, in
/// order, just before the piece that holds it. Fails, before anything
/// reaches `sink`, when the glyph table is empty or the image is not whole blocks (a programming
/// error, asserted in debug builds); fails when the sink refuses a piece. Memory running out
/// (std::bad_alloc) is thrown on, on the calling thread, once every thread it started has ended.
Status ComposeTable(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                    const MarkupSink& sink, BlockProgress progress = {}, int threads = 0);

/// ComposeTable for a picture read from `source` as the table is composed, band by band, each
/// band enlarged to whole blocks as WorkingImage::EnlargeToBlocks would enlarge the whole picture:
/// the same markup. Fails as the other does, and with the source's error when a read fails.
Status ComposeTable(RowSource& source, const glyph::GlyphTable& table, ColorMode mode, const MarkupSink& sink,
                    BlockProgress progress = {}, int threads = 0);

/// The error of a page asked of a character table that holds no characters (ErrorKind::TableEmpty).
Error TableEmptyError();

/// The window caption while block i of blocks 0 to last is made: "Moza - 12/1155 (01.04%)".
/// The percentage has at least two digits before the point and two after; a grid of one block
/// (last = 0) shows 100.00.
std::string ProgressCaption(std::int64_t i, std::int64_t last);

}  // namespace moza::convert
