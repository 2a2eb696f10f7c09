// CharCodeProblem: the code page 932 rules a table's character codes are held to.
#include "glyph/char_code.h"

#include <cstdio>

namespace moza::glyph {
namespace {

std::string hex(int byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

}  // namespace

std::string CharCodeProblem(CharCode code) {
    if (code < 0 || code > 0xFFFF) return "is outside 0 to 65535";
    if (code <= 0xFF) {
        const auto byte = static_cast<unsigned char>(code);
        if (byte < 0x20 || byte == 0x7F) return "is a control character";
        if (IsCp932LeadByte(byte)) return "is a lead byte without its trail byte";
        if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD) return "is no character of code page 932";
        return {};
    }
    const auto lead = static_cast<unsigned char>(code >> 8);
    const auto trail = static_cast<unsigned char>(code & 0xFF);
    if (!IsCp932LeadByte(lead)) return "has a first byte " + hex(lead) + " that starts no double-byte character";
    if (!IsCp932TrailByte(trail)) return "has a second byte " + hex(trail) + " that cannot follow the lead byte " + hex(lead);
    return {};
}

}  // namespace moza::glyph
