// The char.csv reader: reading rules, status lines, the record limit, and each failure's message.
#include "glyph/char_data_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace moza::glyph {
namespace {

using ::testing::ElementsAre;
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

CharRecord record(std::initializer_list<Level> levels, CharCode code) {
    CharRecord r;
    std::copy(levels.begin(), levels.end(), r.Pattern.begin());
    r.Code = code;
    return r;
}

std::string repeatRecords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "0,0,0,0,0,0,0,0,0," + std::to_string(i) + "\r\n";
    return text;
}

TEST(CharDataLoaderTest, ThreeRecordsLoadInFileOrderWithAStatusLineEach) {
    const Loaded loaded = parse("1,2,3,4,5,6,7,8,9,33088\n0,0,0,0,0,0,0,0,0,32\n10,10,10,10,10,10,10,10,10,33185\n");
    ASSERT_TRUE(loaded.records.ok()) << loaded.records.error().message;
    EXPECT_THAT(loaded.records.value(), ElementsAre(record({1, 2, 3, 4, 5, 6, 7, 8, 9}, 33088),
                                                    record({0, 0, 0, 0, 0, 0, 0, 0, 0}, 32),
                                                    record({10, 10, 10, 10, 10, 10, 10, 10, 10}, 33185)));
    EXPECT_THAT(loaded.status, ElementsAre("Loading Char Data File... 0", "Loading Char Data File... 1",
                                           "Loading Char Data File... 2"));
}

TEST(CharDataLoaderTest, ReadingRulesGiveTheSameRecordsAsThePlainLayout) {
    const std::vector<CharRecord> plain = {record({1, 2, 3, 4, 5, 6, 7, 8, 9}, 100), record({9, 8, 7, 6, 5, 4, 3, 2, 1}, 200)};
    const std::string variants[] = {
        "1,2,3,4,5,6,7,8,9,100\n9,8,7,6,5,4,3,2,1,200\n",              // plain, LF
        "1,2,3,4,5,6,7,8,9,100\r\n9,8,7,6,5,4,3,2,1,200\r\n",          // CRLF
        "1,2,3,4,5,6,7,8,9,100\n9,8,7,6,5,4,3,2,1,200",                // no final line break
        "1,2,3,4,5,6,7,8,9,100,9,8,7,6,5,4,3,2,1,200\n",               // two records on one line
        "1,2,3,4,5\n6,7,8,9,100\n9,8,7,6,5,4,3,2,1,200\n",             // one record over two lines
        " 1 , 2,3 ,4,5,6,7,8,9,  100 \n9,8,7,6,5,4,3,2,1,200\n",       // spaces around values
        "\"1\",2,\"3\",4,5,6,7,8,9,\"100\"\n9,8,7,6,5,4,3,2,1,200\n",  // double quotes
        "1,2,3,4,5,6,7,8,9,100\n\n\n9,8,7,6,5,4,3,2,1,200\n\n\r\n",    // blank lines, also after the end
        "1,2,3,4,5,6,7,8,9,+100\r9,8,7,6,5,4,3,2,1,200\r",             // CR line ends, a plus sign
    };
    for (const std::string& text : variants) {
        const Loaded loaded = parse(text);
        ASSERT_TRUE(loaded.records.ok()) << text << ": " << loaded.records.error().message;
        EXPECT_EQ(loaded.records.value(), plain) << text;
        EXPECT_EQ(loaded.status.size(), 2u) << text;
    }
}

TEST(CharDataLoaderTest, TextsLoadAsTheRecordsTheyHold) {
    const struct {
        std::string text;
        std::vector<CharRecord> records;
    } cases[] = {
        {"1,,3,\"\",5,6,7,8,9,\n", {record({1, 0, 3, 0, 5, 6, 7, 8, 9}, 0)}},  // empty values are 0
        // A line that ends in a comma ends in an empty value, which starts the next record.
        {"1,2,3,4,5,6,7,8,9,10,\n2,3,4,5,6,7,8,9,20\n", {record({1, 2, 3, 4, 5, 6, 7, 8, 9}, 10), record({0, 2, 3, 4, 5, 6, 7, 8, 9}, 20)}},
        {"1,1,1,1,1,1,1,1,1,5\n1,1,1,1,1,1,1,1,1,5\n", {record({1, 1, 1, 1, 1, 1, 1, 1, 1}, 5), record({1, 1, 1, 1, 1, 1, 1, 1, 1}, 5)}},
        {"-1,11,32767,-32768,0,0,0,0,0,-5\n", {record({-1, 11, 32767, -32768, 0, 0, 0, 0, 0}, -5)}},
        {"\xEF\xBB\xBF" "1,2,3,4,5,6,7,8,9,10\n", {record({1, 2, 3, 4, 5, 6, 7, 8, 9}, 10)}},  // a byte order mark
        {"", {}}, {"\n", {}}, {"\r\n\r\n", {}}, {"   \n", {}},
    };
    for (const auto& c : cases) {
        const Loaded loaded = parse(c.text);
        ASSERT_TRUE(loaded.records.ok()) << c.text << ": " << loaded.records.error().message;
        EXPECT_EQ(loaded.records.value(), c.records) << c.text;
        EXPECT_EQ(loaded.status.size(), c.records.size()) << c.text;
    }
}

TEST(CharDataLoaderTest, ExactlyTheLargestCountLoads) {
    const Loaded loaded = parse(repeatRecords(kMaxCharCount));
    ASSERT_TRUE(loaded.records.ok()) << loaded.records.error().message;
    EXPECT_EQ(loaded.records.value().size(), static_cast<std::size_t>(kMaxCharCount));
    EXPECT_EQ(loaded.status.back(), "Loading Char Data File... 32766");
    EXPECT_EQ(GlyphTable(std::move(loaded.records).value()).CharCount(), 32767);
}

TEST(CharDataLoaderTest, OneRecordTooManyFailsAfterItsStatusLine) {
    const Loaded loaded = parse(repeatRecords(kMaxCharCount + 1));
    ASSERT_FALSE(loaded.records.ok());
    EXPECT_EQ(loaded.status.back(), "Loading Char Data File... 32767");
    EXPECT_EQ(loaded.records.error().message, "char.csv: more than 32767 records (record 32768 ends on line 32769)");
}

struct BadFile {
    std::string text;
    std::string message;
};

TEST(CharDataLoaderTest, MalformedFilesFailWithMessagesThatSayWhere) {
    const BadFile cases[] = {
        {"1,2,3,4,5,6,7,8,9,10\n1,2,3,4,5,6,7,8,9", "char.csv: record 2 (line 2): the record is cut short: it has 9 of its 10 values"},
        {"1,2,3,4,x7,6,7,8,9,10\n", "char.csv: record 1 (line 1): value 5 \"x7\" is not a whole number"},
        {"1,2,3,4,5,6,7,8,9,10\n1,2.5,3,4,5,6,7,8,9,10\n", "char.csv: record 2 (line 2): value 2 \"2.5\" is not a whole number"},
        {"40000,2,3,4,5,6,7,8,9,10\n", "char.csv: record 1 (line 1): value 1 \"40000\" does not fit a level (-32768 to 32767)"},
        {"1,2,3,4,5,6,7,8,9,2147483648\n", "char.csv: record 1 (line 1): value 10 \"2147483648\" does not fit a character code (-2147483648 to 2147483647)"},
        {"1,2,3,\"4,5,6,7,8,9,10\n", "char.csv: record 1 (line 1): value 4 has a double quote that is never closed"},
        {"1,2,3,\"4\"x,5,6,7,8,9,10\n", "char.csv: record 1 (line 1): value 4 \"\"4\"x\" is not a whole number"},
        {"1,2,3,4,5,6,7,8,9,+-1\n", "char.csv: record 1 (line 1): value 10 \"+-1\" is not a whole number"},
        {"1,2,3 4,5,6,7,8,9,10,11\n", "char.csv: record 1 (line 1): value 3 \"3 4\" is not a whole number"},
        // A bad value is shown cut to 40 bytes, with bytes that are not printable ASCII escaped.
        {"1,2,3,4,5,6,7,8,9,\x1B[2J" + std::string(100, '7') + "\n",
         "char.csv: record 1 (line 1): value 10 \"\\x1B[2J" + std::string(36, '7') + "...\" is not a whole number"},
    };
    for (const BadFile& bad : cases) {
        const Loaded loaded = parse(bad.text);
        ASSERT_FALSE(loaded.records.ok()) << bad.text;
        EXPECT_EQ(loaded.records.error().message, bad.message);
    }
}

TEST(CharDataLoaderTest, MalformedFilesSayWhereInNumbersForFrontEnds) {
    struct Case {
        const char* text;
        ErrorKind kind;
        std::vector<long long> numbers;  // record, line, value ...
        std::string value;
    };
    const Case cases[] = {
        {"1,2,3,4,5,6,7,8,9,10\n\n1,2,3", ErrorKind::TableRecordCutShort, {2, 3, 3}, ""},
        {"1,2,3,\"4,5,6,7,8,9,10\n", ErrorKind::TableQuoteNotClosed, {1, 1, 4}, ""},
        {"1,2,3,4,x7,6,7,8,9,10\n", ErrorKind::TableValueNotNumber, {1, 1, 5}, "x7"},
        {"1,2,3,4,5,6,7,8,9,2147483648\n", ErrorKind::TableValueOutOfRange, {1, 1, 10, -2147483648LL, 2147483647}, "2147483648"},
    };
    for (const Case& c : cases) {
        const Loaded loaded = parse(c.text);
        ASSERT_FALSE(loaded.records.ok()) << c.text;
        EXPECT_EQ(loaded.records.error().kind, c.kind) << c.text;
        EXPECT_EQ(loaded.records.error().numbers, c.numbers) << c.text;
        EXPECT_EQ(loaded.records.error().text, c.value) << c.text;
    }
}

TEST(CharDataLoaderTest, TheStatusLineOfARecordComesBeforeItsFailure) {
    const Loaded loaded = parse("1,2,3,4,5,6,7,8,9,10\n1,2,3");
    ASSERT_FALSE(loaded.records.ok());
    EXPECT_THAT(loaded.status, ElementsAre("Loading Char Data File... 0", "Loading Char Data File... 1"));
}

TEST(CharDataLoaderTest, AMissingFileFailsNamingIt) {
    const std::filesystem::path missing = std::filesystem::temp_directory_path() / "moza-no-such-dir" / "char.csv";
    const Result<GlyphTable> table = LoadCharData(missing, {});
    ASSERT_FALSE(table.ok());
    EXPECT_THAT(table.error().message, HasSubstr(missing.string()));
    EXPECT_THAT(table.error().message, HasSubstr("No such file or directory"));
    EXPECT_EQ(table.error().kind, ErrorKind::FileMissing);
    EXPECT_EQ(table.error().file, missing);
}

#ifndef _WIN32
TEST(CharDataLoaderTest, FilesThatAreNotRegularOrTooLargeAreRefusedBeforeReading) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "moza-loader-test-files";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path fifo = folder / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // reading it would wait for a writer forever
    const fs::path large = folder / "large.csv";
    std::ofstream(large).close();
    fs::resize_file(large, kMaxCharDataBytes + 1);
    const struct {
        fs::path file;
        const char* reason;
    } cases[] = {{"/dev/zero", "it is not a regular file"}, {fifo, "it is not a regular file"}, {large, "17 MB"}};
    for (const auto& c : cases) {
        const Result<GlyphTable> table = LoadCharData(c.file, {});
        ASSERT_FALSE(table.ok()) << c.file;
        EXPECT_THAT(table.error().message, HasSubstr("cannot read '" + c.file.string() + "'"));
        EXPECT_THAT(table.error().message, HasSubstr(c.reason));
    }
    fs::remove_all(folder);
}
#endif

TEST(CharDataLoaderTest, AFileLoadsIntoATableThatMatches) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "moza-loader-test.csv";
    std::ofstream(file, std::ios::binary) << "0,0,0,0,0,0,0,0,0,33088\r\n10,10,10,10,10,10,10,10,10,33185\r\n";
    int lines = 0;
    const Result<GlyphTable> table = LoadCharData(file, [&lines](const std::string&) { ++lines; });
    std::filesystem::remove(file);
    ASSERT_TRUE(table.ok()) << table.error().message;
    EXPECT_EQ(table.value().CharCount(), 2);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(table.value().FindGlyph({10, 10, 10, 10, 10, 10, 10, 10, 10}), 33185);
}

}  // namespace
}  // namespace moza::glyph
