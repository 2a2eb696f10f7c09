// Darkness levels: all 766 channel sums, and measured greys with fractions. Patterns and average
// colours are checked cell by cell in the composer's cross-check.
#include "convert/block_sampler.h"

#include <gtest/gtest.h>

namespace moza::convert {
namespace {

TEST(BlockSamplerTest, EveryChannelSumHasTheLevelOfTheTable) {
    struct Band { int level, lowSum, highSum; };
    const Band bands[] = {{0, 698, 765}, {1, 629, 697}, {2, 560, 628}, {3, 488, 559}, {4, 419, 487}, {5, 350, 418},
                          {6, 278, 349}, {7, 209, 277}, {8, 140, 208}, {9, 71, 139},  {10, 0, 70}};
    for (const Band& band : bands) {  // 0 to 765, every sum once
        for (int sum = band.lowSum; sum <= band.highSum; ++sum) {
            ASSERT_EQ(DarknessLevelOfSum(sum), band.level) << "S = " << sum;
        }
    }
}

TEST(BlockSamplerTest, MeasuredGreysTakeTheLevelOfTheirExactDarkness) {
    struct Case { double channelSum; int level; };
    const Case cases[] = {{765.0, 0}, {700.1, 0}, {697.5, 1}, {69.0, 10}, {70.0, 9}, {0.0, 10}};
    for (const Case& c : cases) {
        EXPECT_EQ(DarknessLevelOf(ExactDarkness(c.channelSum)), c.level) << "S = " << c.channelSum;
    }
    EXPECT_EQ(DarknessLevelOf(kDarknessLevelStep), 1);
}

}  // namespace
}  // namespace moza::convert
