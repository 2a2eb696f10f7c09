// Block sampling: the darkness levels of all 766 channel sums, patterns and average colours.
#include "convert/block_sampler.h"

#include <gtest/gtest.h>

namespace moza::convert {
namespace {

ColorValue rgb(int r, int g, int b) { return static_cast<ColorValue>(b << 16 | g << 8 | r); }

TEST(BlockSamplerTest, EveryChannelSumHasTheLevelOfTheTable) {
    struct Band { int level, lowSum, highSum; };
    const Band bands[] = {{0, 698, 765}, {1, 629, 697}, {2, 560, 628}, {3, 488, 559}, {4, 419, 487}, {5, 350, 418},
                          {6, 278, 349}, {7, 209, 277}, {8, 140, 208}, {9, 71, 139},  {10, 0, 70}};
    int covered = 0;
    for (const Band& band : bands) {
        for (int sum = band.lowSum; sum <= band.highSum; ++sum, ++covered) {
            ASSERT_EQ(DarknessLevelOfSum(sum), band.level) << "S = " << sum;
        }
    }
    EXPECT_EQ(covered, 766);
}

TEST(BlockSamplerTest, DarknessValuesAtTheEnds) {
    EXPECT_EQ(DarknessValue(765), 1);    // white
    EXPECT_EQ(DarknessValue(0), 256);    // black
    EXPECT_EQ(DarknessValue(255), 171);  // pure red
    EXPECT_EQ(DarknessValue(70), 233);
    EXPECT_EQ(DarknessValue(71), 232);
}

TEST(BlockSamplerTest, MeasuredGreysTakeTheLevelOfTheirExactDarkness) {
    struct Case { double channelSum; int level; };
    const Case cases[] = {{765.0, 0}, {700.1, 0}, {697.5, 1}, {69.0, 10}, {70.0, 9}, {0.0, 10}};
    for (const Case& c : cases) {
        EXPECT_EQ(DarknessLevelOf(ExactDarkness(c.channelSum)), c.level) << "S = " << c.channelSum;
    }
    EXPECT_EQ(DarknessLevelOf(kDarknessLevelStep), 1);
    EXPECT_EQ(DarknessLevelOf(232.99), 9);
}

TEST(BlockSamplerTest, ThePatternRunsRowByRowAndAveragesRoundDown) {
    WorkingImage image = WorkingImage::create(3, 3).value();
    const int sums[9] = {765, 697, 628, 559, 487, 418, 349, 277, 0};  // levels 0 to 8, then 10
    for (int i = 0; i < 9; ++i) {
        const int s = sums[i];
        image.setPixel(i % 3, i / 3, rgb(s / 3, s / 3 + (s % 3 > 0), s / 3 + (s % 3 > 1)));
    }
    const BlockSample sample = SampleBlock(image, 0, 0);
    EXPECT_EQ(sample.pattern, (glyph::DarknessPattern{0, 1, 2, 3, 4, 5, 6, 7, 10}));

    WorkingImage reds = WorkingImage::create(3, 3).value();
    for (int i = 0; i < 9; ++i) reds.setPixel(i % 3, i / 3, rgb(i < 8 ? 2 : 1, 0, 0));  // red sum 17
    EXPECT_EQ(SampleBlock(reds, 0, 0).red, 1);
}

}  // namespace
}  // namespace moza::convert
