// Character selection: walks the lead and trail bytes of code page 932 and decodes each.
#include "char_selection.h"

#include <set>

#include "convert/cp932.h"

namespace moza::tools {
namespace {

/// The lead bytes whose characters are measured: every lead byte of code page 932 but F0 to F9.
/// Those hold the user-defined characters, which each machine draws as its own font has them (or
/// not at all), so a measured pattern would describe nothing a viewer sees.
bool isMeasuredLeadByte(int byte) {
    const auto lead = static_cast<unsigned char>(byte);
    const bool userDefined = lead >= 0xF0 && lead <= 0xF9;
    return convert::IsCp932LeadByte(lead) && !userDefined;
}

/// The candidate for the code page 932 bytes of `code`, when they decode to one character.
bool decode(glyph::CharCode code, Candidate& out) {
    std::string bytes;
    convert::AppendCharCode(bytes, code);
    Result<std::string> utf8 = convert::Cp932ToUtf8(bytes);
    if (!utf8) return false;
    const CodePoint point = DecodeUtf8(utf8.value());
    if (point.length == 0 || static_cast<std::size_t>(point.length) != utf8.value().size()) return false;
    out = Candidate{code, point.value, utf8.value()};
    return true;
}

bool safeSingleByte(int byte) {
    if (byte == '<' || byte == '>' || byte == '&' || byte == ' ') return false;
    return (byte > 0x20 && byte < 0x7F) || (byte >= 0xA1 && byte <= 0xDF);
}

}  // namespace

std::vector<Candidate> Cp932Characters(CharSet set) {
    std::vector<Candidate> characters;
    Candidate candidate;
    if (set != CharSet::FullWidth) {
        for (int byte = 0; byte < 256; ++byte) {
            if (safeSingleByte(byte) && decode(byte, candidate)) characters.push_back(candidate);
        }
    }
    if (set != CharSet::HalfWidth) {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isMeasuredLeadByte(lead)) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (convert::IsCp932TrailByte(static_cast<unsigned char>(trail)) && decode(lead * 256 + trail, candidate)) characters.push_back(candidate);
            }
        }
    }
    return characters;
}

Result<std::vector<Candidate>> CharactersOf(const std::string& utf8) {
    std::vector<Candidate> characters;
    std::set<glyph::CharCode> seen;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const CodePoint point = DecodeUtf8(std::string_view(utf8).substr(at));
        if (point.length == 0) return Error{"the character list is not valid UTF-8"};
        const std::string character = utf8.substr(at, static_cast<std::size_t>(point.length));
        at += static_cast<std::size_t>(point.length);
        Result<std::string> bytes = convert::Utf8ToCp932(character);
        if (!bytes) return bytes.error();
        const glyph::CharCode code = convert::CharCodeOf(bytes.value());
        if (const std::string problem = glyph::CharCodeProblem(code); !problem.empty()) {
            return Error{"the character list holds " + DescribeCharacter(character, point.value) +
                         ", which a character table cannot hold: its code " + std::to_string(code) + " " + problem};
        }
        if (seen.insert(code).second) characters.push_back(Candidate{code, point.value, character});
    }
    return characters;
}

}  // namespace moza::tools
