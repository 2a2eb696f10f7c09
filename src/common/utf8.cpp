// UTF-8 decoding and encoding by hand, so every platform checks text the same way.
#include "common/utf8.h"

#include <cstdio>

namespace moza {
namespace {

std::string hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

}  // namespace

CodePoint DecodeUtf8(std::string_view text) {
    if (text.empty()) return {};
    const auto lead = static_cast<unsigned char>(text[0]);
    int length = 0;
    char32_t value = 0;
    if (lead < 0x80) return {lead, 1};
    if ((lead & 0xE0) == 0xC0) { length = 2; value = lead & 0x1Fu; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; value = lead & 0x0Fu; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; value = lead & 0x07u; }
    else return {};
    if (text.size() < static_cast<std::size_t>(length)) return {};
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) return {};
        value = (value << 6) | (next & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
    return {value, length};
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    // Back over at most three continuation bytes to the first byte of the character cut.
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return text.substr(0, cut);
}

std::string EncodeUtf8(char32_t value) {
    std::string out;
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
        return out;
    }
    const int length = value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
    static constexpr unsigned kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out.push_back(static_cast<char>(kLeadMarks[length] | (value >> (6 * (length - 1)))));
    for (int shift = 6 * (length - 2); shift >= 0; shift -= 6) out.push_back(static_cast<char>(0x80 | ((value >> shift) & 0x3F)));
    return out;
}

std::string DescribeCharacter(std::string_view utf8Char, char32_t value) {
    const std::string code = "U+" + hex(static_cast<unsigned>(value), 4);
    if (value < 0x20 || value == 0x7F) return "a control character (" + code + ")";
    return "'" + std::string(utf8Char) + "' (" + code + ")";
}

}  // namespace moza
