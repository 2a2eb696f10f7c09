// Which characters of code page 932 the generator measures.
#pragma once

#include <string>
#include <vector>

#include "common/result.h"
#include "glyph/char_record.h"

namespace moza::tools {

/// One character of code page 932 with its Unicode value.
struct Candidate {
    glyph::CharCode code = 0;  // lead byte x 256 + trail byte, or the single byte
    char32_t codePoint = 0;
    std::string utf8;
};

enum class CharSet {
    FullWidth,  // every double-byte character but the user-defined ones
    HalfWidth,  // the printable single-byte characters
    Both,
};

/// The characters of `set` in code order, each decoded with the core's code page 932 table.
/// Byte sequences the table does not map, and the half-width characters that would change a
/// page's markup when written unescaped ('<', '>', '&') or that HTML collapses (the space), are
/// left out.
std::vector<Candidate> Cp932Characters(CharSet set);

/// The characters of `utf8`, in the order given, duplicates dropped. Fails, naming it, on a
/// character that code page 932 cannot hold.
Result<std::vector<Candidate>> CharactersOf(const std::string& utf8);

}  // namespace moza::tools
