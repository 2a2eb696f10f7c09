// Whole-file reading with a message that names the file and the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "common/result.h"

namespace moza {

/// A regular file open for reading from its start, and its size when it was opened.
struct FileForReading {
    std::ifstream stream;
    std::uintmax_t size = 0;
};

/// Opens the regular file `file` for reading, checking it as ReadWholeFile does. Fails with
/// "cannot read '<file>': <reason>" when it is missing, unreadable, a folder, not a regular file
/// (a device or pipe, which might never end), or larger than `maxBytes` (ErrorKind::FileTooLarge).
Result<FileForReading> OpenFileForReading(const std::filesystem::path& file, std::uintmax_t maxBytes);

/// The bytes of the regular file `file`, at most `maxBytes` of them. Fails with
/// "cannot read '<file>': <reason>" when it is missing, unreadable, a folder, not a regular file
/// (a device or pipe, which might never end), or larger than `maxBytes`; nothing is read then.
Result<std::string> ReadWholeFile(const std::filesystem::path& file,
                                  std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

/// The system's words for a C library error number (errno).
std::string SystemErrorText(int error);

}  // namespace moza
