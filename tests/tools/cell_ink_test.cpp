// Tests of the glyph measurement: synthetic ink placed in a cell box, and real IPAGothic glyphs.
#include "cell_ink.h"

#include <gtest/gtest.h>

#include "char_selection.h"
#include "font_face.h"
#include "glyph/char_data_loader.h"
#include "table_builder.h"

namespace {

using moza::tools::CellInk;
using moza::tools::GlyphInk;
using moza::tools::MeasureInk;

/// A solid block of ink `width` x `rows` pixels whose top-left pixel is at (left, baseline - top).
GlyphInk solidInk(int left, int top, int width, int rows, float value = 1.0f) {
    GlyphInk ink;
    ink.left = left;
    ink.top = top;
    ink.width = width;
    ink.rows = rows;
    ink.coverage.assign(static_cast<std::size_t>(width * rows), value);
    return ink;
}

TEST(MeasureInkTest, InkFillingTheBoxCoversEveryNinthFully) {
    const CellInk cell = MeasureInk(solidInk(0, 9, 9, 9), 9, 9, 9);
    for (double part : cell.ninths) EXPECT_DOUBLE_EQ(part, 1.0);
    EXPECT_DOUBLE_EQ(cell.mean, 1.0);
}

TEST(MeasureInkTest, OnePixelCountsOnlyInTheNinthItFallsIn) {
    // Box 9 x 9, baseline 9 below the top: the pixel at (4, 4) is in the centre ninth.
    const CellInk cell = MeasureInk(solidInk(4, 5, 1, 1), 9, 9, 9);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(cell.ninths[i], i == 4 ? 1.0 / 9.0 : 0.0) << i;
    EXPECT_DOUBLE_EQ(cell.mean, 1.0 / 81.0);
}

TEST(MeasureInkTest, PixelOnAPartBorderIsSharedByArea) {
    // Box 6 x 3: parts are 2 x 1; the pixel from x = 1.5 is impossible, so use a box 4.5 wide:
    // parts 1.5 wide, the pixel at x = 1 lies half in part 0 and half in part 1.
    const CellInk cell = MeasureInk(solidInk(1, 3, 1, 1), 4.5, 3, 3);
    EXPECT_DOUBLE_EQ(cell.ninths[0], 0.5 / 1.5);
    EXPECT_DOUBLE_EQ(cell.ninths[1], 0.5 / 1.5);
    EXPECT_DOUBLE_EQ(cell.ninths[2], 0.0);
}

TEST(MeasureInkTest, InkOutsideTheBoxIsNotCounted) {
    // 3 x 3 box; ink from x = -2 to 4 and from y = -1 to 3 only covers the box once.
    const CellInk cell = MeasureInk(solidInk(-2, 4, 6, 5), 3, 3, 3);
    for (double part : cell.ninths) EXPECT_DOUBLE_EQ(part, 1.0);
    EXPECT_DOUBLE_EQ(cell.mean, 1.0);
}

TEST(MeasureInkTest, EmptyGlyphLeavesEveryNinthBlank) {
    const CellInk cell = MeasureInk(GlyphInk{}, 10.5, 10, 9);
    for (double part : cell.ninths) EXPECT_EQ(part, 0.0);
    EXPECT_EQ(cell.mean, 0.0);
}

/// Real glyphs of IPAGothic at 8pt and 96 dpi, measured as the generator measures them.
class IpaGothicTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto file = moza::tools::FindFontFile("IPAGothic");
        ASSERT_TRUE(file.ok()) << file.error().message << " (install fonts-ipafont-gothic)";
        auto font = moza::tools::FontFace::Open(file.value(), 32.0 / 3.0);
        ASSERT_TRUE(font.ok()) << font.error().message;
        s_font = new moza::tools::FontFace(std::move(font).value());
    }
    static void TearDownTestSuite() {
        delete s_font;
        s_font = nullptr;
    }
    static CellInk measure(char32_t c) {
        auto cell = moza::tools::MeasureCell(*s_font, c);
        EXPECT_TRUE(cell.ok());
        return cell.ok() ? cell.value() : CellInk{};
    }
    static moza::tools::FontFace* s_font;
};
moza::tools::FontFace* IpaGothicTest::s_font = nullptr;

TEST_F(IpaGothicTest, FullWidthSpaceIsBlankEverywhere) {
    const CellInk space = measure(U'\u3000');
    for (double part : space.ninths) EXPECT_EQ(part, 0.0);
    EXPECT_NEAR(space.width, 32.0 / 3.0, 0.01);  // FreeType sizes in 1/64 pixel
}

TEST_F(IpaGothicTest, BlackSquareIsDarkerThanMiddleDotInEveryNinth) {
    const CellInk square = measure(U'\u25A0');
    const CellInk dot = measure(U'\u30FB');
    for (std::size_t i = 0; i < 9; ++i) EXPECT_GT(square.ninths[i], dot.ninths[i]) << "ninth " << i;
}

TEST_F(IpaGothicTest, BracketsAreDarkerOnTheSideTheirInkFallsOn) {
    // Full-width brackets hug the text they enclose: an opening one sits at the right of its
    // cell, a closing one at the left.
    struct Case {
        char32_t bracket;
        bool inkOnLeft;
    };
    const Case cases[] = {{U'\u300D', true}, {U'\uFF09', true}, {U'\u300C', false}, {U'\uFF08', false}};
    for (const Case& c : cases) {
        const CellInk cell = measure(c.bracket);
        const double left = cell.ninths[0] + cell.ninths[3] + cell.ninths[6];
        const double right = cell.ninths[2] + cell.ninths[5] + cell.ninths[8];
        EXPECT_EQ(left > right, c.inkOnLeft) << "U+" << std::hex << static_cast<int>(c.bracket);
    }
}

TEST_F(IpaGothicTest, CellIsOneLineHighWithTheBaselineInside) {
    EXPECT_GT(s_font->lineHeight(), 0);
    EXPECT_GT(s_font->ascent(), 0);
    EXPECT_LE(s_font->ascent(), s_font->lineHeight());
}

TEST_F(IpaGothicTest, MissingGlyphIsAFailure) {
    EXPECT_FALSE(moza::tools::MeasureCell(*s_font, U'\U0001F600').ok());
}

TEST_F(IpaGothicTest, MeasuredHandfulMakesATableTheLoaderReads) {
    auto chars = moza::tools::CharactersOf("\xE3\x80\x80\xE2\x96\xA0\xE3\x83\xBB\xE3\x80\x8C");  // 　■・「
    ASSERT_TRUE(chars.ok());
    std::vector<moza::tools::MeasuredChar> measured;
    for (const auto& c : chars.value()) measured.push_back({c, measure(c.codePoint)});
    moza::tools::LevelRule rule;
    rule.scaleRule = moza::tools::ScaleRule::Darkest;
    const auto records = moza::tools::BuildRecords(measured, rule, moza::tools::RecordOrder::Code);
    ASSERT_EQ(records.size(), 4u);

    const std::string text = moza::tools::CharDataText(records);
    auto loaded = moza::glyph::ParseCharData(text, "char.csv", [](const std::string&) {});
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    EXPECT_EQ(loaded.value(), records);
    EXPECT_EQ(records[0].Code, 0x8140);
    EXPECT_EQ(records[0].Pattern, moza::glyph::DarknessPattern{});
}

}  // namespace
