// MakePage: the order of its steps, the exact bytes of a page whose picture is not whole blocks,
// each target, and failures that leave no file behind.
#include "convert/make_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>

#include "common/file_text.h"
#include "convert/page_markup.h"
#include "image_rows.h"
#include "plain_rules.h"
#include "scratch_folder.h"

namespace moza::convert {
namespace {

using testing::PlainCell;
using testing::UniformRecord;

namespace fs = std::filesystem;
using ::testing::HasSubstr;

ColorValue rgb(int r, int g, int b) { return static_cast<ColorValue>(b << 16 | g << 8 | r); }

/// Level 0 is a full-width space, level 10 "■"; anything else falls back to the space.
const glyph::GlyphTable kTable({UniformRecord(0, 0x8140), UniformRecord(10, 0x81A1)});

/// 7 x 4: white, with black pixels at (6, 0) and (0, 3), so the enlargement copies them into the
/// new column 7 and 8 and the new rows 4 and 5.
WorkingImage sevenByFour() {
    WorkingImage image = WorkingImage::create(7, 4).value();
    image.setPixel(6, 0, rgb(0, 0, 0));
    image.setPixel(0, 3, rgb(0, 0, 0));
    return image;
}

using MakePageTest = moza::testing::ScratchFolderTest;

TEST_F(MakePageTest, APictureOfSevenByFourBecomesTwoRowsOfThreeCells) {
    WorkingImage image = sevenByFour();
    const fs::path page = m_folder / "page.html";
    std::string table;  // the copy the program shows is the table of the page
    PageOptions options;
    options.tableCopy = [&table](std::string_view piece) { table.append(piece); return true; };
    const Result<fs::path> made = MakePage(image, kTable, "edges", {PageTarget::Kind::File, page, {}}, options);
    ASSERT_TRUE(made.ok()) << made.error().message;
    EXPECT_EQ(made.value(), page);
    EXPECT_EQ(image.width(), 9);
    EXPECT_EQ(image.height(), 6);
    // Columns 7 and 8 copy columns 5 and 6, rows 4 and 5 copy rows 2 and 3. So block (0, 2) has
    // black top corners (levels 10 at positions 0 and 2) and block (1, 0) black left corners
    // (positions 0 and 6): both agree with "■" at the top-left first, and 7 x 255 / 9 = 198 = C6.
    const std::string space = "\x81\x40";
    const std::string square = "\x81\xA1";
    const std::string expected =
        "\"<html><head><title>edges</title></head><body text=#000000><table cellspacing=0 cellpadding=0 width=27>"
        "<tr height=9>" + PlainCell("FFFFFF", space) + PlainCell("FFFFFF", space) + PlainCell("C6C6C6", square) + "</tr>"
        "<tr height=9>" + PlainCell("C6C6C6", square) + PlainCell("FFFFFF", space) + PlainCell("FFFFFF", space) + "</tr>"
        "</table></body></html>\"\r\n";
    EXPECT_EQ(ReadWholeFile(page).value(), expected);
    EXPECT_EQ(PageFileHead("edges") + table + std::string(kPageFileTail), expected);
}

TEST_F(MakePageTest, RefusedTitlesStopBeforeTheImageIsTouched) {
    struct Case {
        const char* title;
        PageTarget::Kind kind;
        const char* reason;
    };
    const Case cases[] = {
        {"a\nb", PageTarget::Kind::File, "line break"},
        {"a/b", PageTarget::Kind::TempFolder, "'/' (U+002F)"},
        {"café", PageTarget::Kind::File, "the title cannot be used: the character 'é' (U+00E9)"},
    };
    for (const Case& c : cases) {
        WorkingImage image = sevenByFour();
        const Result<fs::path> made = MakePage(image, kTable, c.title, {c.kind, m_folder / "x.html", {}});
        ASSERT_FALSE(made.ok()) << c.title;
        EXPECT_THAT(made.error().message, HasSubstr(c.reason));
        EXPECT_EQ(image.width(), 7) << c.title;
    }
    WorkingImage image = sevenByFour();
    EXPECT_TRUE(MakePage(image, kTable, "a/b", {PageTarget::Kind::File, m_folder / "x.html", {}}).ok())
        << "a file named by the user may have any title";
    EXPECT_EQ(files(), std::vector<std::string>{"x.html"});
}

TEST_F(MakePageTest, FailuresLeaveNoFileBehind) {
    std::atomic<bool> cancel{true};
    PageOptions cancelled;
    cancelled.cancel = &cancel;
    PageOptions refusedClaim;
    refusedClaim.claim = [](const fs::path&) -> Status { return Error{"taken"}; };
    PageOptions noMemory;  // memory running out while the table is composed: alone, and beside workers
    noMemory.tableCopy = [](std::string_view) -> bool { throw std::bad_alloc(); };
    const PageOptions noMemoryBeside{ColorMode::Web, 2, {}, {}, noMemory.tableCopy, nullptr};
    struct Case {
        const glyph::GlyphTable* table;
        PageOptions options;
        const char* reason;
    };
    const glyph::GlyphTable empty;
    const Case cases[] = {
        {&empty, {}, "character table"},
        {&kTable, cancelled, "cancelled"},
        {&kTable, refusedClaim, "taken"},
        {&kTable, noMemory, "not enough memory to make the page of a picture of 9 x 15000 pixels"},
        {&kTable, noMemoryBeside, "not enough memory to make the page of a picture of 9 x 15000 pixels"},
    };
    for (const Case& c : cases) {
        WorkingImage image = WorkingImage::create(9, 15000).value();  // bands enough for two threads
        const Result<fs::path> made = MakePage(image, *c.table, "t", {PageTarget::Kind::File, m_folder / "x.html", {}}, c.options);
        ASSERT_FALSE(made.ok()) << c.reason;
        EXPECT_THAT(made.error().message, HasSubstr(c.reason));
        EXPECT_TRUE(files().empty()) << c.reason;
    }
    // A picture found damaged as its page is being written, with a page of that name before it.
    const WorkingImage picture = WorkingImage::create(9, 15000).value();
    testing::ImageRows damaged(picture, 14000);
    const fs::path page = file("x.html", "kept");
    const Result<fs::path> made = MakePage(damaged, kTable, "t", {PageTarget::Kind::File, page, {}}, {});
    EXPECT_EQ(made.ok() ? "made" : made.error().message, "damaged at row 14000");
    EXPECT_EQ(ReadWholeFile(page).value(), "kept");
    EXPECT_EQ(files().size(), 1u);
}

}  // namespace
}  // namespace moza::convert
