// UTF-8 text read one character at a time, and characters named as messages name them.
#pragma once

#include <string>
#include <string_view>

namespace moza {

/// The Unicode code point at the start of valid UTF-8 text, and how many bytes it takes.
struct CodePoint {
    char32_t value = 0;
    int length = 0;  // 0: not valid UTF-8
};
CodePoint DecodeUtf8(std::string_view text);

/// The UTF-8 bytes of a code point (which must be a Unicode scalar value).
std::string EncodeUtf8(char32_t value);

/// The longest start of `text` of at most `maxBytes` bytes that does not end inside a UTF-8
/// character: a cut backs up to the start of the character it would split.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

/// "'é' (U+00E9)": a character as error messages name it; control characters are named as such.
std::string DescribeCharacter(std::string_view utf8Char, char32_t value);

}  // namespace moza
