// A loaded page's table laid out as Chromium lays it out: where its columns start, and its width.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "ui/art/art_image.h"
#include "ui/art/art_pages.h"
#include "ui/art/art_painter.h"
#include "ui/art/glyph_masks.h"

namespace moza::ui::testing {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBar = 0x214EC1;
/// Half-width characters, full-width ones and a blank column: columns of several widths.
const std::vector<std::vector<Cell>> kMixedWidths = {
    {{'A', kBlack}, {0x82A0, kBlack}, {'A', kRed}, {0xB1, kBlack}, {' ', kWhite}, {0x82A0, kRed}},
    {{'A', kRed}, {0x82A0, kRed}, {0x88A0, kBlack}, {0xB1, kRed}, {' ', kWhite}, {0x82A0, kBlack}}};

LoadedArtPage loaded(const std::vector<std::vector<Cell>>& rows) {
    return LoadedPage(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()),
                      [&rows](int r, int c) { return rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]; });
}

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
         kMixedWidths,
         {0, 7.875, 18.53125, 29.1875, 37.0625, 43.3125, 54}},
    };
    for (const auto& c : cases) {
        const LoadedArtPage page = loaded(c.rows);
        ASSERT_TRUE(page.page) << c.page;
        EXPECT_EQ(page.page->layout.columnLefts, c.edges) << c.page;
    }
}

/// `page` drawn at `scale` into a frame of `size`, once every mask is drawn.
QImage painted(const ArtPage& page, double scale, GlyphMasks* masks, QSize size) {
    QImage frame = NewFrame(size);
    ArtPainter painter;
    bool whole = false;
    for (int frames = 0; frames < 100 && !whole; ++frames) whole = painter.paint(frame, page, {scale, {0, 0}}, masks);
    EXPECT_TRUE(whole) << "characters still without masks after 100 frames";
    return frame;
}

TEST(ArtLayoutTest, CoverageSaysWhichNinthsOfTheCellTheInkCovers) {
    // IPAGothic's ー, ｜, | and ■ in cells 9.32 pixels wide, as the unhinted masks measure them.
    const struct {
        std::uint16_t code;
        InkCoverage ninths;
    } cases[] = {{0x815B, {0, 0, 0, 45, 66, 64, 0, 0, 0}},
                 {0x8162, {0, 68, 0, 0, 68, 0, 0, 68, 0}},
                 {'|', {61, 6, 0, 61, 6, 0, 61, 6, 0}},
                 {0x81A1, {100, 180, 167, 142, 255, 236, 96, 172, 159}}};
    const LoadedArtPage page = LoadedPage(1, 4, [&cases](int, int c) { return Cell{cases[c].code, kBlack}; });
    ASSERT_TRUE(page.page);
    for (const auto& c : cases) {
        const InkCoverage& ink = page.page->coverage[static_cast<std::size_t>(page.page->glyphOfCode[c.code])];
        for (std::size_t part = 0; part < 9; ++part)
            EXPECT_NEAR(ink[part], c.ninths[part], 12) << c.code << " " << part;
    }
    for (int k = 1; k < 4; ++k) {  // each the first of a page: the measures kept for later pages are its own
        const LoadedArtPage turned = LoadedPage(1, 4, [&](int, int c) {
            return Cell{cases[(c + k) % 4].code, kBlack};
        });
        EXPECT_EQ(turned.page->coverage[0], page.page->coverage[page.page->glyphOfCode[cases[k].code]]) << k;
    }
    QImage faint(20, 20, QImage::Format_Alpha8);  // the faintest ink over more than the whole cell
    faint.fill(1);
    EXPECT_EQ(CoverageOf({faint, {-5, -14}}, 9.0), InkCoverage({1, 1, 1, 1, 1, 1, 1, 1, 1}));
    const LoadedArtPage one = LoadedPage(1, 1, [](int, int) { return Cell{0x81A1, kBlack}; });  // a column alone
    EXPECT_EQ(one.page->coverage[0][4], 255);
    const QPoint middle = QPointF(one.page->layout.tableLeft + 5, one.page->layout.tableTop + 5).toPoint();
    EXPECT_LT(qGray(painted(*one.page, 1.0, one.unitMasks.get(), {40, 40}).pixel(middle)), 8);  // glyph 0 drawn
}

/// The columns of several widths in white, below them a row of bars (|) in kBar, and a white row
/// that keeps the closing quote's ink off the bars.
LoadedArtPage barsPage() {
    std::vector<std::vector<Cell>> rows = kMixedWidths;
    for (auto& row : rows)
        for (Cell& cell : row) cell.color = kWhite;
    rows.emplace_back(rows[0].size(), Cell{'|', kBar});
    rows.push_back(rows[0]);
    return loaded(rows);
}

TEST(ArtLayoutTest, CharactersSitAtTheirPenRoundedToAQuarterPixel) {
    // The bars' pens lie at 8, 15.34, 26, 36.66, 44 and 51.34 pixels: they are drawn from the
    // masks a quarter, 3 quarters and a quarter right, each pixel the bars' colour (odd in every
    // channel) over white by the mask's coverage.
    const LoadedArtPage page = barsPage();
    ASSERT_TRUE(page.page);
    const ArtLayout& layout = page.page->layout;
    const QImage frame = painted(*page.page, 1.0, page.unitMasks.get(), {64, 64});
    const int baseline = static_cast<int>(layout.tableTop + 2 * ArtLayout::kRowPitch + ArtLayout::kBaseline);
    for (int c = 0; c < layout.columns(); ++c) {
        const long quarters = std::lround((layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(c)]) * 4);
        const GlyphMask& mask = page.unitMasks->mask(page.page->glyphOfCode['|'], static_cast<int>(quarters % 4));
        for (int y = 0; y < mask.alpha.height(); ++y)
            for (int x = 0; x < mask.alpha.width(); ++x) {
                const QPoint at = QPoint(static_cast<int>(quarters / 4) + x, baseline + y) + mask.offset;
                const int alpha = mask.alpha.constScanLine(y)[x];
                for (const int shift : {16, 8, 0})  // each channel, rounded half a level towards white
                    ASSERT_EQ(static_cast<int>(frame.pixel(at) >> shift & 255),
                              255 - ((255 - static_cast<int>(kBar >> shift & 255)) * alpha - 127) / 255)
                        << c;
            }
    }
}

TEST(ArtLayoutTest, AtOtherZoomsCharactersAreShiftedSmoothlyToTheirExactPen) {
    const LoadedArtPage page = barsPage();
    ASSERT_TRUE(page.page);
    const ArtLayout& layout = page.page->layout;
    constexpr double kScale = 1.5;
    GlyphMasks masks(page.page->texts, ArtLayout::kGlyphPixels * kScale, false);
    const QImage frame = painted(*page.page, kScale, &masks, {96, 96});
    std::vector<double> offsets;  // from the exact pen to the middle of the bar's ink
    for (int c = 0; c < layout.columns(); ++c) {
        const double pen = (layout.tableLeft + layout.columnLefts[static_cast<std::size_t>(c)]) * kScale;
        double ink = 0, moment = 0;
        for (int x = static_cast<int>(pen); x < static_cast<int>(pen) + 7; ++x)
            for (int y = 68; y < 80; ++y)
                ink += 255 - qRed(frame.pixel(x, y)), moment += (255 - qRed(frame.pixel(x, y))) * (x + 0.5);
        offsets.push_back(moment / ink - pen);
    }
    for (const double offset : offsets) EXPECT_NEAR(offset, offsets[0], 0.02);
}

TEST(ArtLayoutTest, PageIsWhiteToItsEdgesAndQuotesFollowTheZoom) {
    const LoadedArtPage bars = barsPage(), empty = LoadedPage(1, 0, [](int, int) { return Cell{' ', kWhite}; });
    ASSERT_TRUE(bars.page && empty.page);
    const struct {
        const ArtPage& page;
        double scale;
        QPoint origin;
        QRect white;  // a grey line inside or white outside shows the page a pixel off
    } cases[] = {{*bars.page, 1.0, {3, 2}, {3, 2, 70, 88}},
                 {*bars.page, 2.0, {-5, -20}, {0, 0, 135, 156}},
                 {*empty.page, 1.0, {1, 1}, {1, 1, 24, 58}}};  // the quote's 8 pixels make the width
    ArtPainter reused;  // its quotes' font made at one zoom and kept for the next
    for (const auto& c : cases) {
        QImage frame = NewFrame({160, 160}), fresh = NewFrame({160, 160});
        reused.paint(frame, c.page, {c.scale, c.origin}, nullptr);
        ArtPainter().paint(fresh, c.page, {c.scale, c.origin}, nullptr);
        QRect white;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                white |= frame.pixel(x, y) == kSurroundColor ? QRect() : QRect(x, y, 1, 1);
        EXPECT_EQ(white, c.white) << c.scale;
        EXPECT_EQ(frame, fresh) << c.scale;
    }
}

TEST(ArtLayoutTest, InkPyramidHalvesThePlainAverageOfEachCellsInk) {
    // 3 rows of 259 cells (odd sides), 60 characters and blanks, the colours changing cell by cell.
    const LoadedArtPage loaded = LoadedPage(3, 259, [](int r, int c) {
        const int k = (r * 259 + c) % 61;
        return Cell{static_cast<std::uint16_t>(k == 60 ? ' ' : 0x889F + k), (c * 0x10307u + r * 0x5Fu) & 0xFFFFFFu};
    });
    ASSERT_TRUE(loaded.page);
    const ArtPage& page = *loaded.page;
    ASSERT_EQ(page.ink.levels(), 2);
    EXPECT_EQ(Inked(0x214EC1, 255), qRgb(0x21, 0x4E, 0xC1));  // whole ink is the cell's colour
    EXPECT_EQ(LoadedPage(1, 514, [](int, int) { return Cell{'A', kBlack}; }).page->ink.levels(), 3);  // 257 is halved
    const QImage &cells = page.ink.level(0), &half = page.ink.level(1);
    for (int r = 0, c = 0; r < 3; c = (c + 1) % 259, r += c == 0) {
        const std::size_t i = page.grid.indexOf(r, c);
        const std::int32_t glyph = page.glyphOfCode[page.grid.codes[i]];
        const InkCoverage ink = glyph < 0 ? InkCoverage{} : page.coverage[static_cast<std::size_t>(glyph)];
        const double mean = std::accumulate(ink.begin(), ink.end(), 0) / 9.0;
        ASSERT_EQ(cells.pixel(c, r), Inked(page.grid.colors[i], static_cast<int>(std::lround(mean)))) << r << " " << c;
    }
    ASSERT_EQ(half.size(), QSize(130, 2));
    EXPECT_EQ(ArtImageHeight(page, 10), 1);  // its picture 10 pixels wide: a quarter of a pixel high, shown as one
    for (int y = 0, x = 0; y < 2; x = (x + 1) % 130, y += x == 0)
        for (const int shift : {16, 8, 0}) {
            int sum = 0;  // the last column and row stand in for their missing neighbours
            for (int d = 0; d < 4; ++d)
                sum += static_cast<int>(cells.pixel(std::min(2 * x + d % 2, 258), std::min(2 * y + d / 2, 2)) >> shift &
                                        255);
            ASSERT_EQ(static_cast<int>(half.pixel(x, y) >> shift & 255), std::lround(sum / 4.0)) << x << " " << y;
        }
}

}  // namespace
}  // namespace moza::ui::testing
