// The program folder (the folder of the running executable) and the fixed paths formed from it.
#pragma once

#include <filesystem>
#include <string_view>

namespace moza {

/// The folder of the running executable, without a trailing separator (except at a root).
std::filesystem::path ProgramFolder();

/// `programFolder` with `suffix` appended as plain text, as the fixed paths are formed:
/// FixedPath(folder, kDataFolderSuffix). No separator is added or removed.
std::filesystem::path FixedPath(const std::filesystem::path& programFolder, std::string_view suffix);

inline constexpr std::string_view kDataFolderSuffix = "/data";
inline constexpr std::string_view kTempFolderSuffix = "/temp/";

}  // namespace moza
