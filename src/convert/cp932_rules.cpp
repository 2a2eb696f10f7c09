// The one-way characters of code page 932 and the bytes that start no character.
#include "convert/cp932_rules.h"

#include <algorithm>
#include <iterator>

#include "convert/cp932.h"

namespace moza::convert {
namespace {

// Sorted by value. The first nine are written by glibc's CP932 one way only (the bytes read back
// as the character in the second column on every system); Windows, asked for no best fit,
// refuses them. The last five are written by Windows only.
constexpr OneWayCharacter kOneWayCharacters[] = {
    {0x0080, 0},       // a control character; Windows writes byte 0x80
    {0x00A2, 0xFFE0},  // ¢ -> 0x8191, which is ￠
    {0x00A3, 0xFFE1},  // £ -> 0x8192, which is ￡
    {0x00A5, 0xFFE5},  // ¥ -> 0x5C, which is the backslash
    {0x00AC, 0xFFE2},  // ¬ -> 0x81CA, which is ￢
    {0x2014, 0x2015},  // — -> 0x815C, which is ―
    {0x2016, 0x2225},  // ‖ -> 0x8161, which is ∥
    {0x203E, 0xFFE3},  // ‾ -> 0x7E, which is the tilde
    {0x2212, 0xFF0D},  // − -> 0x817C, which is －
    {0x301C, 0xFF5E},  // 〜 -> 0x8160, which is ～
    {0xF8F0, 0},       // private use; Windows writes byte 0xA0
    {0xF8F1, 0},       // private use; Windows writes byte 0xFD
    {0xF8F2, 0},       // private use; Windows writes byte 0xFE
    {0xF8F3, 0},       // private use; Windows writes byte 0xFF
};

constexpr bool isSingleByteCharacter(unsigned char byte) { return byte <= 0x7F || (byte >= 0xA1 && byte <= 0xDF); }

}  // namespace

const OneWayCharacter* FindOneWayCharacter(char32_t value) {
    const auto* found = std::lower_bound(std::begin(kOneWayCharacters), std::end(kOneWayCharacters), value,
                                         [](const OneWayCharacter& entry, char32_t wanted) { return entry.value < wanted; });
    return found != std::end(kOneWayCharacters) && found->value == value ? found : nullptr;
}

std::optional<std::size_t> FirstByteOutsideCp932(std::string_view cp932) {
    for (std::size_t at = 0; at < cp932.size(); ++at) {
        const auto byte = static_cast<unsigned char>(cp932[at]);
        if (isSingleByteCharacter(byte)) continue;
        if (!IsCp932LeadByte(byte) || at + 1 == cp932.size() || !IsCp932TrailByte(static_cast<unsigned char>(cp932[at + 1]))) {
            return at;
        }
        ++at;
    }
    return std::nullopt;
}

}  // namespace moza::convert
