// Code page 932 text: titles in, markup out, and characters that cannot be written.
#include "convert/cp932.h"
#include "convert/cp932_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace moza::convert {
namespace {

TEST(Cp932Test, TextThatCannotBeConvertedIsRefusedSayingWhy) {
    EXPECT_EQ(Utf8ToCp932("café").error().message, "the character 'é' (U+00E9) cannot be written in code page 932");
    EXPECT_EQ(Utf8ToCp932("猫😀").error().message, "the character '😀' (U+1F600) cannot be written in code page 932");
    const Error notUtf8 = Utf8ToCp932("ab\xFF").error();
    EXPECT_EQ(notUtf8.message, "the text is not valid UTF-8 (byte 3)");
    EXPECT_EQ(notUtf8.numbers, ErrorNumbers{.byte = 3});
    EXPECT_EQ(Cp932ToUtf8("a\x82").error().message, "the text is not valid code page 932 (byte 2)");
#ifndef _WIN32  // Windows' conversion does not say where
    EXPECT_EQ(Cp932ToUtf8("ab\x85\x40").error().message, "the text is not valid code page 932 (byte 3)");  // unassigned
#endif
}

TEST(Cp932Test, ACharacterWrittenOneWayOnlyIsRefusedWithItsLookAlike) {
    const Result<std::string> yen = Utf8ToCp932("¥100");
    ASSERT_FALSE(yen.ok());
    EXPECT_EQ(yen.error().message,
              "the character '¥' (U+00A5) cannot be written in code page 932; use '￥' (U+FFE5) instead");
    EXPECT_EQ(Utf8ToCp932("￥100").value(), "\x81\x8F" "100");
    EXPECT_EQ(Utf8ToCp932("\xC2\x80").error().message,  // which only Windows writes; no look-alike
              "the character '\xC2\x80' (U+0080) cannot be written in code page 932");
#ifndef _WIN32
    // Each look-alike offered is the character that the bytes glibc writes read back as, but for
    // '¥' and '‾', which glibc writes as the ASCII backslash and tilde: for them it is the full-width sign.
    int offered = 0;
    for (char32_t value = 0; value < 0x10000; ++value) {
        const OneWayCharacter* oneWay = FindOneWayCharacter(value);
        if (oneWay == nullptr || oneWay->instead == 0) continue;
        ++offered;
        std::string utf8 = EncodeUtf8(value);
        std::string glibc(8, '\0');
        char* in = utf8.data();
        char* out = glibc.data();
        std::size_t inLeft = utf8.size(), outLeft = glibc.size();
        const iconv_t toCp932 = iconv_open("CP932", "UTF-8");
        ASSERT_NE(iconv(toCp932, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1)) << int(value);
        iconv_close(toCp932);
        glibc.resize(glibc.size() - outLeft);
        if (glibc == "\\" || glibc == "~") glibc = glibc == "\\" ? "\x81\x8F" : "\x81\x50";  // ￥ and ￣
        EXPECT_EQ(Utf8ToCp932(EncodeUtf8(oneWay->instead)).value(), glibc) << "U+" << std::hex << int(value);
    }
    EXPECT_EQ(offered, 9);
#endif
}

/// FNV-1a: `digest` (at first kDigestStart) goes on over `bytes`, one number for a whole mapping.
constexpr std::uint64_t kDigestStart = 0xCBF29CE484222325u;
void addToDigest(std::uint64_t& digest, std::string_view bytes) {
    for (const char byte : bytes) digest = (digest ^ static_cast<unsigned char>(byte)) * 0x100000001B3u;
}

// Every system reads and writes the code page alike: these numbers are the same on Linux (iconv)
// and on Windows (the system conversion), so a change in either shows up here.
TEST(Cp932Test, EveryCharacterIsWrittenTheSameWayAndReadsBack) {
    int written = 0;
    std::uint64_t digest = kDigestStart;
    for (char32_t value = 0; value < 0x30000; ++value) {
        if (value >= 0xD800 && value <= 0xDFFF) continue;
        const std::string utf8 = EncodeUtf8(value);
        const Result<std::string> cp932 = Utf8ToCp932(utf8);
        if (!cp932) continue;
        ++written;
        addToDigest(digest, utf8);
        addToDigest(digest, cp932.value());
        const Result<std::string> back = Cp932ToUtf8(cp932.value());
        ASSERT_TRUE(back.ok()) << DescribeCharacter(utf8, value);
        EXPECT_EQ(back.value(), utf8) << DescribeCharacter(utf8, value) << " does not read back";
    }
    EXPECT_EQ(written, 9397);
    EXPECT_EQ(digest, 0xAD610F206D475708u);
}

TEST(Cp932Test, EveryOneAndTwoByteCodeIsReadTheSameWay) {
    int read = 0;
    std::uint64_t digest = kDigestStart;
    for (unsigned first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {  // -1: the first byte alone
            std::string bytes(1, static_cast<char>(first));
            if (second >= 0) bytes.push_back(static_cast<char>(second));
            const Result<std::string> utf8 = Cp932ToUtf8(bytes);
            if (!utf8) continue;
            ++read;
            addToDigest(digest, bytes);
            addToDigest(digest, utf8.value());
        }
    }
    EXPECT_EQ(read, 46276);
    EXPECT_EQ(digest, 0xAD7FD7EE29F23359u);
}

TEST(Cp932Test, LeadBytesAreTheBytesThatBeginTwoByteCharacters) {
    for (int lead = 0; lead < 256; ++lead) {
        bool beginsPair = false;
        for (int trail = 0x40; trail <= 0xFC && !beginsPair; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            beginsPair = !Cp932ToUtf8(std::string_view(bytes, 1)).ok() && Cp932ToUtf8(std::string_view(bytes, 2)).ok();
        }
        // Rows 85, 86, EB, EC and EF are lead bytes with no character assigned yet.
        const bool emptyRow = lead == 0x85 || lead == 0x86 || lead == 0xEB || lead == 0xEC || lead == 0xEF;
        EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(lead)), beginsPair || emptyRow) << "byte " << lead;
    }
}

TEST(Cp932Test, TrailBytesAreTheBytesThatEndTwoByteCharacters) {
    for (int trail = 0; trail < 256; ++trail) {
        const char bytes[2] = {'\x89', static_cast<char>(trail)};  // a full row of level 1 kanji
        EXPECT_EQ(IsCp932TrailByte(static_cast<unsigned char>(trail)), Cp932ToUtf8(std::string_view(bytes, 2)).ok())
            << "byte " << trail;
    }
}

}  // namespace
}  // namespace moza::convert
