// One picture's conversion from file to page, as moza-convert runs it.
#pragma once

#include <filesystem>
#include <string>

#include "common/result.h"
#include "convert/make_page.h"
#include "convert/page_size.h"
#include "glyph/glyph_table.h"

namespace moza::cli {

struct PictureJob {
    std::string picture;
    std::string titleUtf8;
    bool titleFromName = false;  // the title is the picture's file name, not one given with -t
    /// Where its page goes; a Stream target is filled in by ConvertPicture (standard output).
    convert::PageTarget target;
    int threads = 0;  // for composing: 0 one per core
    convert::PageSizeRequest pageSize;  // the picture is scaled to it before conversion
};

/// Loads one picture, scales it to `job.pageSize` (convert::ScaleForPage) and makes its page
/// (convert::MakePage), whole or not at all. `options` carries the colour mode, progress and the
/// claim on the page file's path. Returns where the page went ("-" for standard output), or a
/// message that names the picture and the problem: "cannot load 'x.jpg': the file is empty",
/// "cannot convert 'x.jpg': <reason>".
Result<std::filesystem::path> ConvertPicture(const PictureJob& job, const glyph::GlyphTable& table,
                                             convert::PageOptions options);

}  // namespace moza::cli
