// GlyphCache: an empty direct-mapped array of remembered answers.
#include "glyph/glyph_cache.h"

#include <cassert>

namespace moza::glyph {

GlyphCache::GlyphCache(const GlyphTable& table, int bits)
    : m_table(&table), m_shift(64 - bits), m_entries(std::size_t{1} << bits, kEmpty) {
    assert(bits >= 1 && bits <= 24);
}

}  // namespace moza::glyph
