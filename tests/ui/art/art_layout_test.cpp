// A loaded page's table laid out as Chromium lays it out: where its columns start, and its width.
#include <gtest/gtest.h>

#include <vector>

#include "ui/art/art_pages.h"

namespace moza::ui::testing {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000;

TEST(ArtLayoutTest, ColumnsStartWhereChromiumStartsThem) {
    // Chromium 156's figures: each page below written as these tests write it (with
    // <meta charset=shift_jis> before it), followed by <style>*{font-family:IPAGothic}</style> and
    // tools/quality/art_view_check.py's PROBE script (its cells' getBoundingClientRect().left less
    // the table's, then the table's width), shown by
    //   chromium --headless --no-sandbox --disable-gpu --dump-dom file:///tmp/page.html
    const struct {
        const char* page;
        std::vector<std::vector<Cell>> rows;
        std::vector<double> edges;
    } cases[] = {
        {"white margins: ideographic spaces (U+3000) widen their columns as any full-width character",
         {{{0x8140, kWhite}, {0x82A0, kBlack}, {0x88A0, kRed}, {0x8140, kWhite}, {0x8140, kWhite}},
          {{0x8140, kWhite}, {0x88A0, kRed}, {0x82A0, kBlack}, {0x8140, kWhite}, {0x8140, kWhite}}},
         {0, 10.65625, 21.3125, 31.96875, 42.625, 53.28125}},
        {"half-width characters and a blank column share what the full-width ones leave of 9 a column",
         {{{'A', kBlack}, {0x82A0, kBlack}, {'A', kRed}, {0xB1, kBlack}, {' ', kWhite}, {0x82A0, kRed}},
          {{'A', kRed}, {0x82A0, kRed}, {0x88A0, kBlack}, {0xB1, kRed}, {' ', kWhite}, {0x82A0, kBlack}}},
         {0, 7.875, 18.53125, 29.1875, 37.0625, 43.3125, 54}},
    };
    for (const auto& c : cases) {
        const auto& rows = c.rows;
        const LoadedArtPage loaded = LoadedPage(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()),
                                                [&rows](int r, int column) { return rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)]; });
        ASSERT_TRUE(loaded.page) << c.page;
        EXPECT_EQ(loaded.page->layout.columnLefts, c.edges) << c.page;
    }
}

}  // namespace
}  // namespace moza::ui::testing
