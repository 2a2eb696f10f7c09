// ErrorKind: why something failed, for front ends that say it in their own words.
#pragma once

namespace moza {

/// Why an operation failed, set where its Error is made so that a front end can tell the user in
/// its own language; the English message stays for the command line. What the reason is about
/// travels in the Error: `file` (the file or folder named), `text` (a character or a value as
/// UTF-8, or the system's or a decoder's own words) and `numbers` (ErrorNumbers: the fields each
/// kind names below; the rest stay unset).
enum class ErrorKind {
    Other,      ///< no kind given: only the message says what went wrong
    Cancelled,  ///< the work was stopped on request

    // Files and folders: `file` is the one named.
    FileMissing,         ///< it does not exist
    FolderMissing,       ///< the folder that `file` was to go into does not exist
    FolderNotCreated,    ///< the folder could not be made; text: the system's words
    NoPageFolder,        ///< no folder for pages can be found; text: the environment variables that are unset
    NotAFolder,          ///< a folder was needed and this is something else
    IsAFolder,           ///< a file was needed and this is a folder
    NotARegularFile,     ///< a device, pipe or socket where a file was needed
    PermissionDenied,    ///< the system refuses access to it
    ReadOnly,            ///< it is read-only, or on a read-only file system
    FileExists,          ///< it exists already, and was to be made new
    FileLeftIncomplete,  ///< writing it over in place failed halfway; text: the system's words
    FileEmpty,           ///< it holds no bytes
    FileTooLarge,        ///< numbers: limit (in bytes)
    DiskFull,            ///< the disk (or the user's quota) has no room for it
    NameTooLong,         ///< its name is longer than the file system allows
    SystemError,         ///< text: the system's own words for what failed

    // Pictures: `file` is the picture when one was named.
    NotAPicture,         ///< not a picture in a format that can be read
    PictureDamaged,      ///< its data is damaged or ends early; text: the decoder's words
    PictureUndecodable,  ///< the decoder gave up; text: its words
    PictureTooTall,      ///< numbers: height, limit (the highest height converted)
    PictureTooLarge,     ///< numbers: width, height, limit (the memory it may take, in MB)
    OutOfMemory,         ///< numbers: width, height of the picture that did not fit
    PictureSizeInvalid,  ///< the picture has no valid size

    // Texts (the page title).
    TextNotUtf8,               ///< numbers: byte (the offending one)
    CharacterNotCp932,         ///< text: the character; numbers: codePoint[, lookAlike (a character to use)]
    TitleCharacterInFileName,  ///< text: the character; numbers: codePoint
    TitleLineBreak,            ///< the title holds a line break
    TitleMarkup,               ///< the title holds '<' or '>'; text: the character; numbers: codePoint
    NoCp932Converter,          ///< this system cannot convert text to code page 932

    // The character table: `file` is the table.
    TableEmpty,             ///< the table holds no characters
    TableRecordCutShort,    ///< numbers: record, line, count (the values it has)
    TableQuoteNotClosed,    ///< numbers: record, line, value
    TableValueNotNumber,    ///< text: the value; numbers: record, line, value
    TableValueOutOfRange,   ///< text: the value; numbers: record, line, value, lowest, highest
    TableTooManyRecords,    ///< numbers: record, line, limit (the most records)
    TableRecordTooLong,     ///< values follow its 10 but make no record; numbers: record, line, count (of those values)
    TableCodeNotCharacter,  ///< text: what is wrong with the code; numbers: record, line, code
};

/// The last kind; kinds run from Other to it without gaps.
inline constexpr ErrorKind kLastErrorKind = ErrorKind::TableCodeNotCharacter;

/// The kind of a failed system call's error number (errno): a missing file, permission, a full
/// disk, a name too long ...; SystemError for the rest.
ErrorKind KindOfSystemError(int error);

}  // namespace moza
