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

/// On SIGINT and SIGTERM, and on POSIX systems SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM,
/// SIGVTALRM, SIGXCPU and SIGPOLL: removes every registered part file, then ends the program as
/// the signal would have (the shell reports 130, 143, 129 ...), once no InterruptsHeldBack is
/// alive. A signal that the program was started with ignored (nohup) or handled is left so.
/// SIGPIPE and SIGXFSZ are ignored, so a write to a pipe nobody reads, or beyond the file-size
/// limit, fails and is reported.
void RemovePartFilesOnInterrupt();

/// While one is alive in any thread, the interrupts above wait; the last one to end then ends
/// the program. For work that must not stop half-way, such as writing a file over in place.
class InterruptsHeldBack {
public:
    InterruptsHeldBack();
    ~InterruptsHeldBack();
    InterruptsHeldBack(const InterruptsHeldBack&) = delete;
    InterruptsHeldBack& operator=(const InterruptsHeldBack&) = delete;
    /// False when an interrupt is already ending the program: the work must not begin.
    bool entered() const { return m_entered; }

private:
    bool m_entered = false;
};

/// Removes the part files in `folder` that a run which no longer exists left behind: only names
/// IsPartFileName knows, whose process is gone and which are older than `minimumAge`. Nothing
/// else is touched; failures are ignored.
void RemoveStalePartFiles(const std::filesystem::path& folder, std::chrono::seconds minimumAge);

}  // namespace moza
