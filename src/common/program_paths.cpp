// ProgramPaths: the data and temp folders of a program folder or of an installed program.
#include "common/program_paths.h"

#include <cstdlib>
#include <system_error>

#include "common/program_folder.h"

namespace moza {
namespace {

/// The installed data folder relative to the folder of the executables (<prefix>/bin).
std::filesystem::path installedDataFolder(const std::filesystem::path& programFolder) {
    return (programFolder.parent_path() / "share" / "moza" / "data").lexically_normal();
}

}  // namespace

ProgramPaths ProgramPaths::Beside(const std::filesystem::path& programFolder) {
    ProgramPaths paths;
    paths.m_dataFolder = FixedPath(programFolder, kDataFolderSuffix);
    paths.m_tempFolder = FixedPath(programFolder, kTempFolderSuffix);
    return paths;
}

ProgramPaths ProgramPaths::Find(const std::filesystem::path& programFolder, const std::filesystem::path& userDataHome) {
    ProgramPaths beside = Beside(programFolder);
    std::error_code ec;
    if (std::filesystem::is_directory(beside.m_dataFolder, ec)) return beside;
    const std::filesystem::path installedData = installedDataFolder(programFolder);
    if (!std::filesystem::is_directory(installedData, ec)) return beside;
    ProgramPaths paths;
    paths.m_dataFolder = installedData;
    if (!userDataHome.empty()) paths.m_tempFolder = userDataHome / "moza" / "temp" / "";
    paths.m_installed = true;
    return paths;
}

ProgramPaths ProgramPaths::ForThisProgram() {
    ProgramPaths paths = Find(ProgramFolder(), UserDataHome(ProcessEnvironment));
    paths.m_noUserDataHome = WhyNoUserDataHome(ProcessEnvironment);
    return paths;
}

std::filesystem::path ProgramPaths::dataFile(std::string_view nameWithSeparator) const {
    return FixedPath(m_dataFolder, nameWithSeparator);
}

Status ProgramPaths::prepareTempFolder() const {
    if (m_tempFolder.empty()) {
#ifdef _WIN32
        return Error{"there is no folder for pages: LOCALAPPDATA is not set", ErrorKind::NoPageFolder, {}, "LOCALAPPDATA"};
#else
        const std::string why = m_noUserDataHome.empty() ? "neither XDG_DATA_HOME nor HOME is set" : m_noUserDataHome;
        return Error{"there is no folder for pages: " + why, ErrorKind::NoPageFolder, {}, "XDG_DATA_HOME, HOME"};
#endif
    }
    std::error_code ec;
    // Without its closing separator: Windows' stat() says a folder named with one ("temp\") is
    // missing, so create_directories and is_directory would fail on the folder just made.
    const std::filesystem::path folder = m_tempFolder.has_filename() ? m_tempFolder : m_tempFolder.parent_path();
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return Error{"cannot create the folder " + Quoted(m_tempFolder) + ": " + ec.message(),
                     ErrorKind::FolderNotCreated, m_tempFolder, ec.message()};
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        return Error{"cannot create the folder " + Quoted(m_tempFolder) + ": a file of that name is in the way",
                     ErrorKind::NotAFolder, m_tempFolder};
    }
    return success();
}

std::filesystem::path UserDataHome(const EnvironmentLookup& lookup) {
#ifdef _WIN32
    return lookup("LOCALAPPDATA");
#else
    // Relative values are to be ignored, as if unset.
    const std::filesystem::path dataHome = lookup("XDG_DATA_HOME");
    if (dataHome.is_absolute()) return dataHome;
    const std::filesystem::path home = lookup("HOME");
    if (home.empty()) return {};
    return home / ".local" / "share";
#endif
}

std::string WhyNoUserDataHome(const EnvironmentLookup& lookup) {
#ifdef _WIN32
    return lookup("LOCALAPPDATA").empty() ? "LOCALAPPDATA is not set" : "";
#else
    if (!UserDataHome(lookup).empty()) return {};
    const std::filesystem::path dataHome = lookup("XDG_DATA_HOME");
    if (dataHome.empty()) return "neither XDG_DATA_HOME nor HOME is set";
    return "XDG_DATA_HOME is relative (" + Quoted(dataHome) + "), so it does not count, and HOME is not set";
#endif
}

std::filesystem::path ProcessEnvironment(const char* name) {
#ifdef _WIN32
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
#else
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
#endif
}

}  // namespace moza
