// GlyphCache: FindGlyph's answers for the patterns seen lately, shared by the composing threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "glyph/glyph_table.h"

namespace moza::glyph {

/// Remembers GlyphTable::FindGlyph's answers in a small direct-mapped array keyed by the nine
/// levels, so the patterns a picture repeats cost one look-up instead of a walk down the table's
/// index. The answer is always the table's own: an entry holds the whole pattern it answers for,
/// and patterns with a level outside 0 to 15 (which the key cannot hold) go to the table every
/// time. Threads may share one cache: an entry is one 64-bit word holding both the pattern and its
/// code, read and written whole, so a thread sees either a complete entry or none.
class GlyphCache {
public:
    /// Entries a cache holds by default: 2^14, 128 KiB, which answers about 98% of a photo's blocks.
    static constexpr int kDefaultBits = 14;

    /// A cache of 2^bits entries (1 to 24) over `table`, which must outlive it.
    explicit GlyphCache(const GlyphTable& table, int bits = kDefaultBits);

    /// What table.FindGlyph(pattern) returns. Precondition: the table is not empty.
    CharCode FindGlyph(const DarknessPattern& pattern) {
        return FitsPacked(pattern) ? FindGlyph(PackPattern(pattern)) : m_table->FindGlyph(pattern);
    }

    /// What table.FindGlyph(UnpackPattern(packed)) returns. Precondition: the table is not empty.
    CharCode FindGlyph(PackedPattern packed) {
        if (packed == kEmpty >> kCodeBits) return m_table->FindGlyph(UnpackPattern(packed));  // reads as empty
        std::atomic<Entry>& slot = m_entries[static_cast<std::size_t>((packed * kMix) >> m_shift)];
        const Entry entry = slot.load(std::memory_order_relaxed);
        if ((entry >> kCodeBits) == packed) {
            // The code's 28 bits, sign extended.
            return static_cast<CharCode>(static_cast<std::int64_t>(entry << (64 - kCodeBits)) >> (64 - kCodeBits));
        }
        const CharCode code = m_table->FindGlyph(UnpackPattern(packed));
        const Entry filled = (packed << kCodeBits) | (static_cast<Entry>(code) & kCodeMask);
        if (code >= -kCodeLimit && code < kCodeLimit) slot.store(filled, std::memory_order_relaxed);  // else too wide
        return code;
    }

private:
    /// A pattern's 36 bits above its code's lowest 28 bits.
    using Entry = std::uint64_t;
    static constexpr int kCodeBits = 28;
    static constexpr Entry kCodeMask = (Entry{1} << kCodeBits) - 1;
    static constexpr CharCode kCodeLimit = CharCode{1} << (kCodeBits - 1);
    static constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;  // spreads nearby patterns over the slots
    static constexpr Entry kEmpty = ~Entry{0};  // the pattern of nine 15s, which is never remembered

    const GlyphTable* m_table;
    int m_shift;
    std::unique_ptr<std::atomic<Entry>[]> m_entries;
};

}  // namespace moza::glyph
