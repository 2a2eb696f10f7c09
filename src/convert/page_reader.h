// Page files read back: the cell grid of a page the composer wrote, checked against its exact markup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace moza::convert {

/// The cells of a page, row by row: each cell's colour and character code.
struct PageGrid {
    int columns = 0;
    int rows = 0;
    /// The title's bytes as the page holds them (code page 932, unescaped).
    std::string title;
    /// 0xRRGGBB per cell, as its colour text reads.
    std::vector<std::uint32_t> colors;
    /// Per cell: 0 to 255 a one-byte character, above that lead byte x 256 + trail byte.
    /// A code the composer could not write stands as "?" (63), as the page holds it.
    std::vector<std::uint16_t> codes;

    std::size_t cellCount() const { return codes.size(); }
    std::size_t indexOf(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
    }
};

/// The largest page file ReadPageFile takes (a picture of 32,766 pixels square makes about 8 GB;
/// pages past this size are left to other viewers).
inline constexpr std::uintmax_t kMaxPageFileBytes = std::uintmax_t{4} << 30;

/// Whether `bytes` begin as every page file does (kPageFileMark): a quick test on a file's head.
bool IsPageFileStart(std::string_view bytes);

/// The grid of the page file whose whole bytes are `bytes`. Accepts exactly what the composer
/// and the page writer produce: the opening quote and page start, a title, the table head with
/// a width of 9 pixels per column, rows of exactly that many cells (colour: six uppercase
/// hexadecimal digits; character: one byte, or two bytes with a non-zero lead byte), the table
/// end, the page end, the closing quote, CR and LF, and nothing after. Anything else fails with a
/// message that names `name`, the byte offset, the row and cell, and what was expected there.
/// Runs in one forward pass; memory is reserved only as far as the bytes can hold cells.
Result<PageGrid> ReadPage(std::string_view bytes, std::string_view name);

/// The grid of the page file at `file`, read through a window of a few hundred kilobytes. Fails
/// as ReadWholeFile does when the file cannot be read (a folder, a device or pipe, missing,
/// unreadable), when it is larger than kMaxPageFileBytes, or when it is not a whole page (see
/// ReadPage).
Result<PageGrid> ReadPageFile(const std::filesystem::path& file);

}  // namespace moza::convert
