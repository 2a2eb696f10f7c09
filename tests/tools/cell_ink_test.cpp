// Tests of the glyph measurement: ink placed in a cell box whose parts' edges fall between pixels.
#include "cell_ink.h"

#include <gtest/gtest.h>

namespace {

using moza::tools::GlyphInk;

/// A solid block of ink `width` x `rows` pixels whose top-left pixel is at (left, baseline - top).
GlyphInk solidInk(int left, int top, int width, int rows, float value = 1.0f) {
    return GlyphInk{left, top, width, rows, std::vector<float>(static_cast<std::size_t>(width * rows), value), 0};
}

TEST(MeasureInkTest, InkCountsByAreaInTheNinthsItCoversAndNotOutsideTheBox) {
    struct Case {
        const char* what;
        GlyphInk ink;
        double width, height, shiftX, shiftY;
        std::array<double, 9> ninths;
        double mean;
    };
    const double n = 1.0 / 9;
    // Every box has its baseline at its bottom edge (ascent = height).
    const Case cases[] = {
        {"a pixel at the centre moved right and up", solidInk(4, 5, 1, 1), 9, 9, 3, -3, {0, 0, n, 0, 0, 0, 0, 0, 0}, n / 9},
        // Parts 1.5 pixels wide: the pixel from x = 1 to 2 lies half in part 0, half in part 1.
        {"a half-inked pixel on a part border", solidInk(1, 3, 1, 1, 0.5f), 4.5, 3, 0, 0,
         {1.0 / 6, 1.0 / 6, 0, 0, 0, 0, 0, 0, 0}, 1.0 / 27},
        {"ink beyond every edge", solidInk(-2, 4, 6, 5), 3, 3, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 1},
    };
    for (const Case& c : cases) {
        const moza::tools::CellInk cell = moza::tools::MeasureInk(c.ink, c.width, c.height,
                                                                  static_cast<int>(c.height), c.shiftX, c.shiftY);
        for (std::size_t i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(cell.ninths[i], c.ninths[i]) << c.what << ", ninth " << i;
        EXPECT_DOUBLE_EQ(cell.mean, c.mean) << c.what;
    }
}

}  // namespace
