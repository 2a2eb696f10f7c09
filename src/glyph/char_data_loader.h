// LoadCharData: reads a char.csv character table, reporting one status line per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "glyph/char_record.h"
#include "glyph/glyph_table.h"

namespace moza::glyph {

/// The largest character table file read: 32,767 records fit in about 1.5 MB.
inline constexpr std::uintmax_t kMaxCharDataBytes = 16u << 20;

/// How much of a bad value a message echoes: its first 40 bytes; a longer value is cut there.
inline constexpr std::size_t kEchoedValueLength = 40;

/// Receives "Loading Char Data File... N" before record N (from 0) is read.
using LoadStatusSink = std::function<void(const std::string& line)>;

/// The status line shown before record `index` is read.
std::string LoadStatusLine(int index);

/// Parses the text of a character table. Values end at commas or line ends (LF, CRLF or CR);
/// ten values make a record wherever the lines break; spaces around a value and enclosing
/// double quotes are ignored; an empty value reads 0; blank lines and a leading UTF-8 byte-order
/// mark are skipped. Messages show a bad value cut to kEchoedValueLength bytes, control bytes escaped.
/// `fileName` only names the file in error messages. Fails on a record cut short, a value that
/// is not a whole number or does not fit its field, a code that is not one character of code page
/// 932 (CharCodeProblem: control characters, lone lead bytes, bad trail bytes), and on a 32768th
/// record (after its line). Values left over after the last whole record are blamed on the record
/// whose line they share, as too many values, rather than on a record cut short.
Result<std::vector<CharRecord>> ParseCharData(std::string_view text, std::string_view fileName,
                                              const LoadStatusSink& status);

/// Reads and parses `file` and builds its matching index. Fails when the file cannot be read, is
/// not a regular file or is larger than kMaxCharDataBytes (checked before reading), or does not
/// parse; the message names the file and, where it applies, the record, line and value.
Result<GlyphTable> LoadCharData(const std::filesystem::path& file, const LoadStatusSink& status);

}  // namespace moza::glyph
