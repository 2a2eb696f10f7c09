// The program folder (the folder of the running executable) and the fixed paths formed from it.
#pragma once

#include <filesystem>
#include <string>

namespace moza::convert {

/// The folder of the running executable, without a trailing separator (except at a root).
std::filesystem::path ProgramFolder();

/// The program folder with `suffix` appended as plain text, as the fixed paths are formed:
/// FixedPath("/data/char.csv").
std::filesystem::path FixedPath(const std::string& suffix);

inline constexpr const char* kCharDataSuffix = "/data/char.csv";
inline constexpr const char* kTitlePictureSuffix = "/data/title.bmp";
inline constexpr const char* kStartPageSuffix = "/data/index.html";
inline constexpr const char* kVersionPageSuffix = "/data/version.html";
inline constexpr const char* kTempFolderSuffix = "/temp/";

}  // namespace moza::convert
