// GlyphTable: the loaded character table (CharTable, CharCount) and FindGlyph over it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "glyph/char_record.h"

namespace moza::glyph {

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
    CharCode FindGlyph(const DarknessPattern& pattern) const;

private:
    static constexpr int kDirectLevels = 11;  // levels 0 to 10 have a direct slot
    static constexpr std::int32_t kNone = -1;

    struct Node {
        CharCode firstCode = 0;  // Code of the earliest record that reaches this node
        std::int32_t child[kDirectLevels] = {kNone, kNone, kNone, kNone, kNone, kNone,
                                             kNone, kNone, kNone, kNone, kNone};
    };

    std::int32_t childOf(std::int32_t node, Level level) const;
    std::int32_t addChild(std::int32_t node, Level level, CharCode code);
    static std::uint64_t edgeKey(std::int32_t node, Level level);

    std::vector<CharRecord> m_records;
    std::vector<Node> m_nodes;  // node 0 is the root
    std::unordered_map<std::uint64_t, std::int32_t> m_otherEdges;  // levels outside 0 to 10
};

}  // namespace moza::glyph
