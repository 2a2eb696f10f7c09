// One picture's conversion from file to page, as moza-convert runs it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "common/result.h"
#include "convert/page_composer.h"
#include "glyph/glyph_table.h"

namespace moza::cli {

struct PageTarget {
    enum class Kind { TempFolder, File, StandardOutput };
    Kind kind = Kind::TempFolder;
    std::filesystem::path path;  // the temp folder, or the page file
};

struct PictureJob {
    std::string picture;
    std::string titleUtf8;
    PageTarget target;
    int threads = 0;  // for composing: 0 one per core
};

/// Asked for a page file's path before anything is written there; fails when another picture of
/// the same run has the path, so no page replaces another.
using ClaimPage = std::function<Status(const std::filesystem::path& page)>;

/// Loads, enlarges and converts one picture and writes its page, whole or not at all.
/// Returns where the page went ("-" for standard output), or a message such as
/// "cannot load 'x.jpg': the file is empty".
Result<std::filesystem::path> ConvertPicture(const PictureJob& job, const glyph::GlyphTable& table,
                                             convert::ColorMode mode, convert::BlockProgress progress,
                                             const ClaimPage& claim);

}  // namespace moza::cli
