// GlyphTable: a trie along ProbeOrder whose nodes remember the first record that reached them.
#include "glyph/glyph_table.h"

#include <cassert>

namespace moza::glyph {

GlyphTable::GlyphTable(std::vector<CharRecord> records) : m_records(std::move(records)) {
    assert(m_records.size() <= static_cast<std::size_t>(kMaxCharCount));
    if (m_records.empty()) {
        return;
    }
    // Records go in in file order, so each node keeps the Code of the earliest record whose
    // leading probe levels lead to it: exactly the tie-break of the matching rule.
    m_nodes.reserve(m_records.size() * 4 + 1);
    m_nodes.push_back(Node{m_records.front().Code});
    for (const CharRecord& record : m_records) {
        std::int32_t node = 0;
        for (int position : ProbeOrder) {
            const Level level = record.Pattern[static_cast<std::size_t>(position)];
            std::int32_t next = childOf(node, level);
            if (next == kNone) {
                next = addChild(node, level, record.Code);
            }
            node = next;
        }
    }
}

CharCode GlyphTable::FindGlyph(const DarknessPattern& pattern) const {
    assert(!m_nodes.empty() && "FindGlyph needs a table with at least one record");
    std::int32_t node = 0;
    for (int position : ProbeOrder) {
        const std::int32_t next = childOf(node, pattern[static_cast<std::size_t>(position)]);
        if (next == kNone) {
            break;  // the best records agreed up to here; the earliest of them is remembered
        }
        node = next;
    }
    return m_nodes[static_cast<std::size_t>(node)].firstCode;
}

std::int32_t GlyphTable::childOf(std::int32_t node, Level level) const {
    if (level >= 0 && level < kDirectLevels) {
        return m_nodes[static_cast<std::size_t>(node)].child[level];
    }
    if (m_otherEdges.empty()) {
        return kNone;
    }
    const auto found = m_otherEdges.find(edgeKey(node, level));
    return found == m_otherEdges.end() ? kNone : found->second;
}

std::int32_t GlyphTable::addChild(std::int32_t node, Level level, CharCode code) {
    const auto added = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.push_back(Node{code});
    if (level >= 0 && level < kDirectLevels) {
        m_nodes[static_cast<std::size_t>(node)].child[level] = added;
    } else {
        m_otherEdges.emplace(edgeKey(node, level), added);
    }
    return added;
}

std::uint64_t GlyphTable::edgeKey(std::int32_t node, Level level) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(node)) << 16) |
           static_cast<std::uint16_t>(level);
}

}  // namespace moza::glyph
