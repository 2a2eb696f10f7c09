// The table's binary form: it gives back exactly the table parsed from the text, and any file
// that is missing, stale, cut short or damaged is set aside for the text, which loads as before.
#include "glyph/table_image.h"

#include <gtest/gtest.h>

#include <random>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace moza::glyph {
namespace {

namespace fs = std::filesystem;

struct Loaded {
    Result<GlyphTable> table;
    std::vector<std::string> status;
};

template <typename Load>
Loaded load(const Load& loader, const fs::path& file) {
    std::vector<std::string> status;
    Result<GlyphTable> table = loader(file, [&status](const std::string& line) { status.push_back(line); });
    return {std::move(table), std::move(status)};
}

/// Fails unless `table` answers as GlyphTable(records) does: the records' own patterns (which
/// reach every node of the index) and random ones, levels -1 to 16.
void expectSameTable(const GlyphTable& table, const std::vector<CharRecord>& records, const std::string& what) {
    ASSERT_EQ(table.CharTable(), records) << what;
    const GlyphTable built(records);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(-1, 16);
    int wrong = 0;
    for (std::size_t i = 0; i < records.size() + 20000; ++i) {
        DarknessPattern pattern{};
        if (i < records.size()) pattern = records[i].Pattern;
        for (std::size_t p = 0; i >= records.size() && p < 9; ++p) pattern[p] = static_cast<Level>(level(random));
        if (!records.empty() && table.FindGlyph(pattern) != built.FindGlyph(pattern)) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << what;
}

/// A table of 300 random records with some levels outside 0 to 10 (kept off the index's bit masks).
std::string oddTable() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> level(-2, 12);
    std::string text;
    for (int r = 0; r < 300; ++r) {
        for (int p = 0; p < 9; ++p) text += std::to_string(p < 4 ? level(random) % 3 : level(random)) + ",";
        text += std::to_string(33088 + r % 60) + "\r\n";
    }
    return text;
}

class TableImageTest : public moza::testing::ScratchFolderTest {};

TEST_F(TableImageTest, TheBinaryFormGivesBackTheParsedTableAndItsStatusLines) {
    for (const std::string& text :
         {ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv").value(), oddTable(), std::string()}) {
        const fs::path csv = file("char.csv", text);
        const Status written = WriteTableImage(csv, m_folder / "char.bin");
        ASSERT_TRUE(written.ok()) << written.error().message;
        const std::optional<GlyphTable> image = ReadTableImage(m_folder / "char.bin", csv);
        const Loaded parsed = load(LoadCharData, csv);
        ASSERT_TRUE(image.has_value() && parsed.table.ok()) << text.size();
        expectSameTable(*image, parsed.table.value().CharTable(), "records " + std::to_string(text.size()));
        EXPECT_EQ(load(LoadShippedCharData, csv).status, parsed.status);
    }
}

TEST_F(TableImageTest, AMissingStaleCutOrDamagedBinaryFormLoadsTheTextInstead) {
    const std::string text = oddTable();
    const struct {
        const char* what;
        std::string textAfter;  // the text as the program finds it
        std::ptrdiff_t cutAt;   // bytes kept of the binary form, from its end when negative; 0 keeps all
        std::ptrdiff_t flipAt;  // a byte of the binary form turned over; -1 removes the file
    } cases[] = {
        {"the text changed, same size", "9" + text.substr(1), 0, 0},
        {"the text grew", text + "1,1,1,1,1,1,1,1,1,65\r\n", 0, 0},
        {"the text is now bad", text + "1,2,x,4,5,6,7,8,9,65\n", 0, 0},
        {"the binary form is cut short", text, -1, 0},
        {"no binary form", text, 0, -1},
        {"another version", text, 0, 8},
        {"a record damaged", text, 0, 60},
        {"the index damaged", text, 0, 56 + 300 * 24 + 4},  // the root's code
    };
    for (const auto& c : cases) {
        const fs::path csv = file("char.csv", text);
        const Status written = WriteTableImage(csv, m_folder / "char.bin");
        ASSERT_TRUE(written.ok()) << written.error().message;
        std::string image = ReadWholeFile(m_folder / "char.bin").value();
        const auto at = [&image](std::ptrdiff_t offset) {
            return static_cast<std::size_t>(offset < 0 ? static_cast<std::ptrdiff_t>(image.size()) + offset : offset);
        };
        if (c.cutAt != 0) image.resize(at(c.cutAt));
        if (c.flipAt > 0) image[at(c.flipAt)] = static_cast<char>(~image[at(c.flipAt)]);
        file("char.bin", image);
        if (c.flipAt < 0) fs::remove(m_folder / "char.bin");
        file("char.csv", c.textAfter);
        EXPECT_FALSE(ReadTableImage(m_folder / "char.bin", csv).has_value()) << c.what;
        const Loaded shipped = load(LoadShippedCharData, csv);
        const Loaded parsed = load(LoadCharData, csv);
        EXPECT_EQ(shipped.status, parsed.status) << c.what;
        ASSERT_EQ(shipped.table.ok(), parsed.table.ok()) << c.what;
        if (parsed.table.ok()) {
            expectSameTable(shipped.table.value(), parsed.table.value().CharTable(), c.what);
        } else {
            EXPECT_EQ(shipped.table.error().message, parsed.table.error().message) << c.what;
        }
    }
}

TEST(TableImageIndexTest, AnIndexWhoseLinksLeadOutsideItIsRefused) {
    const GlyphTable table({{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 65}, {{1, 2, 1, 1, 1, 1, 1, 1, 1}, 66}});
    ASSERT_TRUE(GlyphTable::withIndex(table.CharTable(), table.nodes(), table.otherEdges()).has_value());
    const auto count = static_cast<std::uint32_t>(table.nodes().size());
    for (const std::uint32_t children : {count << 11 | 1u, (count - 1) << 11 | 3u, 1u}) {
        std::vector<GlyphTable::Node> nodes = table.nodes();
        nodes.back().children = children;  // a leaf given children past the end, or above itself
        EXPECT_FALSE(GlyphTable::withIndex(table.CharTable(), nodes, table.otherEdges()).has_value()) << children;
    }
    EXPECT_FALSE(GlyphTable::withIndex(table.CharTable(), {}, {}).has_value());
    EXPECT_FALSE(GlyphTable::withIndex(table.CharTable(), table.nodes(), {{0, 12, 99}}).has_value());
}

}  // namespace
}  // namespace moza::glyph
