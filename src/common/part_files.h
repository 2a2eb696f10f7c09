// Part files: the hidden files a page is written to before it is put in place, named so that
// they are short and recognisable, removed when the program is interrupted, and swept up when a
// killed run left them behind.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace moza {

/// A new part file name: ".moza-part-<process>-<n>", never more than 40 bytes, whatever the
/// destination's name, so that any name the file system accepts for a page works.
std::string NewPartFileName();

/// Whether `name` is a part file name this program makes, and of which process.
bool IsPartFileName(std::string_view name, long* process = nullptr);

/// Part files alive in this process, removed by the signal handlers below. At most 64 at once;
/// registering more only leaves the extra ones to the sweep.
void RegisterPartFile(const std::filesystem::path& part);
void UnregisterPartFile(const std::filesystem::path& part);

/// On SIGINT, SIGTERM and SIGHUP (SIGINT and SIGTERM on Windows): removes every registered part
/// file, then ends the program as the signal would have (the shell reports 130, 143, 129).
/// SIGXFSZ is ignored, so a write beyond the file-size limit fails and is reported.
void RemovePartFilesOnInterrupt();

/// Removes the part files in `folder` that a run which no longer exists left behind: only names
/// IsPartFileName knows, whose process is gone and which are older than `minimumAge`. Nothing
/// else is touched; failures are ignored.
void RemoveStalePartFiles(const std::filesystem::path& folder, std::chrono::seconds minimumAge);

}  // namespace moza
