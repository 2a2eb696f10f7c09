// ArtPage: a page file read and prepared for drawing: its cells, layout, characters and ink.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/result.h"
#include <filesystem>

#include "convert/page_reader.h"
#include "ui/art/art_layout.h"
#include "ui/art/glyph_masks.h"
#include "ui/art/ink_pyramid.h"

namespace moza::ui {

/// Everything the art view needs to draw a page at any zoom. Read-only once made.
struct ArtPage {
    std::filesystem::path path;
    convert::PageGrid grid;
    ArtLayout layout;
    /// The text drawn for each character of the page, by glyph number.
    std::shared_ptr<const std::vector<QString>> texts;
    /// For every code 0 to 65535: its glyph number, or -1 for a code the page shows no ink for.
    std::vector<std::int32_t> glyphOfCode;
    /// How each character's ink covers the ninths of its cell, by glyph number.
    std::vector<InkCoverage> coverage;
    InkPyramid ink;

    std::size_t memoryBytes() const;
};

/// A page just read, with a place for the masks of its characters at 1:1.
struct LoadedArtPage {
    std::shared_ptr<const ArtPage> page;
    std::shared_ptr<GlyphMasks> unitMasks;
};

/// Reads the page file at `path` and prepares it for drawing. Fails with the reader's message
/// when the file is not a whole page Moza wrote, or when memory runs out. Safe to run on a worker
/// thread (it draws only into images of its own).
Result<LoadedArtPage> LoadArtPage(const std::filesystem::path& path);

/// Opens the page font and draws a character with it, hinted and not, so that the first page read
/// does not wait for the font database and the font's files. Safe to run on a worker thread.
void PrepareArtDrawing();

/// How much of each ninth of a cell `width` x ArtLayout::kRowPitch pixels the ink of `mask`
/// covers, its pen at the cell's left edge on the baseline.
InkCoverage CoverageOf(const GlyphMask& mask, double width);

}  // namespace moza::ui
