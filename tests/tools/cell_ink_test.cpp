// Tests of the glyph measurement: ink moved within its cell box by the shift options.
#include "cell_ink.h"

#include <gtest/gtest.h>

namespace {

using moza::tools::GlyphInk;

TEST(MeasureInkTest, AShiftMovesTheInkWithinTheBox) {
    // A pixel at the centre of a 9 x 9 box (baseline at its bottom) moved 3 right and 3 up covers
    // a ninth of the top-right part. Unshifted measurement is pinned by the shipped table.
    const GlyphInk pixel{4, 5, 1, 1, {1.0f}, 0};
    const moza::tools::CellInk cell = moza::tools::MeasureInk(pixel, 9, 9, 9, 3, -3);
    const std::array<double, 9> expected = {0, 0, 1.0 / 9, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(cell.ninths[i], expected[i]) << "ninth " << i;
    EXPECT_DOUBLE_EQ(cell.mean, 1.0 / 81);
}

}  // namespace
