// Block sampling: the darkness value and level formulas and their table over channel sums.
#include "convert/block_sampler.h"

#include <cmath>

namespace moza::convert {

double ExactDarkness(double channelSum) { return 256.0 - channelSum / 3.0; }

std::int16_t DarknessValue(int channelSum) {
    // S / 3 has a fractional part of 0, 1/3 or 2/3, so rounding never meets a half.
    return static_cast<std::int16_t>(std::lround(ExactDarkness(channelSum)));
}

std::int16_t DarknessLevelOf(double darknessValue) {
    return static_cast<std::int16_t>(std::floor(darknessValue / kDarknessLevelStep));
}

std::int16_t DarknessLevelOfSum(int channelSum) { return DarknessLevelOf(DarknessValue(channelSum)); }

namespace detail {
namespace {
std::array<std::int16_t, 766> buildLevelTable() {
    std::array<std::int16_t, 766> table{};
    for (int sum = 0; sum < 766; ++sum) {
        table[static_cast<std::size_t>(sum)] = DarknessLevelOfSum(sum);
    }
    return table;
}
}  // namespace

const std::array<std::int16_t, 766> kLevelBySum = buildLevelTable();
}  // namespace detail

}  // namespace moza::convert
