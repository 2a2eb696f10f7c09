// The make command's page, streamed: a whole page file's bytes composed piece by piece.
#pragma once

#include <string_view>

#include "common/result.h"
#include "convert/page_composer.h"

namespace moza::convert {

/// Streams the bytes of a page file for an image already enlarged to whole blocks: a double
/// quote, the page document titled `titleCp932`, a double quote, CR, LF. The same bytes as
/// WritePageFile with the table of ComposeTableText. `threads` as for ComposeTable. Fails as
/// ComposeTable does.
Status StreamPageFile(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                      std::string_view titleCp932, const MarkupSink& sink, BlockProgress progress = {},
                      int threads = 0);

}  // namespace moza::convert
