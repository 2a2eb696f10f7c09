// Failure reasons in the program's language: every kind worded in Japanese, naming what it names.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <set>

#include "picture/path_text.h"
#include "ui/failure_text.h"

namespace moza::ui {
namespace {

struct Case {
    ErrorKind kind;
    std::filesystem::path file;
    std::string text;
    std::vector<long long> numbers;
    const char* named;  // what the sentence must name, as the user sees it
};

const std::filesystem::path kPhoto = "/home/user/写真/photo.jpg";
const std::filesystem::path kTable = "/opt/moza/data/char.csv";

const Case kCases[] = {
    {ErrorKind::Cancelled, {}, {}, {}, "取り消されました"},
    {ErrorKind::FileMissing, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::FolderMissing, "/opt/moza/temp/cat.html", {}, {}, "フォルダー「/opt/moza/temp」がない"},
    {ErrorKind::FolderNotCreated, "/home/user/.local/share/moza/temp", "Permission denied", {}, "Permission denied"},
    {ErrorKind::NoPageFolder, {}, "XDG_DATA_HOME, HOME", {}, "XDG_DATA_HOME, HOME"},
    {ErrorKind::NotAFolder, "/opt/moza/temp", {}, {}, "「/opt/moza/temp」"},
    {ErrorKind::IsAFolder, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::NotARegularFile, "/dev/zero", {}, {}, "「/dev/zero」"},
    {ErrorKind::PermissionDenied, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::ReadOnly, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::FileExists, "/tmp/cat.html", {}, {}, "「/tmp/cat.html」"},
    {ErrorKind::FileLeftIncomplete, "/tmp/cat.html", "the disk is full", {}, "the disk is full"},
    {ErrorKind::FileEmpty, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::FileTooLarge, kTable, {}, {16 * 1024 * 1024}, "16 MB"},
    {ErrorKind::DiskFull, "/mnt/usb/cat.html", {}, {}, "「/mnt/usb/cat.html」"},
    {ErrorKind::NameTooLong, "/tmp/aaaa.html", {}, {}, "「/tmp/aaaa.html」"},
    {ErrorKind::SystemError, kPhoto, "Input/output error", {}, "Input/output error"},
    {ErrorKind::NotAPicture, kPhoto, {}, {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::PictureDamaged, kPhoto, "Premature end of JPEG file", {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::PictureUndecodable, kPhoto, "Unable to read image data", {}, "「/home/user/写真/photo.jpg」"},
    {ErrorKind::PictureTooTall, kPhoto, {}, {40000, 32766}, "40,000"},
    {ErrorKind::PictureTooLarge, kPhoto, {}, {30000, 20000, 2048}, "30,000 x 20,000"},
    {ErrorKind::OutOfMemory, kPhoto, {}, {30000, 20000}, "30,000 x 20,000"},
    {ErrorKind::PictureSizeInvalid, kPhoto, {}, {}, "画像"},
    {ErrorKind::TextNotUtf8, {}, {}, {3}, "3 バイト目"},
    {ErrorKind::CharacterNotCp932, {}, "é", {0xE9}, "「é」(U+00E9)"},
    {ErrorKind::TitleCharacterInFileName, {}, "/", {0x2F}, "「/」(U+002F)"},
    {ErrorKind::TitleLineBreak, {}, {}, {}, "改行"},
    {ErrorKind::NoCp932Converter, {}, {}, {}, "シフト JIS"},
    {ErrorKind::TableEmpty, {}, {}, {}, "文字表"},
    {ErrorKind::TableRecordCutShort, kTable, {}, {12, 14, 9}, "12 件目のレコード (14 行目)"},
    {ErrorKind::TableQuoteNotClosed, kTable, {}, {12, 14, 4}, "4 番目の値"},
    {ErrorKind::TableValueNotNumber, kTable, "x7", {12, 14, 4}, "「x7」"},
    {ErrorKind::TableValueOutOfRange, kTable, "40000", {1, 1, 1, -32768, 32767}, "-32,768 ～ 32,767"},
    {ErrorKind::TableTooManyRecords, kTable, {}, {32767, 32768, 32770}, "32,767 件"},
};

bool isJapanese(const QString& text) {
    static const QRegularExpression kana(QStringLiteral("[\\x{3040}-\\x{30FF}]"));
    return text.contains(kana);
}

TEST(FailureTextTest, EveryKindHasAJapaneseSentenceNamingWhatItNames) {
    std::set<ErrorKind> covered;
    for (const Case& c : kCases) {
        const Error error{"english message", c.kind, c.file, c.text, c.numbers};
        const QString reason = FailureText::reason(error);
        const QString named = QDir::toNativeSeparators(QString::fromUtf8(c.named));
        EXPECT_TRUE(isJapanese(reason)) << static_cast<int>(c.kind) << ": " << reason.toStdString();
        EXPECT_TRUE(reason.contains(named)) << static_cast<int>(c.kind) << ": " << reason.toStdString();
        EXPECT_FALSE(reason.contains(QStringLiteral("english"))) << static_cast<int>(c.kind);
        covered.insert(c.kind);
    }
    for (int kind = static_cast<int>(ErrorKind::Other) + 1; kind <= static_cast<int>(kLastErrorKind); ++kind) {
        EXPECT_TRUE(covered.count(static_cast<ErrorKind>(kind))) << "no case for kind " << kind;
    }
}

TEST(FailureTextTest, ACharacterWithALookAlikeNamesTheOneToUse) {
    const Error yen{"english message", ErrorKind::CharacterNotCp932, {}, "¥", {0xA5, 0x5C}};
    const QString reason = FailureText::reason(yen);
    EXPECT_TRUE(reason.contains(QStringLiteral("「¥」(U+00A5)"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QStringLiteral("「\\」(U+005C)"))) << reason.toStdString();
}

TEST(FailureTextTest, ALongValueFromAFileIsCutAndItsControlBytesShown) {
    const Error bad{"english message", ErrorKind::TableValueNotNumber, kTable, "\x1b[31m" + std::string(100000, '7'), {1, 1, 1}};
    const QString reason = FailureText::reason(bad);
    EXPECT_TRUE(reason.contains(QStringLiteral("「\\x1b[31m7777"))) << reason.toStdString();
    EXPECT_LT(reason.size(), 200);
}

}  // namespace
}  // namespace moza::ui
