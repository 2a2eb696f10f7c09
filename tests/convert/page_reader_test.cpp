// Page reading: composed pages read back cell for cell; damaged, truncated and foreign bytes refused.
#include "convert/page_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "convert/block_sampler.h"
#include "convert/page_composer.h"
#include "convert/page_markup.h"
#include "scratch_folder.h"
#include "plain_rules.h"

namespace moza::convert {
namespace {

using testing::PlainCell;

using ::testing::HasSubstr;

/// The bytes of a whole page file, as the make command writes them.
std::string pageBytes(const WorkingImage& image, const glyph::GlyphTable& table, ColorMode mode, std::string_view title) {
    std::string bytes = PageFileHead(title);
    const Status composed = ComposeTable(image, table, mode, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    EXPECT_TRUE(composed.ok());
    return bytes.append(kPageFileTail);
}

/// What a cell's code reads back as: the composer writes "?" for codes it cannot write.
std::uint16_t writtenCode(glyph::CharCode code) {
    return code >= 0 && code <= 65535 ? static_cast<std::uint16_t>(code) : static_cast<std::uint16_t>('?');
}


glyph::GlyphTable randomTable(std::mt19937& random) {
    std::vector<glyph::CharRecord> records(1 + random() % 40);
    for (glyph::CharRecord& record : records) {
        for (glyph::Level& level : record.Pattern) level = static_cast<glyph::Level>(random() % 11);
        // Single bytes such as 0, '<' and '"', double bytes (some ending in '<' or '"'), and codes written as "?".
        const glyph::CharCode codes[] = {0,      '"',    '<',    '>',    0x41,   0xFF,    0x100, 0x3C2F,
                                         0x823C, 0x8122, 0x8140, 0x82A0, 0xFFFF, 0x10000, -1};
        record.Code = codes[random() % std::size(codes)];
    }
    return glyph::GlyphTable(std::move(records));
}

WorkingImage randomPicture(std::mt19937& random, int width, int height) {
    auto image = testing::RandomPicture<WorkingImage>(random, width, height);
    image.EnlargeToBlocks();
    return image;
}

TEST(PageReaderTest, ComposedPagesReadBackCellForCell) {
    std::mt19937 random(20261205);
    for (int round = 0; round < 300; ++round) {
        const glyph::GlyphTable table = randomTable(random);
        const WorkingImage image = randomPicture(random, static_cast<int>(random() % 31), static_cast<int>(random() % 31));
        const ColorMode mode = round % 3 == 0 ? ColorMode::Mono : ColorMode::Web;
        const std::string title = round % 5 == 0 ? "" : "t\x93\xFA\x96\x7B \"x\" </b> </Xitle </titlf " + std::to_string(round);
        const Result<PageGrid> read = ReadPage(pageBytes(image, table, mode, title), "page.html");
        ASSERT_TRUE(read.ok()) << "round " << round << ": " << read.error().message;
        const PageGrid& grid = read.value();
        ASSERT_EQ(grid.columns, image.blockColumns());
        ASSERT_EQ(grid.rows, image.blockRows());
        ASSERT_EQ(grid.cellCount(), static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows));
        EXPECT_EQ(grid.title, title);
        for (int r = 0; r < grid.rows; ++r) {
            for (int c = 0; c < grid.columns; ++c) {
                const BlockSample sample = SampleBlock(image, r, c);
                const std::uint32_t color = mode == ColorMode::Mono ? 0u
                    : static_cast<std::uint32_t>(sample.red << 16 | sample.green << 8 | sample.blue);
                ASSERT_EQ(grid.colors[grid.indexOf(r, c)], color) << "round " << round << " cell " << r << "," << c;
                ASSERT_EQ(grid.codes[grid.indexOf(r, c)], writtenCode(table.FindGlyph(sample.pattern)))
                    << "round " << round << " cell " << r << "," << c;
            }
        }
    }
}

/// Two rows of two cells: "<" in red, あ in black, '"' in white, "?" in 0AC805.
const std::string kTable = "<table cellspacing=0 cellpadding=0 width=18><tr height=9>" + PlainCell("FF0000", "<") +
                           PlainCell("000000", "\x82\xA0") + "</tr><tr height=9>" + PlainCell("FFFFFF", "\"") + PlainCell("0AC805", "?") +
                           "</tr></table>";
const std::string kPage = PageFileHead("cat") + kTable + std::string(kPageFileTail);

TEST(PageReaderTest, EachCellIsTheOneOrTwoBytesBetweenItsMarkup) {
    const std::string odd = "<table cellspacing=0 cellpadding=0 width=27><tr height=9>" + PlainCell("000000", std::string(1, '\0')) +
                            PlainCell("000000", "<<") + PlainCell("000000", "</") + "</tr></table>";
    std::string row;  // one row of the shortest cells: the fewest bytes a table of its width can take
    for (int i = 0; i < 100; ++i) row += PlainCell("000000", "a");
    const std::pair<std::string, std::vector<std::uint16_t>> cases[] = {
        {PageFileHead("") + odd + std::string(kPageFileTail), {0, 0x3C3C, 0x3C2F}},  // look like markup, are characters
        {PageFileHead("") + "<table cellspacing=0 cellpadding=0 width=900><tr height=9>" + row + "</tr></table>" + std::string(kPageFileTail),
         std::vector<std::uint16_t>(100, 'a')},
        {PageFileHead(std::string(65536, 't')) + kTable + std::string(kPageFileTail), {'<', 0x82A0, '"', '?'}},  // the longest title
    };
    for (const auto& [page, codes] : cases) {
        EXPECT_TRUE(IsPageFileStart(page));
        const Result<PageGrid> read = ReadPage(page, "p");
        ASSERT_TRUE(read.ok()) << read.error().message;
        EXPECT_EQ(read.value().codes, codes);
    }
}

TEST(PageReaderTest, EveryTruncationIsRefusedAsEndingEarly) {
    for (std::size_t length = 0; length < kPage.size(); ++length) {
        const Result<PageGrid> read = ReadPage(std::string_view(kPage).substr(0, length), "p.html");
        ASSERT_FALSE(read.ok()) << "length " << length;
        if (length >= kPageFileMark.size()) {
            EXPECT_THAT(read.error().message, HasSubstr("p.html: byte")) << length;
            EXPECT_THAT(read.error().message, HasSubstr("the page ends early")) << length;
        }
    }
}

struct DamageCase {
    const char* what;
    std::string bytes;
    std::string message;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

class PageReaderDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(PageReaderDamageTest, IsRefusedWithTheReasonAndWhere) {
    const Result<PageGrid> read = ReadPage(GetParam().bytes, "x.html");
    ASSERT_FALSE(read.ok()) << GetParam().what;
    EXPECT_THAT(read.error().message, HasSubstr("x.html: byte"));
    EXPECT_THAT(read.error().message, HasSubstr(GetParam().message)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageReaderDamageTest,
    ::testing::Values(
        DamageCase{"start page", "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Moza</title>", "does not begin as a page"},
        DamageCase{"lowercase colour", replaced(kPage, "FF0000", "ff0000"), "(row 1, cell 1): the colour"},
        DamageCase{"a colour digit past F", replaced(kPage, "0AC805", "0AC80G"), "(row 2, cell 2): the colour"},
        DamageCase{"a colour digit past 9", replaced(kPage, "0AC805", "0AC80:"), "(row 2, cell 2): the colour"},
        DamageCase{"no '>' after the colour", replaced(kPage, "0AC805>", "0AC805)"), "(row 2, cell 2): expected \">\" after the colour"},
        DamageCase{"three character bytes", replaced(kPage, ">?<", ">\?\?\?<"), "(row 2, cell 2): expected one or two"},
        DamageCase{"three character bytes at the end", kPage.substr(0, kPage.rfind(">?<") + 1) + "?\?\?</font></td",
                   "(row 2, cell 2): expected one or two"},  // as long as a whole cell end: not cut short
        DamageCase{"a cell short", replaced(kPage, PlainCell("FFFFFF", "\""), ""), "(row 2, cell 2): expected a cell"},
        DamageCase{"a cell over", replaced(kPage, "</tr>", PlainCell("FFFFFF", "x") + "</tr>"),
                   "(row 1): expected the end of the row"},
        DamageCase{"width not whole columns", replaced(kPage, "width=18>", "width=19>"), "is not 9 pixels per column"},
        DamageCase{"width with a sign", replaced(kPage, "width=18>", "width=+18>"), "not a plain whole number"},
        DamageCase{"width with a leading zero", replaced(kPage, "width=18>", "width=09>"), "not a plain whole number"},
        DamageCase{"width past the file", replaced(kPage, "width=18>", "width=99999999999>"), "the table is wider than any picture"},
        DamageCase{"width of 12 digits", replaced(kPage, "width=18>", "width=999999999999>"), "expected \">\" after the table width"},
        DamageCase{"width past the rows", replaced(kPage, "width=18>", "width=19327352823>"), "wider than the rest"},  // INT_MAX columns
        DamageCase{"lead byte zero", replaced(kPage, "\x82\xA0", std::string("\0\xA0", 2)), "cannot begin with the byte 0"},
        DamageCase{"no closing quote", kPage.substr(0, kPage.size() - 3) + "\r\n", "expected the end of the page"},
        DamageCase{"bytes after the end", kPage + "x", "byte " + std::to_string(kPage.size()) + ": bytes follow the end"},
        DamageCase{"a row in other markup", replaced(kPage, "<tr height=9>", "<tr height=10>"), "expected a row"},
        DamageCase{"title that ends itself", replaced(kPage, "cat", "a</TITLE>b"), "the title holds"},
        DamageCase{"title that ends in an end tag", replaced(kPage, "cat", "a</title"), "the title holds"},
        DamageCase{"64 KiB of title without its end", std::string(kPageFileMark) + std::string(65536, 't'),
                   "byte 20: expected the end of the title"}));  // too long for a title of ours: not cut short

using PageReaderFileTest = moza::testing::ScratchFolderTest;

TEST_F(PageReaderFileTest, AFileLargerThanTheReadWindowReadsAsItsBytesDo) {
    // About a megabyte of cells of one and two bytes, so cells straddle every window boundary.
    std::mt19937 random(7);
    const glyph::GlyphTable table = randomTable(random);
    const std::string bytes = pageBytes(randomPicture(random, 420, 300), table, ColorMode::Web, "big");
    ASSERT_GT(bytes.size(), 800000u);
    const Result<PageGrid> fromFile = ReadPageFile(file("big.html", bytes));
    const Result<PageGrid> fromBytes = ReadPage(bytes, "big.html");
    ASSERT_TRUE(fromFile.ok()) << fromFile.error().message;
    ASSERT_TRUE(fromBytes.ok());
    EXPECT_EQ(fromFile.value().codes, fromBytes.value().codes);
    EXPECT_EQ(fromFile.value().colors, fromBytes.value().colors);

    std::string damaged = bytes;
    const std::size_t at = damaged.find(markup::kCellStart, 700000);
    damaged[at + 1] = 'x';
    const Result<PageGrid> refused = ReadPageFile(file("damaged.html", damaged));
    ASSERT_FALSE(refused.ok());
    EXPECT_THAT(refused.error().message, HasSubstr("byte " + std::to_string(at) + " (row "));
    const Result<PageGrid> truncated = ReadPageFile(file("truncated.html", bytes.substr(0, 600001)));
    ASSERT_FALSE(truncated.ok());
    EXPECT_THAT(truncated.error().message, HasSubstr("ends early"));

    // A page one byte longer than the read window: the last read brings exactly the one byte still wanted.
    const WorkingImage small = randomPicture(random, 180, 180);
    const std::size_t titleBytes = (1u << 18) + 1 - pageBytes(small, table, ColorMode::Web, "").size();
    const Result<PageGrid> fromEdge = ReadPageFile(file("edge.html", pageBytes(small, table, ColorMode::Web, std::string(titleBytes, 't'))));
    EXPECT_TRUE(fromEdge.ok()) << fromEdge.error().message;
}

TEST_F(PageReaderFileTest, AFileThatCannotBeReadOrIsTooLargeIsNamedWithTheReason) {
    EXPECT_THAT(ReadPageFile(m_folder / "missing.html").error().message,
                HasSubstr("cannot read '" + (m_folder / "missing.html").string() + "': "));
    for (const std::uintmax_t size : {4294967296u, 4294967297u}) {  // 4 GiB, the most a page file may be, and a byte more
        std::filesystem::resize_file(file("large.html", ""), size);  // sparse: nothing is written, and a refused file is not read
        EXPECT_EQ(ReadPageFile(m_folder / "large.html").error().message.ends_with("' is too large to be read as a page"), size > 4294967296u);
    }
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)  // the sanitizers' own checks need descriptors
    // Every descriptor taken: the file is there, but opening it fails.
    const std::filesystem::path page = file("page.html", kPage);
    rlimit limits{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limits), 0);
    const int lowestFree = dup(0);
    close(lowestFree);
    const rlimit lowered{static_cast<rlim_t>(lowestFree), limits.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const Result<PageGrid> unopened = ReadPageFile(page);
    setrlimit(RLIMIT_NOFILE, &limits);
    ASSERT_FALSE(unopened.ok());
    EXPECT_EQ(unopened.error().message, "cannot read '" + page.string() + "': " + std::generic_category().message(EMFILE));
#endif
}

}  // namespace
}  // namespace moza::convert
