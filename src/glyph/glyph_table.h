// GlyphTable: the loaded character table (CharTable, CharCount) and FindGlyph over it.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "glyph/char_record.h"

namespace moza::glyph {

namespace detail {
/// How many bits each number below 2048 has set: a trie child's place among its siblings.
inline constexpr std::array<std::uint8_t, 2048> kBitCounts = [] {
    std::array<std::uint8_t, 2048> counts{};
    for (unsigned i = 0; i < counts.size(); ++i) counts[i] = static_cast<std::uint8_t>(std::popcount(i));
    return counts;
}();
}  // namespace detail

/// The character table in file order, never changed after construction, with an index that
/// answers FindGlyph in at most nine steps whatever the table's size.
class GlyphTable {
public:
    GlyphTable() = default;
    /// Takes the records in file order; at most kMaxCharCount of them.
    explicit GlyphTable(std::vector<CharRecord> records);

    const std::vector<CharRecord>& CharTable() const { return m_records; }
    std::int16_t CharCount() const { return static_cast<std::int16_t>(m_records.size()); }
    bool empty() const { return m_records.empty(); }

    /// The Code of the record that agrees with `pattern` on the longest run of ProbeOrder
    /// positions, the earliest such record on a tie; record 0 when none agrees at the top-left.
    /// Precondition: the table is not empty.
    CharCode FindGlyph(const DarknessPattern& pattern) const {
        std::uint32_t node = 0;
        for (const int position : ProbeOrder) {
            const Level level = pattern[static_cast<std::size_t>(position)];
            const std::uint32_t children = m_nodes[node].children;
            if (static_cast<std::uint16_t>(level) < kDirectLevels) {
                if ((children >> level & 1u) == 0) break;  // the earliest best record is remembered here
                node = (children >> kDirectLevels) + detail::kBitCounts[children & ((1u << level) - 1u)];
            } else {
                const std::uint32_t next = otherChild(node, level);
                if (next == kNone) break;
                node = next;
            }
        }
        return m_nodes[node].firstCode;
    }

    /// One prefix of the probe levels. The nodes are stored breadth first, so a node's children
    /// for levels 0 to 10 stand side by side, in level order.
    struct Node {
        std::uint32_t children = 0;  // first child's index << 11 | bit l set for a child at level l
        CharCode firstCode = 0;      // Code of the earliest record with this prefix
    };
    /// A child reached by a level outside 0 to 10, which the bit mask of Node cannot hold.
    struct OtherEdge {
        std::uint32_t parent = 0;
        Level level = 0;
        std::uint32_t child = 0;
    };

    /// The index FindGlyph walks, node 0 the root; empty for an empty table.
    const std::vector<Node>& nodes() const { return m_nodes; }
    /// The children reached by levels outside 0 to 10, by parent and level.
    std::vector<OtherEdge> otherEdges() const;

    /// A table of `records` whose index is taken as nodes() and otherEdges() gave it, not rebuilt.
    /// Returns nothing when the index cannot be one (a link leading outside it or back up it, or
    /// nodes without records), so that a damaged index never leads FindGlyph out of bounds.
    static std::optional<GlyphTable> withIndex(std::vector<CharRecord> records, std::vector<Node> nodes,
                                               const std::vector<OtherEdge>& edges);

private:
    static constexpr int kDirectLevels = 11;  // levels 0 to 10 are found by a bit mask
    static constexpr std::uint32_t kNone = ~std::uint32_t{0};

    std::uint32_t otherChild(std::uint32_t node, Level level) const;
    /// Appends a child of `parent` for `level`, reached first by a record of `code`.
    void addChild(std::uint32_t parent, Level level, CharCode code);
    /// Builds the trie below the root when every level is 0 to 15: one sort of packed patterns.
    void buildFromSortedKeys();
    /// Builds the trie below the root for any levels: records split position by position.
    void buildBySplitting();

    std::vector<CharRecord> m_records;
    std::vector<Node> m_nodes;  // node 0 is the root
    std::unordered_map<std::uint64_t, std::uint32_t> m_otherEdges;  // levels outside 0 to 10
};

}  // namespace moza::glyph
