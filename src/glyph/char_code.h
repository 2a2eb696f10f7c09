// Which character codes stand for one character of code page 932, and what is wrong with the others.
#pragma once

#include <string>

#include "glyph/char_record.h"

namespace moza::glyph {

/// Whether `byte` starts a double-byte character of code page 932: 81 to 9F and E0 to FC (F0 to
/// F9 included: the user-defined characters, whose shapes differ from machine to machine).
inline constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// Whether `byte` can follow a lead byte in code page 932: 40 to 7E and 80 to FC.
inline constexpr bool IsCp932TrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

/// Why `code` is not one character a page can show: a control character, a byte that is no
/// character, a lead byte without its trail byte, a trail byte that cannot follow its lead byte,
/// a first byte that starts no double-byte character, or a number outside 0 to 65535. Empty when
/// it is one (a printable single byte 20 to 7E or A1 to DF, or a lead byte and a trail byte).
/// Double-byte codes the code page leaves unassigned are not looked up here.
std::string CharCodeProblem(CharCode code);

}  // namespace moza::glyph
