// Where the program's data/ and temp/ folders are: beside the executable, or installed under a prefix.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace moza {

/// The program's fixed folders. A program folder (the build's bin/, the unpacked portable archive)
/// has data/ and temp/ beside the executable, used as they are. An installed program (an executable
/// in <prefix>/bin, its data in <prefix>/share/moza/data) cannot write beside itself, so its pages
/// go to a per-user temp folder. Either temp folder is created when first needed.
class ProgramPaths {
public:
    /// data/ and temp/ beside the executable in `programFolder`, formed as plain text
    /// (`programFolder` + "/data", + "/temp/").
    static ProgramPaths Beside(const std::filesystem::path& programFolder);

    /// The layout of an executable in `programFolder`: data/ beside it wins; otherwise, when
    /// `programFolder`/../share/moza/data exists, that data folder and the temp folder
    /// `userDataHome`/moza/temp/ (empty when `userDataHome` is empty); otherwise Beside(), so that
    /// messages name the folder a program folder would have.
    static ProgramPaths Find(const std::filesystem::path& programFolder, const std::filesystem::path& userDataHome);

    /// Find() for the running executable and the user's data folder from the environment.
    static ProgramPaths ForThisProgram();

    const std::filesystem::path& dataFolder() const { return m_dataFolder; }
    /// The folder pages are written to, ending in a separator; empty when the user has none.
    const std::filesystem::path& tempFolder() const { return m_tempFolder; }
    /// True for an installed program, whose temp folder is the user's.
    bool installed() const { return m_installed; }

    /// A file of the data folder, its name appended as plain text: dataFile(kCharDataName).
    std::filesystem::path dataFile(std::string_view nameWithSeparator) const;

    /// Makes the temp folder (and its parents) when it is missing, beside the executable or the
    /// user's. Fails with "cannot create the folder '<folder>': <reason>", or, for an installed
    /// program, when the user has no data folder (saying which variables are unset or relative).
    Status prepareTempFolder() const;

private:
    std::filesystem::path m_dataFolder;
    std::filesystem::path m_tempFolder;
    bool m_installed = false;
    std::string m_noUserDataHome;  // why the environment names no data folder, when it does not
};

/// Reads one environment variable as a path; empty when it is unset.
using EnvironmentLookup = std::function<std::filesystem::path(const char* name)>;

/// The user's data folder: $XDG_DATA_HOME when it is absolute, else $HOME/.local/share
/// (%LOCALAPPDATA% on Windows); empty when the environment names none.
std::filesystem::path UserDataHome(const EnvironmentLookup& lookup);

/// Why UserDataHome finds no folder in the environment ("XDG_DATA_HOME is relative ('x'), so it
/// does not count, and HOME is not set"); empty when it finds one.
std::string WhyNoUserDataHome(const EnvironmentLookup& lookup);

/// The process environment as an EnvironmentLookup.
std::filesystem::path ProcessEnvironment(const char* name);

inline constexpr std::string_view kCharDataName = "/char.csv";
inline constexpr std::string_view kTitlePictureName = "/title.bmp";
inline constexpr std::string_view kStartPageName = "/index.html";
inline constexpr std::string_view kVersionPageName = "/version.html";

}  // namespace moza
