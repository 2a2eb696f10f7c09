// TrainRecords: records added for the blocks that training pictures have, and every branch of
// the matching order led by the record that serves the blocks stopping there best.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "block_counts.h"
#include "glyph/char_record.h"

namespace moza::tools {

/// A character as the training cost sees it: its exact levels (level L spans [L, L + 1)).
struct LevelledChar {
    glyph::CharCode code = 0;
    std::array<double, 9> levels{};
};

struct TrainingRule {
    std::int64_t addMinCount = 3;    // a block pattern seen this often gets a record of its own
    std::size_t maxRecords = 32767;  // the most records a char.csv table can hold
    double costBlend = 0;            // how far the cost sees each ninth drawn toward the cell's mean
};

/// Finds nearest characters quickly: the characters sorted by their mean level, searched outward
/// from the pattern's mean. Keeps a reference to `chars`.
class NearestCharSearch {
public:
    explicit NearestCharSearch(const std::vector<LevelledChar>& chars);
    /// As NearestChar.
    glyph::CharCode nearest(const glyph::DarknessPattern& pattern) const;

private:
    const std::vector<LevelledChar>& m_chars;
    std::vector<std::pair<double, std::size_t>> m_byMean;  // mean level, index in m_chars
};

/// The character of `chars` nearest to `pattern`: least sum over the nine positions of
/// (pattern level + 0.5 - character level)^2, the earliest of equals. Precondition: `chars` is
/// not empty.
glyph::CharCode NearestChar(const glyph::DarknessPattern& pattern, const std::vector<LevelledChar>& chars);

/// `records` (distinct patterns, each code one of `chars`) with a record added for every block
/// pattern counted at least `rule.addMinCount` times that no record has, most frequent first
/// while the table has room, each with its NearestChar. The records are then ordered so that
/// FindGlyph gives the blocks of `counts` the least total cost (as NearestChar measures it):
/// each group of records that shares a prefix in probe order is led by the member that costs
/// least for the blocks stopping at that group together with everything below it, found exactly
/// by working up from the full patterns.
std::vector<glyph::CharRecord> TrainRecords(std::vector<glyph::CharRecord> records,
                                            const std::vector<LevelledChar>& chars, const BlockCounts& counts,
                                            const TrainingRule& rule);

}  // namespace moza::tools
