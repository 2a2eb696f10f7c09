// GlyphCache: an empty direct-mapped array of remembered answers.
#include "glyph/glyph_cache.h"

#include <cassert>

namespace moza::glyph {

GlyphCache::GlyphCache(const GlyphTable& table, int bits)
    : m_table(&table), m_shift(64 - bits), m_entries(new std::atomic<Entry>[std::size_t{1} << bits]) {
    assert(bits >= 1 && bits <= 24);
    static_assert(std::atomic<Entry>::is_always_lock_free);
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) m_entries[i].store(kEmpty, std::memory_order_relaxed);
}

}  // namespace moza::glyph
