// Whole-file reading with a message that names the file and the reason.
#pragma once

#include <filesystem>
#include <string>

#include "common/result.h"

namespace moza {

/// The bytes of `file`. Fails with "cannot read '<file>': <reason>".
Result<std::string> ReadWholeFile(const std::filesystem::path& file);

/// The system's words for the last C library error (errno).
std::string SystemErrorText(int error);

}  // namespace moza
