// TrainRecords: nearest characters by mean-pruned search, and the leaders of the probe-order trie
// chosen bottom-up by dynamic programming over the training blocks that stop at each branch.
#include "trained_table.h"

#include <algorithm>
#include <limits>
#include <map>
#include <numeric>
#include <set>

#include "glyph/glyph_table.h"

namespace moza::tools {
namespace {

using Key = std::array<glyph::Level, 9>;  // levels in probe order

double meanOf(const std::array<double, 9>& values) { return std::accumulate(values.begin(), values.end(), 0.0) / 9; }

Key probeKey(const glyph::DarknessPattern& pattern) {
    Key key{};
    for (std::size_t k = 0; k < 9; ++k) key[k] = pattern[static_cast<std::size_t>(glyph::ProbeOrder[k])];
    return key;
}


/// Blocks stopping at one branch: how many, and the sums that give their total cost for any character.
struct StopSums {
    double count = 0;
    std::array<double, 9> sum{};  // of (level + 0.5) by position
    double sumOfSquares = 0;

    void add(const glyph::DarknessPattern& pattern, double weight) {
        count += weight;
        for (std::size_t i = 0; i < 9; ++i) {
            const double x = pattern[i] + 0.5;
            sum[i] += weight * x;
            sumOfSquares += weight * x * x;
        }
    }
    /// The total of (x - g)^2 over the blocks: sum x^2 - 2 g . sum x + n g^2.
    double cost(const std::array<double, 9>& g) const {
        if (count == 0) return 0;
        double total = sumOfSquares;
        for (std::size_t i = 0; i < 9; ++i) total += count * g[i] * g[i] - 2 * g[i] * sum[i];
        return total;
    }
};

/// The trie of the records in probe order, each node a range of the key-sorted records, with the
/// best total cost of its subtree for every possible leader.
class LeaderSearch {
public:
    LeaderSearch(std::vector<glyph::CharRecord> records, const std::vector<LevelledChar>& chars,
                 const BlockCounts& counts);
    /// The records in file order: every node's chosen leader first among its members.
    std::vector<glyph::CharRecord> ordered();

private:
    struct Node {
        int depth;
        std::size_t lo, hi;
        std::vector<std::size_t> children;
        std::size_t best = 0;  // the leader of least subtree cost
    };
    /// Builds the node of records [lo, hi) at `depth` with its training blocks [patternLo,
    /// patternHi), and below it; returns its index.
    std::size_t build(int depth, std::size_t lo, std::size_t hi, std::size_t patternLo, std::size_t patternHi);
    /// Builds the children of `node`; the blocks that match none of them go into `stops`.
    std::vector<std::size_t> buildChildren(std::size_t node, std::size_t patternLo, std::size_t patternHi,
                                           StopSums& stops);
    void assign(std::size_t node, std::size_t leader);

    std::vector<glyph::CharRecord> m_records;  // sorted by probe key
    std::vector<Key> m_keys;
    std::vector<std::array<double, 9>> m_levels;  // each record's character
    std::vector<std::pair<Key, glyph::DarknessPattern>> m_patterns;  // training blocks by probe key
    std::vector<double> m_weights;
    std::vector<double> m_cost;  // per record: the least cost of the current node's subtree when it leads
    std::vector<Node> m_nodes;
    std::vector<int> m_leads;  // per record: the shallowest depth it leads
};

LeaderSearch::LeaderSearch(std::vector<glyph::CharRecord> records, const std::vector<LevelledChar>& chars,
                           const BlockCounts& counts) {
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return probeKey(a.Pattern) < probeKey(b.Pattern); });
    std::map<glyph::CharCode, const LevelledChar*> byCode;
    for (const LevelledChar& c : chars) byCode.emplace(c.code, &c);
    for (const glyph::CharRecord& record : records) {
        m_keys.push_back(probeKey(record.Pattern));
        m_levels.push_back(byCode.at(record.Code)->levels);
    }
    m_records = std::move(records);
    for (const auto& [pattern, count] : counts) {
        m_patterns.emplace_back(probeKey(pattern), pattern);
    }
    std::sort(m_patterns.begin(), m_patterns.end());
    for (const auto& entry : m_patterns) m_weights.push_back(static_cast<double>(counts.at(entry.second)));
    m_cost.assign(m_records.size(), 0.0);
    m_leads.assign(m_records.size(), 9);
    if (!m_records.empty()) build(0, 0, m_records.size(), 0, m_patterns.size());
}

std::size_t LeaderSearch::build(int depth, std::size_t lo, std::size_t hi, std::size_t patternLo,
                                std::size_t patternHi) {
    const std::size_t index = m_nodes.size();
    m_nodes.push_back({depth, lo, hi, {}, 0});
    StopSums stops;
    std::vector<std::size_t> children = buildChildren(index, patternLo, patternHi, stops);
    // Each child's cost with its own best leader; a record of child C leading this node costs
    // what it costs C, plus the blocks stopping here, plus every other child at its best.
    double others = 0;
    for (std::size_t child : children) others += m_cost[m_nodes[child].best];
    for (std::size_t child : children) {
        const double rest = others - m_cost[m_nodes[child].best];
        for (std::size_t r = m_nodes[child].lo; r < m_nodes[child].hi; ++r) m_cost[r] += rest;
    }
    std::size_t best = lo;
    for (std::size_t r = lo; r < hi; ++r) {
        m_cost[r] += stops.cost(m_levels[r]);
        if (m_cost[r] < m_cost[best]) best = r;
    }
    m_nodes[index].children = std::move(children);
    m_nodes[index].best = best;
    return index;
}

std::vector<std::size_t> LeaderSearch::buildChildren(std::size_t node, std::size_t patternLo, std::size_t patternHi,
                                                     StopSums& stops) {
    const int depth = m_nodes[node].depth;
    const std::size_t hi = m_nodes[node].hi;
    std::vector<std::size_t> children;
    std::size_t p = patternLo;
    if (depth < 9) {
        // Records and blocks are both sorted by probe key: walk the records' levels at this depth
        // and hand each its blocks; blocks of a level no record has stop here.
        const auto d = static_cast<std::size_t>(depth);
        for (std::size_t r = m_nodes[node].lo; r < hi;) {
            const glyph::Level level = m_keys[r][d];
            std::size_t end = r;
            while (end < hi && m_keys[end][d] == level) ++end;
            for (; p < patternHi && m_patterns[p].first[d] < level; ++p) stops.add(m_patterns[p].second, m_weights[p]);
            const std::size_t first = p;
            while (p < patternHi && m_patterns[p].first[d] == level) ++p;
            children.push_back(build(depth + 1, r, end, first, p));
            r = end;
        }
    }
    for (; p < patternHi; ++p) stops.add(m_patterns[p].second, m_weights[p]);
    return children;
}

void LeaderSearch::assign(std::size_t node, std::size_t leader) {
    m_leads[leader] = std::min(m_leads[leader], m_nodes[node].depth);
    for (std::size_t child : m_nodes[node].children) {
        const Node& c = m_nodes[child];
        assign(child, leader >= c.lo && leader < c.hi ? leader : c.best);
    }
}

std::vector<glyph::CharRecord> LeaderSearch::ordered() {
    if (m_records.empty()) return {};
    assign(0, m_nodes[0].best);
    std::vector<std::size_t> order(m_records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return m_leads[a] < m_leads[b]; });
    std::vector<glyph::CharRecord> records;
    records.reserve(order.size());
    for (std::size_t i : order) records.push_back(m_records[i]);
    return records;
}

}  // namespace

glyph::CharCode NearestChar(const glyph::DarknessPattern& pattern, const std::vector<LevelledChar>& chars) {
    return NearestCharSearch(chars).nearest(pattern);
}

NearestCharSearch::NearestCharSearch(const std::vector<LevelledChar>& chars) : m_chars(chars) {
    for (std::size_t i = 0; i < chars.size(); ++i) m_byMean.emplace_back(meanOf(chars[i].levels), i);
    std::sort(m_byMean.begin(), m_byMean.end());
}

glyph::CharCode NearestCharSearch::nearest(const glyph::DarknessPattern& pattern) const {
    std::array<double, 9> x{};
    for (std::size_t i = 0; i < 9; ++i) x[i] = pattern[i] + 0.5;
    const double mean = meanOf(x);
    // Outward from the characters of the nearest mean: the squared distance is at least 9 times
    // the squared difference of the means, so each side stops once that passes the best.
    const auto start = std::lower_bound(m_byMean.begin(), m_byMean.end(), std::make_pair(mean, std::size_t{0}));
    double best = std::numeric_limits<double>::infinity();
    std::size_t bestIndex = 0;
    auto consider = [&](std::size_t index) {
        double cost = 0;
        for (std::size_t i = 0; i < 9 && cost <= best; ++i) {
            const double diff = x[i] - m_chars[index].levels[i];
            cost += diff * diff;
        }
        if (cost < best || (cost == best && index < bestIndex)) {
            best = cost;
            bestIndex = index;
        }
    };
    for (auto up = start; up != m_byMean.end() && 9 * (up->first - mean) * (up->first - mean) <= best; ++up) {
        consider(up->second);
    }
    for (auto down = start; down != m_byMean.begin();) {
        --down;
        if (9 * (down->first - mean) * (down->first - mean) > best) break;
        consider(down->second);
    }
    return m_chars[bestIndex].code;
}

std::vector<glyph::CharRecord> TrainRecords(std::vector<glyph::CharRecord> records,
                                            const std::vector<LevelledChar>& chars, const BlockCounts& counts,
                                            const TrainingRule& rule) {
    std::set<glyph::DarknessPattern> taken;
    for (const glyph::CharRecord& record : records) taken.insert(record.Pattern);
    std::vector<std::pair<std::int64_t, glyph::DarknessPattern>> frequent;
    for (const auto& [pattern, count] : counts) {
        if (count >= rule.addMinCount && !taken.count(pattern)) frequent.emplace_back(count, pattern);
    }
    std::stable_sort(frequent.begin(), frequent.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const NearestCharSearch search(chars);
    for (const auto& [count, pattern] : frequent) {
        if (records.size() >= rule.maxRecords) break;
        records.push_back({pattern, search.nearest(pattern)});
    }
    return LeaderSearch(std::move(records), chars, counts).ordered();
}

}  // namespace moza::tools
