// Text in code page 932 (Shift_JIS): converting titles and markup, and writing character codes.
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"
#include "common/utf8.h"
#include "glyph/char_code.h"
#include "glyph/char_record.h"

namespace moza::convert {

/// `utf8` in code page 932. Fails on text that is not UTF-8 and on the first character that code
/// page 932 cannot hold, naming it: "the character 'é' (U+00E9) cannot be written in code page 932".
/// Characters that a system writes one way only are refused on every system, with the code
/// page's own look-alike named when it has one (see cp932_rules.h).
Result<std::string> Utf8ToCp932(std::string_view utf8);

/// `cp932` as UTF-8. Fails on bytes that are not code page 932, naming the offset where it can.
Result<std::string> Cp932ToUtf8(std::string_view cp932);

using glyph::IsCp932LeadByte;
using glyph::IsCp932TrailByte;

/// Writes the bytes of a character code at `out` and returns the end: 0 to 255 that byte, 256 to
/// 65535 the lead byte (high) then the trail byte (low), anything else "?". At most two bytes.
inline char* PutCharCode(char* out, glyph::CharCode code) {
    if (code >= 0 && code <= 255) {
        *out++ = static_cast<char>(code);
    } else if (code > 255 && code <= 65535) {
        *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 255);
    } else {
        *out++ = '?';
    }
    return out;
}

/// Appends the bytes of a character code, as PutCharCode writes them.
inline void AppendCharCode(std::string& out, glyph::CharCode code) {
    char bytes[2];
    out.append(bytes, static_cast<std::size_t>(PutCharCode(bytes, code) - bytes));
}

/// The character code of one character's bytes, the inverse of PutCharCode: one byte its value,
/// two bytes lead x 256 + trail. Precondition: one or two bytes.
inline glyph::CharCode CharCodeOf(std::string_view bytes) {
    glyph::CharCode code = 0;
    for (char byte : bytes) code = code * 256 + static_cast<unsigned char>(byte);
    return code;
}

}  // namespace moza::convert
