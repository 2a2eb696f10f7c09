// Page composition: the exact bytes of small pages, cell colours, glyph codes and progress captions.
#include "convert/page_composer.h"
#include "convert/page_markup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace moza::convert {
namespace {

using glyph::CharRecord;
using glyph::GlyphTable;

ColorValue rgb(int r, int g, int b) { return static_cast<ColorValue>(b << 16 | g << 8 | r); }

CharRecord uniform(glyph::Level level, glyph::CharCode code) {
    CharRecord r;
    r.Pattern.fill(level);
    r.Code = code;
    return r;
}

/// 6 x 3: a white block, then a block of (10, 200, 5) (level 7 everywhere).
WorkingImage whiteAndGreen() {
    WorkingImage image = WorkingImage::create(6, 3).value();
    for (int y = 0; y < 3; ++y)
        for (int x = 3; x < 6; ++x) image.setPixel(x, y, rgb(10, 200, 5));
    return image;
}

/// The whole table markup in memory.
Result<std::string> ComposeTableText(const WorkingImage& image, const GlyphTable& table, ColorMode mode,
                                     BlockProgress progress = {}, int threads = 0) {
    std::string text;
    const Status status = ComposeTable(
        image, table, mode,
        [&text](std::string_view piece) {
            text.append(piece);
            return true;
        },
        progress, threads);
    if (!status) return status.error();
    return text;
}

const GlyphTable kTable({uniform(0, 0x8140), uniform(7, 0x82A0)});

std::string cell(const std::string& color, const std::string& glyph) {
    return "<td width=9><font style=font-size:8pt;color:#" + color + ">" + glyph + "</font></td>";
}

struct Captions {
    std::vector<std::string> texts;
    static void record(void* context, std::int64_t i, std::int64_t last) {
        static_cast<Captions*>(context)->texts.push_back(ProgressCaption(i, last));
    }
};

TEST(PageComposerTest, ASixByThreePictureInColour) {
    const Result<std::string> table = ComposeTableText(whiteAndGreen(), kTable, ColorMode::Web);
    ASSERT_TRUE(table.ok()) << table.error().message;
    EXPECT_EQ(table.value(), "<table cellspacing=0 cellpadding=0 width=18><tr height=9>" + cell("FFFFFF", "\x81\x40") +
                                 cell("0AC805", "\x82\xA0") + "</tr></table>");
    EXPECT_EQ(PageFileHead("cat") + table.value() + std::string(kPageFileTail),
              "\"<html><head><title>cat</title></head><body text=#000000>" + table.value() + "</body></html>\"\r\n");
}

TEST(PageComposerTest, MonochromeCellsAreAllBlack) {
    const Result<std::string> table = ComposeTableText(whiteAndGreen(), kTable, ColorMode::Mono);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value(), "<table cellspacing=0 cellpadding=0 width=18><tr height=9>" + cell("000000", "\x81\x40") +
                                 cell("000000", "\x82\xA0") + "</tr></table>");
}

TEST(PageComposerTest, RowsFollowBlockRowsAndNoLineBreakAppears) {
    WorkingImage image = WorkingImage::create(9, 6).value();
    image.setPixel(8, 5, rgb(0, 0, 0));
    const Result<std::string> table = ComposeTableText(image, kTable, ColorMode::Web);
    ASSERT_TRUE(table.ok());
    const std::string& text = table.value();
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_THAT(text, ::testing::StartsWith("<table cellspacing=0 cellpadding=0 width=27><tr height=9>"));
    // Two rows of three cells; the last block has one black pixel: (8 x 255) / 9 = 226 = E2.
    std::size_t rows = 0;
    for (std::size_t at = text.find("<tr height=9>"); at != std::string::npos; at = text.find("<tr height=9>", at + 1)) ++rows;
    EXPECT_EQ(rows, 2u);
    EXPECT_THAT(text, ::testing::EndsWith(cell("E2E2E2", "\x81\x40") + "</tr></table>"));
}

TEST(PageComposerTest, AnEmptyGridMakesAnEmptyTable) {
    const Result<std::string> table = ComposeTableText(WorkingImage(), kTable, ColorMode::Web);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value(), "<table cellspacing=0 cellpadding=0 width=0></table>");
    EXPECT_EQ(PageFileHead(""), "\"<html><head><title></title></head><body text=#000000>");
}

TEST(PageComposerTest, CodesBecomeOneByteTwoBytesOrAQuestionMark) {
    struct Case {
        glyph::CharCode code;
        std::string bytes;
    };
    const Case cases[] = {{0x41, "A"},           {0, std::string(1, '\0')}, {255, "\xFF"},  {256, std::string("\x01\x00", 2)},
                          {0x82A0, "\x82\xA0"}, {65535, "\xFF\xFF"},       {65536, "?"},   {-1, "?"},
                          {'"', "\""},          {'<', "<"}};
    WorkingImage image = WorkingImage::create(3, 3).value();
    for (const Case& c : cases) {
        const Result<std::string> table = ComposeTableText(image, GlyphTable({uniform(0, c.code)}), ColorMode::Mono);
        ASSERT_TRUE(table.ok());
        EXPECT_EQ(table.value(), "<table cellspacing=0 cellpadding=0 width=9><tr height=9>" + cell("000000", c.bytes) +
                                     "</tr></table>")
            << c.code;
    }
}

TEST(PageComposerTest, AnEmptyGlyphTableIsRefused) {
    const Result<std::string> table = ComposeTableText(whiteAndGreen(), GlyphTable(), ColorMode::Web);
    ASSERT_FALSE(table.ok());
    EXPECT_THAT(table.error().message, ::testing::HasSubstr("character table holds no characters"));
}

TEST(PageComposerTest, ProgressIsReportedForEveryBlockInOrder) {
    Captions captions;
    WorkingImage image = WorkingImage::create(9, 6).value();
    ASSERT_TRUE(ComposeTableText(image, kTable, ColorMode::Web, {&Captions::record, &captions}).ok());
    EXPECT_THAT(captions.texts, ::testing::ElementsAre("Moza - 0/5 (00.00%)", "Moza - 1/5 (20.00%)", "Moza - 2/5 (40.00%)",
                                                       "Moza - 3/5 (60.00%)", "Moza - 4/5 (80.00%)",
                                                       "Moza - 5/5 (100.00%)"));
}

struct Counter {
    std::int64_t next = 0;
    bool inOrder = true;
    static void count(void* context, std::int64_t i, std::int64_t last) {
        auto* self = static_cast<Counter*>(context);
        self->inOrder = self->inOrder && i == self->next && last == 599 * 134 - 1;
        self->next = i + 1;
    }
};

TEST(PageComposerTest, ThreadsComposeTheSameBytesAndReportEveryBlockInOrder) {
    // Big enough for many bands; random pixels so neighbouring cells differ.
    WorkingImage image = WorkingImage::create(401, 1797).value();
    std::uint32_t seed = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
    image.EnlargeToBlocks();
    const GlyphTable table({uniform(0, 0x8140), uniform(7, 0x82A0), {{3, 5, 7, 9, 1, 2, 4, 6, 8}, 'x'}});
    const std::string single = ComposeTableText(image, table, ColorMode::Web, {}, 1).value();
    for (int threads : {2, 3, 8}) {
        Counter counter;
        const Result<std::string> parallel = ComposeTableText(image, table, ColorMode::Web, {&Counter::count, &counter}, threads);
        ASSERT_TRUE(parallel.ok());
        EXPECT_TRUE(parallel.value() == single) << threads << " threads";
        EXPECT_TRUE(counter.inOrder) << threads << " threads";
        EXPECT_EQ(counter.next, 599 * 134) << threads << " threads";
    }
}

TEST(PageComposerTest, ASinkThatRefusesStopsComposing) {
    WorkingImage image = WorkingImage::create(3000, 900).value();
    int pieces = 0;
    const Status status = ComposeTable(image, kTable, ColorMode::Web, [&pieces](std::string_view) { return ++pieces < 3; }, {}, 2);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(pieces, 3);
}

TEST(PageComposerTest, CaptionTexts) {
    struct Case {
        std::int64_t i, last;
        const char* text;
    };
    const Case cases[] = {
        {0, 1, "Moza - 0/1 (00.00%)"},           {1, 1, "Moza - 1/1 (100.00%)"},
        {0, 1155, "Moza - 0/1155 (00.00%)"},     {1155, 1155, "Moza - 1155/1155 (100.00%)"},
        {12, 1155, "Moza - 12/1155 (01.04%)"},   {1, 3, "Moza - 1/3 (33.33%)"},
        {2, 3, "Moza - 2/3 (66.67%)"},           {0, 0, "Moza - 0/0 (100.00%)"},
        {9999999, 10000000, "Moza - 9999999/10000000 (100.00%)"},
        {1, 10000000, "Moza - 1/10000000 (00.00%)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressCaption(c.i, c.last), c.text);
}

}  // namespace
}  // namespace moza::convert
