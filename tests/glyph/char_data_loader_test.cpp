// The char.csv reader: reading rules, status lines, the record limit, and each failure's message.
#include "glyph/char_data_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "scratch_folder.h"

namespace moza::glyph {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct Loaded {
    Result<std::vector<CharRecord>> records;
    std::vector<std::string> status;
};

Loaded parse(std::string_view text) {
    std::vector<std::string> status;
    auto records = ParseCharData(text, "char.csv", [&status](const std::string& line) { status.push_back(line); });
    return {std::move(records), std::move(status)};
}

std::string repeatRecords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "0,0,0,0,0," + std::to_string(i % 11) + ",0,0,0,33088\r\n";
    return text;
}

TEST(CharDataLoaderTest, TextsLoadAsTheRecordsTheyHoldWithAStatusLineEach) {
    const std::vector<CharRecord> plain = {CharRecord{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 100}, CharRecord{{9, 8, 7, 6, 5, 4, 3, 2, 1}, 200}};
    const struct {
        std::string text;
        std::vector<CharRecord> records;
    } cases[] = {
        {"1,2,3,4,5,6,7,8,9,100\n9,8,7,6,5,4,3,2,1,200\n", plain},
        {"1,2,3,4,5,6,7,8,9,100\r\n\r\n9,8,7,6,5,4,3,2,1,200", plain},           // CRLF, a blank line, no final break
        {"1,2,3,4,5\n6,7,8,9,100,9,8,7,6,5,4,3,2,1,200\n\n\r\n", plain},         // records across and along lines
        {" 1 , 2,3 ,4,5,6,7,8,9,  100 \n9,8,7,6,5,4,3,2,1,200\n", plain},        // spaces around values
        {"\"1\",2,\"3\",4,5,6,7,8,9,\"+100\"\r9,8,7,6,5,4,3,2,1,200\r", plain},  // quotes, a plus sign, CR line ends
        {"1,,3,\"\",5,6,7,8,9,65\n", {CharRecord{{1, 0, 3, 0, 5, 6, 7, 8, 9}, 65}}},  // empty values are 0
        // A line that ends in a comma ends in an empty value, which starts the next record.
        {"1,2,3,4,5,6,7,8,9,65,\n2,3,4,5,6,7,8,9,66\n", {CharRecord{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 65}, CharRecord{{0, 2, 3, 4, 5, 6, 7, 8, 9}, 66}}},
        {"1,1,1,1,1,1,1,1,1,53\n1,1,1,1,1,1,1,1,1,53\n", {CharRecord{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 53}, CharRecord{{1, 1, 1, 1, 1, 1, 1, 1, 1}, 53}}},
        {"-1,11,32767,-32768,0,0,0,0,0,64764\n", {CharRecord{{-1, 11, 32767, -32768, 0, 0, 0, 0, 0}, 64764}}},
        {"\xEF\xBB\xBF" "1,2,3,4,5,6,7,8,9,65\n", {CharRecord{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 65}}},  // a byte order mark
        {"1,2,3,4,5,6,7,8,9,34\n", {CharRecord{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 34}}},  // the double quote is a character
        {"", {}}, {"\n", {}}, {"\r\n\r\n", {}}, {"   \n", {}},
    };
    for (const auto& c : cases) {
        const Loaded loaded = parse(c.text);
        ASSERT_TRUE(loaded.records.ok()) << c.text << ": " << loaded.records.error().message;
        EXPECT_EQ(loaded.records.value(), c.records) << c.text;
        EXPECT_EQ(loaded.status.size(), c.records.size()) << c.text;
    }
}

TEST(CharDataLoaderTest, TheLargestCountLoadsAndOneMoreFailsAfterItsStatusLine) {
    const Loaded largest = parse(repeatRecords(kMaxCharCount));
    ASSERT_TRUE(largest.records.ok()) << largest.records.error().message;
    EXPECT_EQ(largest.status.back(), "Loading Char Data File... 32766");
    EXPECT_EQ(GlyphTable(largest.records.value()).CharCount(), 32767);
    const Loaded tooMany = parse(repeatRecords(kMaxCharCount + 1));
    ASSERT_FALSE(tooMany.records.ok());
    EXPECT_EQ(tooMany.status.back(), "Loading Char Data File... 32767");
    EXPECT_EQ(tooMany.records.error().message, "char.csv: more than 32767 records (record 32768 ends on line 32769)");
}

TEST(CharDataLoaderTest, MalformedFilesFailSayingWhereInWordsAndNumbers) {
    const struct {
        std::string text;
        std::string message;  // after "char.csv: record "
        ErrorKind kind;
        ErrorNumbers numbers;
        std::string value;
    } cases[] = {
        // Laid out as a table by hand: clang-format would give every value a line of its own.
        // clang-format off
        {"1,2,3,4,5,6,7,8,9,65\n\n1,2, ", "2 (line 3): the record is cut short: it has 3 of its 10 values",
         ErrorKind::TableRecordCutShort, {.record = 2, .line = 3, .count = 3}, ""},
        {"1,2,3,4,x7,6,7,8,9,65\n", "1 (line 1): value 5 \"x7\" is not a whole number", ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 5}, "x7"},
        {"1,2,3,4,5,6,7,8,9,65\n1,2.5,3,4,5,6,7,8,9,65\n", "2 (line 2): value 2 \"2.5\" is not a whole number",
         ErrorKind::TableValueNotNumber, {.record = 2, .line = 2, .value = 2}, "2.5"},
        {"1,2,3,4,5,6,7,8,40000,10\n", "1 (line 1): value 9 \"40000\" does not fit a level (-32768 to 32767)",
         ErrorKind::TableValueOutOfRange, {.record = 1, .line = 1, .value = 9, .lowest = -32768, .highest = 32767}, "40000"},
        {"1,2,3,4,5,6,7,8,9,2147483648\n", "1 (line 1): value 10 \"2147483648\" does not fit a character code (-2147483648 to 2147483647)",
         ErrorKind::TableValueOutOfRange, {.record = 1, .line = 1, .value = 10, .lowest = -2147483648LL, .highest = 2147483647}, "2147483648"},
        {"1,2,3,\"4,5,6,7,8,9,65\n", "1 (line 1): value 4 has a double quote that is never closed",
         ErrorKind::TableQuoteNotClosed, {.record = 1, .line = 1, .value = 4}, ""},
        {"1,2,3,\"4\"x,5,6,7,8,9,65\n", "1 (line 1): value 4 \"\"4\"x\" is not a whole number", ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 4}, "\"4\"x"},
        {"1,2,3,4,5,6,7,8,9,+-1\n", "1 (line 1): value 10 \"+-1\" is not a whole number", ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 10}, "+-1"},
        {"1,2,3 4,5,6,7,8,9,10,11\n", "1 (line 1): value 3 \"3 4\" is not a whole number", ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 3}, "3 4"},
        // A bad value is shown cut to 40 bytes, with bytes that are not printable ASCII escaped.
        {"1,2,3,4,5,6,7,8,9,\x1B[2J" + std::string(100, '7') + "\n",
         "1 (line 1): value 10 \"\\x1B[2J" + std::string(36, '7') + "...\" is not a whole number",
         ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 10}, "\\x1B[2J" + std::string(36, '7') + "..."},
        {"1,2,3,4,5,6,7,8,9,\x1F~2\x7F" + std::string(36, '7') + "\n", "1 (line 1): value 10 \"\\x1F~2\\x7F" + std::string(36, '7') +
         "\" is not a whole number", ErrorKind::TableValueNotNumber, {.record = 1, .line = 1, .value = 10}, "\\x1F~2\\x7F" + std::string(36, '7')},  // 40 bytes: whole
        {"1,2,3,4,5,6,7,8,9,65,11\n", "1 (line 1): the record has too many values: 1 more follow its 10, too few for another record",
         ErrorKind::TableRecordTooLong, {.record = 1, .line = 1, .count = 1}, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string buffer = c.text + " \"";  // bytes after the text are not the text's
        const Loaded loaded = parse(std::string_view(buffer).substr(0, c.text.size()));
        ASSERT_FALSE(loaded.records.ok()) << c.text;
        const Error& error = loaded.records.error();
        EXPECT_EQ(error.message, "char.csv: record " + c.message);
        EXPECT_EQ(error.kind, c.kind) << c.text;
        EXPECT_EQ(error.numbers, c.numbers) << c.text;
        EXPECT_EQ(error.text, c.value) << c.text;
        const bool tooLong = c.kind == ErrorKind::TableRecordTooLong;  // its extra values began a record
        // The failing record's status line came first.
        EXPECT_EQ(loaded.status.size(), static_cast<std::size_t>(*c.numbers.record + tooLong)) << c.text;
    }
}

TEST(CharDataLoaderTest, CodesThatAreNotOneCharacterAreRefusedNamingTheRecord) {
    const std::pair<CharCode, std::string> cases[] = {{10, "is a control character"}, {0, "is a control character"},
        {160, "is no character of code page 932"}, {130, "is a lead byte without its trail byte"}, {-5, "is outside 0 to 65535"},
        {33311, "has a second byte 0x1F that cannot follow the lead byte 0x82"}, {16706, "has a first byte 0x41 that starts no double-byte character"}};
    for (const auto& [code, problem] : cases) {
        const Loaded loaded = parse("1,2,3,4,5,6,7,8,9,65\n1,2,3,4,5,6,7,8,9\n" + std::to_string(code));
        ASSERT_FALSE(loaded.records.ok()) << code;
        EXPECT_EQ(loaded.records.error().message, "char.csv: record 2 (line 3): the character code " + std::to_string(code) + " " + problem + "; a code must be one character of code page 932");
        EXPECT_EQ(loaded.records.error().numbers, (ErrorNumbers{.record = 2, .line = 3, .code = code}));
    }
}

using CharDataFileTest = moza::testing::ScratchFolderTest;

TEST_F(CharDataFileTest, AFileLoadsIntoATableThatMatchesAndAMissingOneIsNamed) {
    const fs::path file = this->file("char.csv", "0,0,0,0,0,0,0,0,0,33088\r\n10,10,10,10,10,10,10,10,10,33185\r\n");
    int lines = 0;
    const Result<GlyphTable> table = LoadCharData(file, [&lines](const std::string&) { ++lines; });
    fs::remove(file);
    ASSERT_TRUE(table.ok()) << table.error().message;
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(table.value().FindGlyph({10, 10, 10, 10, 10, 10, 10, 10, 10}), 33185);

    const Result<GlyphTable> missing = LoadCharData(file, {});
    ASSERT_FALSE(missing.ok());
    EXPECT_THAT(missing.error().message, HasSubstr(file.string() + "': No such file or directory"));
    EXPECT_EQ(missing.error().kind, ErrorKind::FileMissing);
    EXPECT_EQ(missing.error().file, file);
}

#ifndef _WIN32
TEST_F(CharDataFileTest, FilesThatAreNotRegularOrTooLargeAreRefusedBeforeReading) {
    const fs::path fifo = m_folder / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // even opening it would wait for a writer forever
    const fs::path large = m_folder / "large.csv";
    std::ofstream(large).close();
    fs::resize_file(large, kMaxCharDataBytes + 1);
    const std::pair<fs::path, const char*> cases[] = {{fifo, "it is not a regular file"}, {large, "the file is 17 MB, more than the 16 MB"}};
    for (const auto& [file, reason] : cases) {
        const Result<GlyphTable> table = LoadCharData(file, {});
        ASSERT_FALSE(table.ok()) << file;
        EXPECT_THAT(table.error().message, HasSubstr("cannot read '" + file.string() + "'"));
        EXPECT_THAT(table.error().message, HasSubstr(reason));
    }
}
#endif

}  // namespace
}  // namespace moza::glyph
