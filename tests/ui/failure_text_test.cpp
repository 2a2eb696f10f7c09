// Failure reasons in the program's language: every kind worded in Japanese, naming what it names.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <set>

#include "ui/failure_text.h"

namespace moza::ui {
namespace {

// From UTF-8 text: a path made from plain char text is read in the ANSI code page on Windows.
const std::filesystem::path kPhoto = u8"/home/user/写真/photo.jpg";

QString reasonFor(ErrorKind kind, const std::string& text, const ErrorNumbers& numbers) {
    return FailureText::reason(Error{"english message", kind, kPhoto, text, numbers});
}

TEST(FailureTextTest, EveryKindHasAJapaneseSentenceAndFileKindsNameTheFile) {
    static const QRegularExpression kana(QStringLiteral("[\\x{3040}-\\x{30FF}]"));
    const std::set<ErrorKind> namesNoFile = {ErrorKind::Cancelled, ErrorKind::FolderMissing, ErrorKind::NoPageFolder,
                                             ErrorKind::TextNotUtf8, ErrorKind::CharacterNotCp932,
                                             ErrorKind::TitleCharacterInFileName, ErrorKind::TitleLineBreak,
                                             ErrorKind::TitleMarkup,
                                             ErrorKind::NoCp932Converter, ErrorKind::TableEmpty,
                                             ErrorKind::PictureTooTall, ErrorKind::PictureTooLarge,
                                             ErrorKind::OutOfMemory, ErrorKind::PictureSizeInvalid};
    for (int number = static_cast<int>(ErrorKind::Other) + 1; number <= static_cast<int>(kLastErrorKind); ++number) {
        const auto kind = static_cast<ErrorKind>(number);
        const QString reason = reasonFor(kind, "x7", {.record = 12, .line = 14, .value = 4, .lowest = 1, .highest = 9});
        EXPECT_TRUE(reason.contains(kana) && !reason.contains(QStringLiteral("english"))) << number << ": " << reason.toStdString();
        EXPECT_EQ(reason.contains(QDir::toNativeSeparators(QStringLiteral("/home/user/写真/photo.jpg"))),
                  namesNoFile.count(kind) == 0) << number << ": " << reason.toStdString();
    }
}

TEST(FailureTextTest, NamesTheDetailsOfEachKind) {
    const struct {
        ErrorKind kind;
        std::string text;
        ErrorNumbers numbers;
        QString named;  // what the sentence must name, as the user sees it
    } cases[] = {
        // Laid out as a table by hand: clang-format would give every value a line of its own.
        // clang-format off
        {ErrorKind::FolderMissing, {}, {}, "フォルダー「" + QDir::toNativeSeparators("/home/user/写真") + "」がない"},
        {ErrorKind::FolderNotCreated, "Permission denied", {}, "Permission denied"},
        {ErrorKind::FileTooLarge, {}, {.limit = 1024LL * 1024 * 1024}, "1,024 MB"},
        {ErrorKind::SystemError, "Input/output error", {}, "Input/output error"},
        {ErrorKind::PictureTooLarge, {}, {.limit = 2048, .width = 30000, .height = 20000}, "30,000 x 20,000"},
        {ErrorKind::TextNotUtf8, {}, {.byte = 3}, "3 バイト目"},
        {ErrorKind::CharacterNotCp932, "¥", {.codePoint = 0xA5, .lookAlike = 0x5C}, "「¥」(U+00A5)はシフト JIS (コードページ 932) で書けません。代わりに「\\」(U+005C)"},
        {ErrorKind::TitleCharacterInFileName, "\x7F", {.codePoint = 0x7F}, "制御文字 (U+007F)"},
        {ErrorKind::TitleCharacterInFileName, "\x1F", {.codePoint = 0x1F}, "制御文字 (U+001F)"},
        {ErrorKind::TableRecordCutShort, {}, {.record = 12, .line = 14, .count = 9}, "12 件目のレコード (14 行目)"},
        // A long value from a file is cut, and its control bytes are shown as codes.
        {ErrorKind::TableValueNotNumber, "\x05\x1b[31m" + std::string(100000, '7'), {.record = 12, .line = 14, .value = 4}, QString::fromStdString("「\\x05\\x1b[31m" + std::string(34, '7') + "…」")},
        {ErrorKind::TableValueOutOfRange, "40000", {.record = 1, .line = 1, .value = 1, .lowest = -32768, .highest = 32767}, "-32,768 ～ 32,767"},
        {ErrorKind::TableTooManyRecords, {}, {.record = 32768, .line = 32770, .limit = 32767}, "32,767 件"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const QString reason = reasonFor(c.kind, c.text, c.numbers);
        EXPECT_TRUE(reason.contains(c.named)) << reason.toStdString();
    }
    EXPECT_EQ(FailureText::reason(Error{""}), QStringLiteral("原因はわかりません。"));
}

}  // namespace
}  // namespace moza::ui
