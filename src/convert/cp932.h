// Text in code page 932 (Shift_JIS): converting titles and markup, and writing character codes.
#pragma once

#include <string>
#include <string_view>

#include "common/result.h"
#include "common/utf8.h"
#include "glyph/char_record.h"

namespace moza::convert {

/// `utf8` in code page 932. Fails on text that is not UTF-8 and on the first character that code
/// page 932 cannot hold, naming it: "the character 'é' (U+00E9) cannot be written in code page 932".
Result<std::string> Utf8ToCp932(std::string_view utf8);

/// `cp932` as UTF-8. Fails on bytes that are not code page 932, naming the offset.
Result<std::string> Cp932ToUtf8(std::string_view cp932);

/// Appends the bytes of a character code: 0 to 255 that byte, 256 to 65535 the lead byte (high)
/// then the trail byte (low), anything else "?".
inline void AppendCharCode(std::string& out, glyph::CharCode code) {
    if (code >= 0 && code <= 255) {
        out.push_back(static_cast<char>(code));
    } else if (code > 255 && code <= 65535) {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 255));
    } else {
        out.push_back('?');
    }
}

}  // namespace moza::convert
