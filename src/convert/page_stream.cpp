// The make command's page, streamed piece by piece so a large page never sits whole in memory.
#include "convert/page_stream.h"

#include "convert/page_markup.h"

namespace moza::convert {

Status StreamPageFile(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode,
                      std::string_view titleCp932, const MarkupSink& sink, BlockProgress progress, int threads) {
    if (table.empty()) {
        return ComposeTable(image, table, mode, sink, progress, threads);  // refuses before writing anything
    }
    if (!sink(PageFileHead(titleCp932))) return Error{"the page could not be written"};
    if (Status composed = ComposeTable(image, table, mode, sink, progress, threads); !composed) return composed;
    if (!sink(kPageFileTail)) return Error{"the page could not be written"};
    return success();
}

}  // namespace moza::convert
