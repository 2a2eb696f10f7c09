// CharRecord: one character of the glyph table, and the order in which patterns are compared.
#pragma once

#include <array>
#include <cstdint>

namespace moza::glyph {

/// Darkness level of one ninth of a cell: 0 (lightest) to 10 (darkest) when measured.
using Level = std::int16_t;

/// Nine darkness levels, row by row: index = 3 x row + column (0 top-left, 4 centre, 8 bottom-right).
using DarknessPattern = std::array<Level, 9>;

/// A character of code page 932: 0 to 255 one byte, above that lead byte x 256 + trail byte.
using CharCode = std::int32_t;

struct CharRecord {
    DarknessPattern Pattern{};
    CharCode Code = 0;

    friend bool operator==(const CharRecord&, const CharRecord&) = default;
};

/// Positions in the order matching compares them: the corners, the edge middles, the centre.
inline constexpr std::array<int, 9> ProbeOrder = {0, 2, 6, 8, 1, 3, 5, 7, 4};

/// The most records a table can hold (its count is a signed 16-bit number).
inline constexpr int kMaxCharCount = 32767;

}  // namespace moza::glyph
