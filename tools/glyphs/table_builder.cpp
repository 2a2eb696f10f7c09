// TableBuilder: levels, de-duplication and the orders of the records.
#include "table_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>

#include "convert/block_sampler.h"

namespace moza::tools {
namespace {

double blended(const CellInk& ink, std::size_t i, double blend) {
    return (1.0 - blend) * ink.ninths[i] + blend * ink.mean;
}

/// How far a pattern strays from its own mean level: the sum of absolute differences.
double unevenness(const glyph::DarknessPattern& pattern) {
    const double mean = std::accumulate(pattern.begin(), pattern.end(), 0.0) / 9.0;
    double sum = 0;
    for (glyph::Level level : pattern) sum += std::abs(level - mean);
    return sum;
}

/// How poorly `pattern` stands in for a block that agrees with `prefix` (its first `depth`
/// probe positions) and, being a piece of a smooth picture, holds their mean level elsewhere.
double standInCost(const glyph::DarknessPattern& pattern, const glyph::DarknessPattern& prefix, int depth) {
    double mean = 0;
    for (int k = 0; k < depth; ++k) mean += prefix[static_cast<std::size_t>(glyph::ProbeOrder[static_cast<std::size_t>(k)])];
    mean /= depth;
    double cost = 0;
    for (int k = depth; k < 9; ++k) {
        const auto p = static_cast<std::size_t>(glyph::ProbeOrder[static_cast<std::size_t>(k)]);
        cost += std::abs(pattern[p] - mean);
    }
    return cost;
}

/// The record that stands in best for a plain block: the most even, then the lightest.
std::size_t rootLeader(const std::vector<glyph::CharRecord>& records) {
    auto cost = [&records](std::size_t i) { return unevenness(records[i].Pattern) + 0.01 * records[i].Pattern[4]; };
    std::size_t leader = 0;
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (cost(i) < cost(leader)) leader = i;
    }
    return leader;
}

/// The member of `members` (records agreeing on their first `depth` probe positions) that
/// stands in best for them: `parentLeader` when it is one of them, else the one of least standInCost.
std::size_t groupLeader(const std::vector<glyph::CharRecord>& records, const std::vector<std::size_t>& members,
                        std::size_t parentLeader, int depth) {
    if (std::find(members.begin(), members.end(), parentLeader) != members.end()) return parentLeader;
    const glyph::DarknessPattern& prefix = records[members.front()].Pattern;
    std::size_t leader = members.front();
    for (std::size_t i : members) {
        if (standInCost(records[i].Pattern, prefix, depth) < standInCost(records[leader].Pattern, prefix, depth))
            leader = i;
    }
    return leader;
}

/// Orders `records` so that in every group sharing a probe prefix the first record is the best
/// stand-in for the group: a group keeps its parent's leader when that leader belongs to it,
/// otherwise it is led by its member of least standInCost. Records are then sorted by the
/// shallowest group they lead, which puts every leader before the rest of its group.
void orderByStandIn(std::vector<glyph::CharRecord>& records) {
    const std::size_t count = records.size();
    std::vector<int> leads(count, 9);
    std::vector<std::size_t> all(count);
    std::iota(all.begin(), all.end(), std::size_t{0});

    struct Group {
        std::vector<std::size_t> members;
        std::size_t leader;
        int depth;
    };
    const std::size_t root = rootLeader(records);
    if (count > 0) leads[root] = 0;
    std::vector<Group> pending{{all, root, 0}};
    while (!pending.empty()) {
        Group group = std::move(pending.back());
        pending.pop_back();
        if (group.depth == 9) continue;
        const auto position = static_cast<std::size_t>(glyph::ProbeOrder[static_cast<std::size_t>(group.depth)]);
        std::map<glyph::Level, std::vector<std::size_t>> children;
        for (std::size_t i : group.members) children[records[i].Pattern[position]].push_back(i);
        for (auto& [level, members] : children) {
            const int depth = group.depth + 1;
            const std::size_t leader = groupLeader(records, members, group.leader, depth);
            if (leader != group.leader) leads[leader] = std::min(leads[leader], depth);
            if (members.size() > 1) pending.push_back({std::move(members), leader, depth});
        }
    }
    std::vector<std::size_t> order = all;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return leads[a] < leads[b]; });
    std::vector<glyph::CharRecord> sorted;
    sorted.reserve(count);
    for (std::size_t i : order) sorted.push_back(records[i]);
    records = std::move(sorted);
}

}  // namespace

double DarkestNinth(const std::vector<MeasuredChar>& characters, double blend) {
    double darkest = 1e-6;
    for (const MeasuredChar& c : characters) {
        for (std::size_t i = 0; i < 9; ++i) darkest = std::max(darkest, blended(c.ink, i, blend));
    }
    return darkest;
}

std::array<double, 9> ScalesOf(const std::vector<MeasuredChar>& characters, const LevelRule& rule) {
    std::array<double, 9> scales{};
    if (rule.scale > 0) {
        scales.fill(rule.scale);
        return scales;
    }
    scales.fill(1e-6);
    for (const MeasuredChar& c : characters) {
        for (std::size_t i = 0; i < 9; ++i) scales[i] = std::max(scales[i], blended(c.ink, i, rule.blend));
    }
    if (rule.scaleRule == ScaleRule::Darkest) scales.fill(*std::max_element(scales.begin(), scales.end()));
    if (rule.scaleRule == ScaleRule::TopLeft) {
        // The darkest top-left ninth, lowered step by step while some level has no top-left
        // ninth: every level must be there for matching to start well. When no scale gives
        // every level, the darkest stays.
        const double darkest = scales[0];
        bool complete = false;
        for (double scale = darkest; scale > 0.05 && !complete; scale *= 0.99) {
            scales.fill(scale);
            std::array<bool, 11> present{};
            for (const MeasuredChar& c : characters) {
                present[static_cast<std::size_t>(LevelsOf(c.ink, scales, rule.blend)[0])] = true;
            }
            complete = std::all_of(present.begin(), present.end(), [](bool p) { return p; });
        }
        if (!complete) scales.fill(darkest);
    }
    return scales;
}

namespace {

/// The darkness of the grey that ink covering a ninth's scaled share of a white cell paints.
double ninthDarkness(const CellInk& ink, std::size_t i, const std::array<double, 9>& scales, double blend) {
    const double share = std::clamp(blended(ink, i, blend) / scales[i], 0.0, 1.0);
    return convert::ExactDarkness(765.0 * (1.0 - share));
}

}  // namespace

glyph::DarknessPattern LevelsOf(const CellInk& ink, const std::array<double, 9>& scales, double blend) {
    glyph::DarknessPattern pattern{};
    for (std::size_t i = 0; i < 9; ++i) pattern[i] = convert::DarknessLevelOf(ninthDarkness(ink, i, scales, blend));
    return pattern;
}

std::array<double, 9> ExactLevelsOf(const CellInk& ink, const std::array<double, 9>& scales, double blend) {
    std::array<double, 9> levels{};
    for (std::size_t i = 0; i < 9; ++i) levels[i] = ninthDarkness(ink, i, scales, blend) / convert::kDarknessLevelStep;
    return levels;
}

std::vector<glyph::CharRecord> BuildRecords(const std::vector<MeasuredChar>& characters, const LevelRule& rule,
                                            RecordOrder order, glyph::CharCode first) {
    const std::array<double, 9> scales = ScalesOf(characters, rule);
    std::vector<glyph::CharRecord> records;
    std::map<glyph::DarknessPattern, std::size_t> seen;
    for (const MeasuredChar& c : characters) {
        glyph::CharRecord record{LevelsOf(c.ink, scales, rule.blend), c.character.code};
        auto [where, isNew] = seen.emplace(record.Pattern, records.size());
        if (isNew) {
            records.push_back(record);
        } else if (c.character.code == first) {
            records[where->second] = record;  // the chosen first character takes over its pattern
        }
    }
    switch (order) {
        case RecordOrder::Code:
            std::stable_sort(records.begin(), records.end(),
                             [](const auto& a, const auto& b) { return a.Code < b.Code; });
            break;
        case RecordOrder::Flat:
            std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
                return unevenness(a.Pattern) < unevenness(b.Pattern);
            });
            break;
        case RecordOrder::StandIn:
            orderByStandIn(records);
            break;
        case RecordOrder::Trained:
            break;  // ordered by TrainRecords, which needs the training blocks
    }
    PutFirst(records, first);
    return records;
}

void PutFirst(std::vector<glyph::CharRecord>& records, glyph::CharCode first) {
    auto named = std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.Code == first; });
    if (named != records.end()) std::rotate(records.begin(), named, named + 1);
}

std::vector<int> MissingLevels(const std::vector<glyph::CharRecord>& records, int position) {
    std::vector<int> missing;
    for (int level = 0; level <= 10; ++level) {
        const bool present = std::any_of(records.begin(), records.end(), [&](const auto& r) {
            return r.Pattern[static_cast<std::size_t>(position)] == level;
        });
        if (!present) missing.push_back(level);
    }
    return missing;
}

std::string MeasurementText(const std::vector<MeasuredChar>& characters) {
    std::string text = "code,n0,n1,n2,n3,n4,n5,n6,n7,n8,mean\n";
    char number[32];
    for (const MeasuredChar& c : characters) {
        text += std::to_string(c.character.code);
        for (double part : c.ink.ninths) {
            std::snprintf(number, sizeof number, ",%.4f", part);
            text += number;
        }
        std::snprintf(number, sizeof number, ",%.4f\n", c.ink.mean);
        text += number;
    }
    return text;
}

std::string CharDataText(const std::vector<glyph::CharRecord>& records) {
    std::string text;
    for (const glyph::CharRecord& record : records) {
        for (glyph::Level level : record.Pattern) text += std::to_string(level) + ",";
        text += std::to_string(record.Code) + "\r\n";
    }
    return text;
}

}  // namespace moza::tools
