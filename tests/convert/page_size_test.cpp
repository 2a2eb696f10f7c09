// TargetPictureSize: every combination of page size options on a landscape, a portrait and a tiny picture.
#include "convert/page_size.h"

#include <gtest/gtest.h>

namespace moza::convert {
namespace {

struct SizeCase {
    const char* name;
    PictureSize picture;
    PageSizeRequest request;
    PictureSize expected;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class TargetPictureSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TargetPictureSizeTest, GivesThePictureSizeOfThePageAskedFor) {
    const SizeCase& c = GetParam();
    const PictureSize size = TargetPictureSize(c.picture, c.request);
    EXPECT_EQ(size.width, c.expected.width);
    EXPECT_EQ(size.height, c.expected.height);
}

// A 640 x 480 page shown keeps 4:3 when rows = columns x 1.065 x 3 / 4 = columns x 0.79875.
constexpr PictureSize kLandscape{640, 480};
constexpr PictureSize kPhoto{4000, 3000};
constexpr PictureSize kPortrait{300, 900};

INSTANTIATE_TEST_SUITE_P(
    Combinations, TargetPictureSizeTest,
    ::testing::Values(
        SizeCase{"NothingAskedLeavesThePicture", kLandscape, {.allowEnlarge = true}, kLandscape},
        SizeCase{"WidthOnly", kLandscape, {.columns = 150}, {450, 360}},            // 150 x 119.8
        SizeCase{"HeightOnly", kLandscape, {.rows = 100}, {375, 300}},              // 125.2 columns
        SizeCase{"HeightOfOne", kLandscape, {.rows = 1}, {3, 3}},                    // 1.25 columns
        SizeCase{"CapBelowOneColumnKeepsOneColumn", kPortrait, {.maxCells = 2}, {3, 9}},  // 3 cells: no fewer columns
        SizeCase{"BothLimitedByWidth", kLandscape, {.columns = 100, .rows = 100}, {300, 240}},
        SizeCase{"BothLimitedByHeight", kLandscape, {.columns = 300, .rows = 50}, {186, 150}},
        SizeCase{"PortraitWidthOnly", kPortrait, {.columns = 40}, {120, 384}},      // 40 x 127.8
        SizeCase{"WiderThanThePageLeavesThePicture", kLandscape, {.columns = 214}, kLandscape},
        SizeCase{"JustNarrowerThanThePageKeepsItsRows", kLandscape, {.columns = 213}, {639, 480}},  // not 170 rows
        SizeCase{"JustLowerThanThePage", kLandscape, {.rows = 159}, {597, 477}},                   // 199.1 columns
        SizeCase{"EnlargedWhenAllowed", kLandscape, {.columns = 1000, .allowEnlarge = true}, {3000, 2397}},
        SizeCase{"EnlargedNoTallerThanCanBeConverted", kLandscape, {.rows = 20000, .allowEnlarge = true},
                 {41019, 32763}},  // 13673 x 10921 cells
        SizeCase{"CapOfExactlyThePageLeavesThePicture", kLandscape, {.maxCells = 214 * 160}, kLandscape},
        SizeCase{"HeightOfExactlyThePageLeavesThePicture", kLandscape, {.rows = 160}, kLandscape},
        SizeCase{"CapBelowThePageScalesDown", kPhoto, {.maxCells = 353 * 282}, {1059, 846}},  // met exactly
        SizeCase{"CapTighterThanTheWidth", kPhoto, {.columns = 500, .maxCells = 10000}, {333, 267}},
        SizeCase{"WidthTighterThanTheCap", kPhoto, {.columns = 50, .maxCells = 10000}, {150, 120}},
        SizeCase{"CapOfOneCell", kPhoto, {.maxCells = 1}, {3, 3}},
        SizeCase{"TinyPictureIsNotEnlargedToOneCell", {2, 2}, {.columns = 1}, {2, 2}},
        SizeCase{"SmallPictureUnderAWideLimitIsLeftAlone", {6, 3}, {.columns = 50}, {6, 3}},
        SizeCase{"TinyPictureEnlargedWhenAllowed", {1, 1}, {.columns = 4, .allowEnlarge = true}, {12, 12}},
        SizeCase{"AWideStripKeepsOneRow", {3000, 3}, {.columns = 1}, {3, 3}},
        SizeCase{"AStripTooLowForOneRowIsLeftAlone", {3000, 2}, {.columns = 1}, {3000, 2}},
        SizeCase{"PictureOfNoWidthStaysEmpty", {0, 9}, {.columns = 10, .allowEnlarge = true}, {0, 9}},
        SizeCase{"PictureOfNoHeightStaysEmpty", {9, 0}, {.columns = 10, .allowEnlarge = true}, {9, 0}}));

TEST(TargetPictureSizeTest, ScaledPagesKeepToEveryLimitAndTheShownShape) {
    for (int width = 5; width < 3000; width += 331) {
        for (int height = 5; height < 3000; height += 277) {
            for (int limit : {1, 7, 80, 401}) {
                const PageSizeRequest request{.columns = limit, .rows = limit + 3, .maxCells = 50L * limit};
                const PictureSize size = TargetPictureSize({width, height}, request);
                if (size == PictureSize{width, height}) continue;
                const int columns = size.width / 3;
                const int rows = size.height / 3;
                ASSERT_EQ(size.width % 3 + size.height % 3, 0);
                EXPECT_LE(columns, limit);
                EXPECT_LE(rows, limit + 3);
                EXPECT_LE(static_cast<std::int64_t>(columns) * rows, request.maxCells);
                EXPECT_LE(size.width, width);
                EXPECT_LE(size.height, height);
                // Shown no narrower than the picture, and no wider than its unscaled page.
                if (columns >= 20 && rows >= 20) {
                    const double shown = columns * kCellWidthPx / (rows * kCellHeightPx) / (double(width) / height);
                    EXPECT_GT(shown, 0.96);
                    EXPECT_LT(shown, kCellWidthPx / kCellHeightPx * 1.04);
                }
            }
        }
    }
}

}  // namespace
}  // namespace moza::convert
