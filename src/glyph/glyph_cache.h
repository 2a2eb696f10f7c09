// GlyphCache: FindGlyph's answers for the patterns seen lately, for one composing thread.
#pragma once

#include <cstdint>
#include <vector>

#include "glyph/glyph_table.h"

namespace moza::glyph {

/// Remembers GlyphTable::FindGlyph's answers in a small direct-mapped array keyed by the nine
/// levels, so the patterns a picture repeats cost one look-up instead of a walk down the table's
/// index. The answer is always the table's own: an entry holds the whole pattern it answers for,
/// and patterns with a level outside 0 to 15 (which the key cannot hold) go to the table every
/// time. Not for sharing between threads: each thread keeps its own.
class GlyphCache {
public:
    /// Entries a cache holds by default: 2^12, 64 KiB, which answers about 96% of a photo's blocks.
    static constexpr int kDefaultBits = 12;

    /// A cache of 2^bits entries (1 to 24) over `table`, which must outlive it.
    explicit GlyphCache(const GlyphTable& table, int bits = kDefaultBits);

    /// What table.FindGlyph(pattern) returns. Precondition: the table is not empty.
    CharCode FindGlyph(const DarknessPattern& pattern) {
        return FitsPacked(pattern) ? FindGlyph(PackPattern(pattern)) : m_table->FindGlyph(pattern);
    }

    /// What table.FindGlyph(UnpackPattern(packed)) returns. Precondition: the table is not empty.
    CharCode FindGlyph(PackedPattern packed) {
        Entry& entry = m_entries[static_cast<std::size_t>((packed * kMix) >> m_shift)];
        if (entry.packed != packed) {
            entry.packed = packed;
            entry.code = m_table->FindGlyph(UnpackPattern(packed));
        }
        return entry.code;
    }

private:
    static constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;  // spreads nearby keys over the slots
    static constexpr PackedPattern kEmpty = ~PackedPattern{0};   // no pattern packs to this

    struct Entry {
        PackedPattern packed = kEmpty;
        CharCode code = 0;
    };

    const GlyphTable* m_table;
    int m_shift;
    std::vector<Entry> m_entries;
};

}  // namespace moza::glyph
