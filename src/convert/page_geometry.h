// The geometry of a page's cells: what the markup asks for, and what a browser makes of it.
#pragma once

#include <string_view>

namespace moza::convert::geometry {

/// The pixels of a cell's side that the markup asks for: <tr height=9>, <td width=9>, and the
/// table's width, 9 per column.
inline constexpr int kCellPixels = 9;
/// The size of a cell's character in points: font-size:8pt.
inline constexpr int kCellPoints = 8;
/// A cell's character in pixels as a browser draws it at 96 dots per inch: 8 pt = 32 / 3 pixels.
inline constexpr double kCellTextPixels = kCellPoints * 96.0 / 72.0;

/// A cell as a browser shows it. A full-width character (10.67 pixels, its advance rounded down
/// to the browser's 64ths: 10.656) is wider than the 9 pixels asked for and widens its column to
/// about 10.65 pixels; the rows are 10 pixels apart. A half-width character is narrower than 9
/// pixels, and its column shares the table's width with the others (see ui::LayOutPage), so a
/// page of double-byte characters only has the same width in every column.
inline constexpr double kCellWidthPx = 10.65;
inline constexpr double kCellHeightPx = 10.0;

/// Whether `text` holds `before` followed at once by the decimal digits of `number`: used to
/// check at compile time that markup written out as text says what the constants above say.
constexpr bool SaysNumber(std::string_view text, std::string_view before, int number) {
    const std::size_t at = text.find(before);
    if (at == std::string_view::npos) return false;
    std::size_t digit = at + before.size();
    int value = 0;
    for (; digit < text.size() && text[digit] >= '0' && text[digit] <= '9'; ++digit)
        value = value * 10 + (text[digit] - '0');
    return digit > at + before.size() && value == number;
}

}  // namespace moza::convert::geometry
