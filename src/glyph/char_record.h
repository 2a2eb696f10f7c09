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

/// Nine levels of 0 to 15 in one number, four bits each, position 0 in the highest bits: a pattern
/// as a cache key.
using PackedPattern = std::uint64_t;

/// `pattern` packed. Precondition: every level is 0 to 15 (see FitsPacked).
inline PackedPattern PackPattern(const DarknessPattern& pattern) {
    PackedPattern packed = 0;
    for (const Level level : pattern) packed = (packed << 4) | static_cast<PackedPattern>(level);
    return packed;
}

/// Whether every level of `pattern` is 0 to 15, so that PackPattern keeps it whole.
inline bool FitsPacked(const DarknessPattern& pattern) {
    unsigned bits = 0;
    for (const Level level : pattern) bits |= static_cast<std::uint16_t>(level);  // negative: high bits
    return bits <= 15;
}

/// The pattern that PackPattern packed into `packed`.
inline DarknessPattern UnpackPattern(PackedPattern packed) {
    DarknessPattern pattern{};
    for (int i = 8; i >= 0; --i, packed >>= 4) pattern[static_cast<std::size_t>(i)] = static_cast<Level>(packed & 15u);
    return pattern;
}

/// The most records a table can hold (its count is a signed 16-bit number).
inline constexpr int kMaxCharCount = 32767;

}  // namespace moza::glyph
