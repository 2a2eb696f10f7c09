// GlyphTable: a trie along ProbeOrder, laid out breadth first, whose nodes remember the first
// record that reached them.
#include "glyph/glyph_table.h"

#include <algorithm>
#include <cassert>
#include <numeric>
#include <utility>

namespace moza::glyph {
namespace {

constexpr int kCountedLevels = 11;  // levels 0 to 10 are split by counting; others by sorting

std::uint64_t edgeKey(std::uint32_t node, Level level) {
    return (static_cast<std::uint64_t>(node) << 16) | static_cast<std::uint16_t>(level);
}

/// Records [begin, end) of a sorting order: the records that share one node's prefix.
struct Group {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

/// Copies order[begin, end) into sorted[begin, end) ordered by `levelOf`, stably, so records of
/// one level stay in file order.
template <typename LevelOf>
void splitByLevel(const std::vector<std::uint32_t>& order, std::vector<std::uint32_t>& sorted, Group group,
                  const LevelOf& levelOf) {
    if (group.end - group.begin <= 16) {  // small groups, most of them: an insertion sort
        for (std::uint32_t i = group.begin; i < group.end; ++i) {
            std::uint32_t j = i;
            for (; j > group.begin && levelOf(sorted[j - 1]) > levelOf(order[i]); --j) sorted[j] = sorted[j - 1];
            sorted[j] = order[i];
        }
        return;
    }
    std::uint32_t counts[kCountedLevels + 1] = {};
    for (std::uint32_t i = group.begin; i < group.end; ++i) {
        const Level level = levelOf(order[i]);
        if (level < 0 || level >= kCountedLevels) {
            std::copy(order.begin() + group.begin, order.begin() + group.end, sorted.begin() + group.begin);
            std::stable_sort(sorted.begin() + group.begin, sorted.begin() + group.end,
                             [&](std::uint32_t a, std::uint32_t b) { return levelOf(a) < levelOf(b); });
            return;
        }
        ++counts[level + 1];
    }
    counts[0] = group.begin;
    for (int l = 1; l <= kCountedLevels; ++l) counts[l] += counts[l - 1];
    for (std::uint32_t i = group.begin; i < group.end; ++i) sorted[counts[levelOf(order[i])]++] = order[i];
}

constexpr int kIndexBits = 15;  // a record's index in its probe key
constexpr std::uint64_t kIndexMask = (std::uint64_t{1} << kIndexBits) - 1;

/// Each record's levels in probe order, four bits each, above its index, sorted: the records of
/// every trie node stand together, its children's in level order. For levels 0 to 15 only.
std::vector<std::uint64_t> sortedProbeKeys(const std::vector<CharRecord>& records) {
    const std::size_t count = records.size();
    std::vector<std::uint64_t> keys(count);
    for (std::size_t r = 0; r < count; ++r) {
        std::uint64_t key = 0;
        for (const int position : ProbeOrder) {
            key = (key << 4) | static_cast<std::uint64_t>(records[r].Pattern[static_cast<std::size_t>(position)]);
        }
        keys[r] = (key << kIndexBits) | r;
    }
    // Sorted by pattern twelve bits at a time, stably: records of one pattern stay in file order.
    std::vector<std::uint64_t> scratch(count);
    std::vector<std::uint32_t> starts(std::size_t{1} << 12);
    for (int shift = kIndexBits; shift < kIndexBits + 36; shift += 12) {
        std::fill(starts.begin(), starts.end(), 0u);
        for (const std::uint64_t key : keys) ++starts[(key >> shift) & 0xFFFu];
        std::uint32_t start = 0;
        for (std::uint32_t& bucket : starts) start += std::exchange(bucket, start);
        for (const std::uint64_t key : keys) scratch[starts[(key >> shift) & 0xFFFu]++] = key;
        keys.swap(scratch);
    }
    return keys;
}

}  // namespace

GlyphTable::GlyphTable(std::vector<CharRecord> records) : m_records(std::move(records)) {
    assert(m_records.size() <= static_cast<std::size_t>(kMaxCharCount));
    if (m_records.empty()) return;
    m_nodes.reserve(m_records.size() * 2);
    m_nodes.push_back(Node{0, m_records.front().Code});
    const bool packs =
        std::all_of(m_records.begin(), m_records.end(), [](const CharRecord& r) { return FitsPacked(r.Pattern); });
    if (packs) {
        buildFromSortedKeys();
    } else {
        buildBySplitting();
    }
}

inline void GlyphTable::addChild(std::uint32_t parent, Level level, CharCode code) {
    const auto child = static_cast<std::uint32_t>(m_nodes.size());
    m_nodes.push_back(Node{0, code});
    std::uint32_t& children = m_nodes[parent].children;
    if (level >= 0 && level < kDirectLevels) {
        // Children are added in level order, so the lowest comes first.
        if ((children & ((1u << kDirectLevels) - 1u)) == 0) children = child << kDirectLevels;
        children |= 1u << level;
    } else {
        m_otherEdges.emplace(edgeKey(parent, level), child);
    }
}

void GlyphTable::buildFromSortedKeys() {
    const std::size_t count = m_records.size();
    const std::vector<std::uint64_t> keys = sortedProbeKeys(m_records);
    std::vector<Group> groups{{0, static_cast<std::uint32_t>(count)}};
    std::vector<Group> next;
    groups.reserve(count);
    next.reserve(count);
    std::vector<CharCode> codes(count);  // read for every node: kept close together
    for (std::size_t r = 0; r < count; ++r) codes[r] = m_records[r].Code;
    std::uint32_t depthStart = 0;
    for (int depth = 0; depth < 9; ++depth) {
        const int shift = kIndexBits + 4 * (8 - depth);
        next.clear();
        for (std::uint32_t g = 0; g < groups.size(); ++g) {
            if (groups[g].end - groups[g].begin == 1) continue;  // see buildBySplitting
            for (std::uint32_t first = groups[g].begin; first < groups[g].end;) {
                // Sorted by pattern only: a prefix's first record is not always its earliest.
                const std::uint64_t level = (keys[first] >> shift) & 15u;
                std::uint64_t earliest = keys[first] & kIndexMask;
                std::uint32_t last = first + 1;
                for (; last < groups[g].end && ((keys[last] >> shift) & 15u) == level; ++last) {
                    earliest = std::min(earliest, keys[last] & kIndexMask);
                }
                addChild(depthStart + g, static_cast<Level>(level), codes[earliest]);
                next.push_back({first, last});
                first = last;
            }
        }
        depthStart += static_cast<std::uint32_t>(groups.size());
        groups.swap(next);
    }
}

void GlyphTable::buildBySplitting() {
    // Depth by depth, each node's records are split by their level at the next probe position,
    // stably, so every group stays in file order and its first record is the earliest one with
    // its prefix: exactly the tie-break of the matching rule.
    const auto count = static_cast<std::uint32_t>(m_records.size());
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::vector<std::uint32_t> sorted(count);
    std::vector<Group> groups{{0, count}};  // the groups of the current depth's nodes, in node order
    std::vector<Group> next;
    std::uint32_t depthStart = 0;  // the current depth's first node
    std::vector<Level> levels(count);  // each record's level at the current position, read in order once
    for (const int position : ProbeOrder) {
        for (std::uint32_t r = 0; r < count; ++r) levels[r] = m_records[r].Pattern[static_cast<std::size_t>(position)];
        const auto levelOf = [&levels](std::uint32_t record) { return levels[record]; };
        next.clear();
        for (std::uint32_t g = 0; g < groups.size(); ++g) {
            const std::uint32_t parent = depthStart + g;
            // A node reached by one record answers that record whatever follows: it needs no children.
            if (groups[g].end - groups[g].begin == 1) continue;
            splitByLevel(order, sorted, groups[g], levelOf);
            for (std::uint32_t first = groups[g].begin; first < groups[g].end;) {
                const Level level = levelOf(sorted[first]);
                std::uint32_t last = first + 1;
                while (last < groups[g].end && levelOf(sorted[last]) == level) ++last;
                addChild(parent, level, m_records[sorted[first]].Code);
                next.push_back({first, last});
                first = last;
            }
        }
        depthStart += static_cast<std::uint32_t>(groups.size());
        groups.swap(next);
        order.swap(sorted);
    }
}

std::vector<GlyphTable::OtherEdge> GlyphTable::otherEdges() const {
    std::vector<OtherEdge> edges;
    edges.reserve(m_otherEdges.size());
    for (const auto& [key, child] : m_otherEdges) {
        edges.push_back({static_cast<std::uint32_t>(key >> 16), static_cast<Level>(key & 0xFFFFu), child});
    }
    std::sort(edges.begin(), edges.end(), [](const OtherEdge& a, const OtherEdge& b) {
        return a.parent != b.parent ? a.parent < b.parent : a.level < b.level;
    });
    return edges;
}

std::optional<GlyphTable> GlyphTable::withIndex(std::vector<CharRecord> records, std::vector<Node> nodes,
                                                const std::vector<OtherEdge>& edges) {
    const std::size_t count = nodes.size();
    if (records.size() > static_cast<std::size_t>(kMaxCharCount) || records.empty() != (count == 0)) return {};
    // Children come after their parent (breadth first), so following links always ends. Leaves
    // and inner nodes alternate unpredictably: the test has no branch.
    bool sound = true;
    for (std::size_t node = 0; node < count; ++node) {
        const std::uint32_t levels = nodes[node].children & ((1u << kDirectLevels) - 1u);
        const std::size_t first = nodes[node].children >> kDirectLevels;
        sound &= (levels == 0) | ((first > node) & (first + detail::kBitCounts[levels] <= count));
    }
    if (!sound) return {};
    GlyphTable table;
    for (const OtherEdge& edge : edges) {
        if (edge.parent >= edge.child || edge.child >= count) return {};
        table.m_otherEdges.emplace(edgeKey(edge.parent, edge.level), edge.child);
    }
    table.m_records = std::move(records);
    table.m_nodes = std::move(nodes);
    return table;
}

std::uint32_t GlyphTable::otherChild(std::uint32_t node, Level level) const {
    if (m_otherEdges.empty()) return kNone;
    const auto found = m_otherEdges.find(edgeKey(node, level));
    return found == m_otherEdges.end() ? kNone : found->second;
}

}  // namespace moza::glyph
