// FailureText: one sentence per kind of failure, with what it names filled in.
#include "ui/failure_text.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <optional>

#include "glyph/char_data_loader.h"
#include "picture/path_text.h"

namespace moza::ui {
namespace {

QString fileName(const Error& error) { return QDir::toNativeSeparators(picture::ToText(error.file)); }

/// A number an error names, or "?" when its kind left it unset.
QString number(const std::optional<long long>& value) {
    return value ? QLocale().toString(*value) : QStringLiteral("?");
}

QString codePoint(long long value) { return QStringLiteral("U+%1").arg(value, 4, 16, QLatin1Char('0')).toUpper(); }

/// A value read from a file, cut at the core's kEchoedValueLength and with control characters
/// written as codes, so that a message about a broken file stays a message. The core hands the
/// value over already cut and escaped as its English message shows it (in bytes, then "...");
/// the sentence here is the desktop program's own, so it counts characters and ends in "…".
QString echoed(const std::string& value) {
    constexpr auto kShown = static_cast<qsizetype>(glyph::kEchoedValueLength);
    QString text = QString::fromStdString(value);
    const bool cut = text.size() > kShown;
    text.truncate(kShown);
    QString shown;
    for (const QChar c : text) {
        shown += c.category() == QChar::Other_Control ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    }
    return cut ? shown + QStringLiteral("…") : shown;
}

}  // namespace

QString FailureText::reason(const Error& error) {
    switch (error.kind) {
    case ErrorKind::Other: return sentence(error.message);
    case ErrorKind::Cancelled: return tr("The page was not made: it was cancelled.");
    case ErrorKind::FileMissing:
    case ErrorKind::FolderMissing:
    case ErrorKind::FolderNotCreated:
    case ErrorKind::NoPageFolder:
    case ErrorKind::NotAFolder:
    case ErrorKind::IsAFolder:
    case ErrorKind::NotARegularFile:
    case ErrorKind::PermissionDenied:
    case ErrorKind::ReadOnly:
    case ErrorKind::FileExists:
    case ErrorKind::FileLeftIncomplete:
    case ErrorKind::FileEmpty:
    case ErrorKind::FileTooLarge:
    case ErrorKind::DiskFull:
    case ErrorKind::NameTooLong:
    case ErrorKind::SystemError: return fileReason(error);
    case ErrorKind::NotAPicture:
    case ErrorKind::PictureDamaged:
    case ErrorKind::PictureUndecodable:
    case ErrorKind::PictureTooTall:
    case ErrorKind::PictureTooLarge:
    case ErrorKind::OutOfMemory:
    case ErrorKind::PictureSizeInvalid: return pictureReason(error);
    case ErrorKind::TextNotUtf8:
    case ErrorKind::CharacterNotCp932:
    case ErrorKind::TitleCharacterInFileName:
    case ErrorKind::TitleLineBreak:
    case ErrorKind::TitleMarkup:
    case ErrorKind::NoCp932Converter: return textReason(error);
    case ErrorKind::TableEmpty:
    case ErrorKind::TableRecordCutShort:
    case ErrorKind::TableQuoteNotClosed:
    case ErrorKind::TableValueNotNumber:
    case ErrorKind::TableValueOutOfRange:
    case ErrorKind::TableTooManyRecords:
    case ErrorKind::TableRecordTooLong:
    case ErrorKind::TableCodeNotCharacter: return tableReason(error);
    }
    return sentence(error.message);
}

QString FailureText::fileReason(const Error& error) {
    const QString file = fileName(error);
    switch (error.kind) {
    case ErrorKind::FileMissing: return tr("“%1” does not exist.").arg(file);
    case ErrorKind::FolderMissing:
        return tr("The folder “%1” does not exist, so “%2” cannot be written.")
            .arg(QDir::toNativeSeparators(QFileInfo(file).path()), QFileInfo(file).fileName());
    case ErrorKind::FolderNotCreated:
        return tr("The folder “%1” could not be made. The system says: %2").arg(file, QString::fromStdString(error.text));
    case ErrorKind::NoPageFolder:
        return tr("There is no folder to put pages in: the environment variable %1 is not set.")
            .arg(QString::fromStdString(error.text));
    case ErrorKind::NotAFolder: return tr("“%1” is not a folder.").arg(file);
    case ErrorKind::IsAFolder: return tr("“%1” is a folder.").arg(file);
    case ErrorKind::NotARegularFile: return tr("“%1” is not a regular file (it is a device, a pipe or the like).").arg(file);
    case ErrorKind::PermissionDenied: return tr("You have no permission to use “%1”.").arg(file);
    case ErrorKind::ReadOnly: return tr("“%1” is read-only.").arg(file);
    case ErrorKind::FileExists: return tr("“%1” exists already.").arg(file);
    case ErrorKind::FileLeftIncomplete:
        return tr("Writing over “%1” stopped halfway, and the file is now incomplete. The system says: %2")
            .arg(file, QString::fromStdString(error.text));
    case ErrorKind::FileEmpty: return tr("“%1” is empty (0 bytes).").arg(file);
    case ErrorKind::FileTooLarge:
        return tr("“%1” is too large: files over %2 MB are not read.")
            .arg(file, QLocale().toString(error.numbers.limit.value_or(0) / (1024 * 1024)));
    case ErrorKind::DiskFull: return tr("There is no room left on the disk for “%1”.").arg(file);
    case ErrorKind::NameTooLong: return tr("The name “%1” is longer than the file system allows.").arg(file);
    case ErrorKind::SystemError:
        return tr("“%1” could not be read or written. The system says: %2").arg(file, QString::fromStdString(error.text));
    default: return sentence(error.message);
    }
}

QString FailureText::pictureReason(const Error& error) {
    const QString file = error.file.empty() ? tr("the picture") : fileName(error);
    switch (error.kind) {
    case ErrorKind::NotAPicture:
        return tr("“%1” is not a picture in a format Moza can read (BMP, JPEG, PNG, GIF, WebP, TIFF and others).").arg(file);
    case ErrorKind::PictureDamaged: return tr("“%1” is damaged or cut short.").arg(file);
    case ErrorKind::PictureUndecodable: return tr("The picture in “%1” could not be decoded.").arg(file);
    case ErrorKind::PictureTooTall:
        return tr("The picture is %1 pixels high; Moza converts pictures up to %2 pixels high.")
            .arg(number(error.numbers.height), number(error.numbers.limit));
    case ErrorKind::PictureTooLarge:
        return tr("The picture (%1 x %2 pixels) is too large: decoding it would take more than %3 MB of memory.")
            .arg(number(error.numbers.width), number(error.numbers.height), number(error.numbers.limit));
    case ErrorKind::OutOfMemory:
        return tr("There is not enough memory for a picture of %1 x %2 pixels.")
            .arg(number(error.numbers.width), number(error.numbers.height));
    case ErrorKind::PictureSizeInvalid: return tr("The picture has no valid size.");
    default: return sentence(error.message);
    }
}

QString FailureText::textReason(const Error& error) {
    switch (error.kind) {
    case ErrorKind::TextNotUtf8: return tr("The title is not valid text (byte %1).").arg(number(error.numbers.byte));
    case ErrorKind::CharacterNotCp932:
        if (error.numbers.lookAlike) {
            const auto instead = static_cast<char32_t>(*error.numbers.lookAlike);
            return tr("The title's character %1 cannot be written in Shift_JIS (code page 932), in which pages are "
                      "written. Use %2 instead.")
                .arg(character(error), character(QString::fromUcs4(&instead, 1), instead));
        }
        return tr("The title's character %1 cannot be written in Shift_JIS (code page 932), in which pages are written.")
            .arg(character(error));
    case ErrorKind::TitleCharacterInFileName:
        return tr("The title holds %1. The title names the page's file, and a file name cannot hold "
                  "\\ / : * ? \" < > | or control characters.")
            .arg(character(error));
    case ErrorKind::TitleLineBreak: return tr("The title holds a line break, and a page is written on a single line.");
    case ErrorKind::TitleMarkup:
        return tr("The title holds %1. The title goes into the page as it is, where a browser would read it as the "
                  "start or end of markup, not as text.")
            .arg(character(error));
    case ErrorKind::NoCp932Converter:
        return tr("This system cannot convert text to Shift_JIS (code page 932), in which pages are written.");
    default: return sentence(error.message);
    }
}

QString FailureText::tableReason(const Error& error) {
    const QString file = fileName(error);
    const QString record = number(error.numbers.record);
    const QString line = number(error.numbers.line);
    const QString value = number(error.numbers.value);
    switch (error.kind) {
    case ErrorKind::TableEmpty:
        return tr("The character table holds no characters, so there is nothing to draw the picture with.");
    case ErrorKind::TableRecordCutShort:
        return tr("In “%1”, record %2 (line %3) is cut short: it has %4 of its 10 values.")
            .arg(file, record, line, number(error.numbers.count));
    case ErrorKind::TableQuoteNotClosed:
        return tr("In “%1”, value %4 of record %2 (line %3) has a double quote that is never closed.")
            .arg(file, record, line, value);
    case ErrorKind::TableValueNotNumber:
        return tr("In “%1”, value %4 of record %2 (line %3), “%5”, is not a whole number.")
            .arg(file, record, line, value, echoed(error.text));
    case ErrorKind::TableValueOutOfRange:
        return tr("In “%1”, value %4 of record %2 (line %3), “%5”, is outside the range %6 to %7.")
            .arg(file, record, line, value, echoed(error.text), number(error.numbers.lowest),
                 number(error.numbers.highest));
    case ErrorKind::TableTooManyRecords:
        return tr("“%1” holds more than %2 records (record %3 ends on line %4).")
            .arg(file, number(error.numbers.limit), record, line);
    case ErrorKind::TableRecordTooLong:
        return tr("In “%1”, record %2 (line %3) has too many values: %4 more follow its 10, too few for another record.")
            .arg(file, record, line, number(error.numbers.count));
    case ErrorKind::TableCodeNotCharacter:
        return tr("In “%1”, the character code %4 of record %2 (line %3) is not one character of Shift_JIS (code page "
                  "932), so a page cannot show it.")
            .arg(file, record, line, number(error.numbers.code));
    default: return sentence(error.message);
    }
}

QString FailureText::character(const Error& error) {
    return character(QString::fromStdString(error.text), error.numbers.codePoint.value_or(0));
}

QString FailureText::character(const QString& text, long long code) {
    if (code < 0x20 || code == 0x7F) return tr("a control character (%1)").arg(codePoint(code));
    return tr("“%1” (%2)").arg(text, codePoint(code));
}

QString FailureText::sentence(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (text.isEmpty()) return tr("The reason is not known.");
    text[0] = text[0].toUpper();
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    return text;
}

}  // namespace moza::ui
