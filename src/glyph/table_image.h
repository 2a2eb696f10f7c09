// TableImage: a character table's binary form (char.bin), made at build time beside the shipped
// char.csv so that start-up reads the table and its index instead of parsing and building them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"
#include "glyph/char_data_loader.h"
#include "glyph/glyph_table.h"

namespace moza::glyph {

/// The binary form of `table`, parsed from the bytes `text`: a header naming the size and hash of
/// `text`, then the records and the index as GlyphTable holds them, with a hash of their own.
std::string TableImageBytes(const GlyphTable& table, std::string_view text);

/// Where the binary form of the table `textFile` is kept: beside it, with the extension ".bin".
std::filesystem::path TableImagePath(const std::filesystem::path& textFile);

/// The table held by the binary form `imageFile`, when that file is whole, of this version, sound,
/// and was made from exactly the bytes `textFile` now holds. Returns nothing otherwise (missing,
/// stale, truncated, damaged): no error, since the text is there to be parsed.
std::optional<GlyphTable> ReadTableImage(const std::filesystem::path& imageFile, const std::filesystem::path& textFile);

/// LoadCharData for the program's own table: the binary form beside `file` when ReadTableImage
/// accepts it, reporting the same status lines; otherwise LoadCharData(file, status), with the
/// same table or the same failure.
Result<GlyphTable> LoadShippedCharData(const std::filesystem::path& file, const LoadStatusSink& status);

/// Parses the table `textFile` and writes its binary form to `imageFile`, whole or not at all.
/// Fails when the table does not load (LoadCharData's message) or the file cannot be written.
Status WriteTableImage(const std::filesystem::path& textFile, const std::filesystem::path& imageFile);

}  // namespace moza::glyph
