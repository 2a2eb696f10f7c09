// What code page 932 holds, as Moza reads and writes it on every system: the characters that one
// system's conversion writes but that do not come back, and the bytes that are no character.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace moza::convert {

/// A character that some system's conversion writes into code page 932 although the bytes do
/// not read back as it (glibc's CP932 writes '¥' as a backslash), or that only one system writes
/// (Windows writes U+0080 and U+F8F0 to U+F8F3 as single bytes glibc does not read). Moza refuses
/// them everywhere, so a title is accepted or refused the same way on Linux and Windows.
struct OneWayCharacter {
    char32_t value;
    char32_t instead;  // the code page's own character that looks the same; 0 when none
};

/// The entry for `value` in the table of one-way characters, or nullptr.
const OneWayCharacter* FindOneWayCharacter(char32_t value);

/// The offset of the first byte of `cp932` that starts no character of code page 932: a lead
/// byte without a trail byte, or one of 0x80, 0xA0, 0xFD to 0xFF (which Windows reads as control
/// or private characters and glibc refuses). Double-byte codes the code page leaves unassigned are
/// for the system's conversion to find. nullopt when there is none.
std::optional<std::size_t> FirstByteOutsideCp932(std::string_view cp932);

}  // namespace moza::convert
