// Page composition: the exact bytes of small pages, cell colours, glyph codes and progress captions.
#include "convert/page_composer.h"
#include "convert/page_markup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "image_rows.h"
#include "plain_rules.h"

namespace moza::convert {
namespace {

using testing::ImageRows;
using testing::UniformRecord;

using glyph::CharRecord;
using glyph::GlyphTable;

/// The whole table markup of a working image or a row source, in memory.
template <class Picture>
Result<std::string> ComposeTableText(Picture&& picture, const GlyphTable& table, ColorMode mode,
                                     BlockProgress progress = {}, int threads = 0) {
    std::string text;
    const Status status = ComposeTable(
        picture, table, mode, [&text](std::string_view piece) { return text.append(piece), true; }, progress, threads);
    if (!status) return status.error();
    return text;
}

const GlyphTable kTable({UniformRecord(0, 0x8140), UniformRecord(7, 0x82A0)});

TEST(PageComposerTest, AnEmptyGridMakesAnEmptyTable) {
    const Result<std::string> table = ComposeTableText(WorkingImage(), kTable, ColorMode::Web);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.value(), "<table cellspacing=0 cellpadding=0 width=0></table>");
}

/// The table markup composed plainly: every block sampled with the formula and looked up by a
/// scan of the table, cell after cell.
std::string plainTable(const WorkingImage& image, const std::vector<CharRecord>& records, ColorMode mode) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "<table cellspacing=0 cellpadding=0 width=" + std::to_string(image.width() / 3 * 9) + ">";
    for (int r = 0; r < image.height() / 3; ++r) {
        out += "<tr height=9>";
        for (int c = 0; c < image.width() / 3; ++c) {
            glyph::DarknessPattern pattern{};
            int sums[3] = {0, 0, 0};
            for (int i = 0; i < 9; ++i) {
                const ColorValue v = image.pixel(3 * c + i % 3, 3 * r + i / 3);
                const int channels[3] = {int(v & 255), int(v >> 8 & 255), int(v >> 16 & 255)};
                for (int k = 0; k < 3; ++k) sums[k] += channels[k];
                pattern[static_cast<std::size_t>(i)] = testing::PlainLevel(channels[0], channels[1], channels[2]);
            }
            std::string color = "000000";
            for (int k = 0; k < 3 && mode == ColorMode::Web; ++k) {
                color[static_cast<std::size_t>(2 * k)] = kHex[sums[k] / 9 / 16];
                color[static_cast<std::size_t>(2 * k + 1)] = kHex[sums[k] / 9 % 16];
            }
            out += testing::PlainCell(color, testing::PlainFindGlyph(records, pattern));
        }
        out += "</tr>";
    }
    return out + "</table>";
}

struct Counter {
    std::int64_t next = 0;
    std::int64_t last = -1;
    bool inOrder = true;
    static void count(void* context, std::int64_t i, std::int64_t last) {
        auto* self = static_cast<Counter*>(context);
        self->inOrder = self->inOrder && i == self->next && (self->last < 0 || last == self->last);
        self->next = i + 1;
        self->last = last;
    }
};

TEST(PageComposerTest, EveryCellIsThePlainRuleOfItsBlockOnAnyThreads) {
    std::mt19937 random(7);
    for (int round = 0; round < 6; ++round) {
        // Pictures of a few colours in runs, so that equal blocks follow each other (the composer
        // skips their lookup) and patterns still vary; tables of random patterns and codes of
        // every kind, levels 0 to 10 so that lookups go deep.
        const int width = round == 0 ? 3 * 40000 : 3 * static_cast<int>(random() % 90 + 1);  // first, a row over a megabyte
        const int height = round == 0 ? 3 : 3 * static_cast<int>(random() % 60 + 1);
        WorkingImage image = WorkingImage::create(width, height).value();
        const ColorValue palette[] = {0xFFFFFF, 0x000000, 0x0AC805, 0x808080, 0x2050F0, 0xE0E0E0};
        ColorValue colour = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (random() % 4 == 0) colour = palette[random() % 6];
                image.setPixel(x, y, colour);
            }
        std::vector<CharRecord> records(static_cast<std::size_t>(random() % 300 + 1));
        const glyph::CharCode codes[] = {0, '"', '<', 0x41, 0xFF, 0x8140, 0x82A0, 0xFFFF, 0x10000, -1};
        for (CharRecord& record : records) {
            for (glyph::Level& level : record.Pattern) level = static_cast<glyph::Level>(random() % 11);
            record.Code = codes[random() % 10];
        }
        const GlyphTable table(records);
        for (const ColorMode mode : {ColorMode::Web, ColorMode::Mono}) {
            const std::string expected = plainTable(image, records, mode);
            for (const int threads : {1, 3}) {
                Counter counter;
                const Result<std::string> composed = ComposeTableText(image, table, mode, {&Counter::count, &counter}, threads);
                ASSERT_TRUE(composed.ok());
                ASSERT_TRUE(composed.value() == expected) << "round " << round << ", " << threads << " threads";
                EXPECT_TRUE(counter.inOrder);
                EXPECT_EQ(counter.next, width / 3 * (height / 3));
                EXPECT_EQ(counter.last, width / 3 * (height / 3) - 1);  // the caption's "i/last"
            }
        }
    }
}

TEST(PageComposerTest, RowsReadAsADecoderGivesThemMakeTheTableOfTheWholePictureOnAnyThreads) {
    std::mt19937 random(5);
    // Widths and heights of every remainder by 3; the tall one (bands of 4096 block rows) and the
    // wide one (15) end in a band of one block row whose enlargement copies a row of the band before.
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 5}, {4, 3}, {5, 3 * 4096 + 1}, {3001, 3 * 15 * 2 + 1}};
    for (const auto& [width, height] : sizes) {
        std::mt19937 again = random;
        const auto picture = testing::RandomPicture<WorkingImage>(random, width, height);
        auto enlarged = testing::RandomPicture<WorkingImage>(again, width, height);
        enlarged.EnlargeToBlocks();
        const std::string expected = ComposeTableText(enlarged, kTable, ColorMode::Web).value();
        for (const int threads : {1, 2}) {
            ImageRows rows(picture), refused(picture);
            EXPECT_TRUE(ComposeTableText(rows, kTable, ColorMode::Web, {}, threads).value() == expected)
                << width << " x " << height << ", " << threads << " threads";
            int pieces = 0;  // a sink that refuses its third piece is handed nothing more
            auto third = [&pieces](std::string_view) { return ++pieces < 3; };
            EXPECT_FALSE(ComposeTable(refused, kTable, ColorMode::Web, third, {}, threads).ok());
            EXPECT_EQ(pieces, 3);
        }
    }
}

TEST(PageComposerTest, CaptionTexts) {
    struct Case {
        std::int64_t i, last;
        const char* text;
    };
    const Case cases[] = {
        {0, 1155, "Moza - 0/1155 (00.00%)"},   {1155, 1155, "Moza - 1155/1155 (100.00%)"},
        {12, 1155, "Moza - 12/1155 (01.04%)"}, {2, 3, "Moza - 2/3 (66.67%)"},
        {0, 0, "Moza - 0/0 (100.00%)"},        {9999999, 10000000, "Moza - 9999999/10000000 (100.00%)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressCaption(c.i, c.last), c.text);
}

}  // namespace
}  // namespace moza::convert
