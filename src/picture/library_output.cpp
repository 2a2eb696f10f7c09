// LibraryOutput: file descriptor 2 pointed at a pipe while any decode window is open, with a
// thread handing each line read from the pipe to the open windows.
#include "picture/library_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MOZA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MOZA_SANITIZED 1
#endif
#endif

#if !defined(_WIN32) && !defined(MOZA_SANITIZED)
#define MOZA_CAPTURES_LIBRARY_OUTPUT 1
#include <fcntl.h>
#include <unistd.h>
#endif

namespace moza::picture {
namespace {

#ifdef MOZA_CAPTURES_LIBRARY_OUTPUT
/// A copy of the original standard error, made once.
int originalStandardError();

/// The captures, one after another: each runs from the opening of a window while none is open to
/// the closing of the last window opened during it, and its drainer thread is joined then. The
/// windows of a capture that is ending (its drainer still handing on the rest) never count for a
/// capture begun meanwhile, so no capture is left running with no window open.
struct Capture {
    std::mutex mutex;
    std::map<LibraryOutput*, std::uint64_t> windows;  // each open window, with its capture's number
    std::uint64_t current = 0;  // the number of the capture under way, or of the last one
    bool capturing = false;
    int readEnd = -1;
    std::thread drainer;

    /// At exit, a capture still under way (a window left open on another thread) ends with its
    /// thread, so that no joinable thread is destroyed.
    ~Capture() {
        if (!drainer.joinable()) return;
        ::dup2(originalStandardError(), 2);
        drainer.join();
    }
};

Capture& capture() {
    static Capture instance;
    return instance;
}

/// A copy of the original standard error, made once.
int originalStandardError() {
    static const int fd = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    return fd;
}

/// Gives `line` to the windows of capture `number`.
void handOn(std::uint64_t number, const std::string& line) {
    Capture& c = capture();
    std::lock_guard lock(c.mutex);
    for (const auto& [window, of] : c.windows) {
        if (of == number) window->add(line);
    }
}

void drain(int fd, std::uint64_t number) {
    std::string pending;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            handOn(number, pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    if (!pending.empty()) handOn(number, pending);
}

/// Points file descriptor 2 at a new pipe and starts its drainer. Under the capture's lock.
bool startCapture(Capture& c) {
    int ends[2];
    if (originalStandardError() < 0 || ::pipe2(ends, O_CLOEXEC) != 0) return false;
    std::fflush(stderr);
    if (::dup2(ends[1], 2) < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    ::close(ends[1]);
    try {
        c.drainer = std::thread(drain, ends[0], c.current + 1);
    } catch (const std::system_error&) {  // no thread to be had: standard error stays as it is
        ::dup2(originalStandardError(), 2);
        ::close(ends[0]);
        return false;
    }
    c.readEnd = ends[0];
    ++c.current;
    c.capturing = true;
    return true;
}
#endif

}  // namespace

bool CapturesLibraryOutput() {
#ifdef MOZA_CAPTURES_LIBRARY_OUTPUT
    return true;
#else
    return false;
#endif
}

std::FILE* ProgramStandardError() {
#ifdef MOZA_CAPTURES_LIBRARY_OUTPUT
    static std::FILE* stream = [] {
        const int fd = originalStandardError() >= 0 ? ::fcntl(originalStandardError(), F_DUPFD_CLOEXEC, 3) : -1;
        std::FILE* own = fd >= 0 ? ::fdopen(fd, "w") : nullptr;
        if (own == nullptr) return stderr;
        std::setvbuf(own, nullptr, _IONBF, 0);  // as standard error: nothing waits in a buffer
        return own;
    }();
    return stream;
#else
    return stderr;
#endif
}

LibraryOutput::LibraryOutput() {
#ifdef MOZA_CAPTURES_LIBRARY_OUTPUT
    Capture& c = capture();
    std::lock_guard lock(c.mutex);
    if (!c.capturing && !startCapture(c)) return;
    c.windows.emplace(this, c.current);
    m_open = true;
#endif
}

LibraryOutput::~LibraryOutput() { finish(); }

std::string LibraryOutput::finish() {
#ifdef MOZA_CAPTURES_LIBRARY_OUTPUT
    Capture& c = capture();
    std::unique_lock lock(c.mutex);
    if (!m_open) return m_text;
    m_open = false;
    const std::uint64_t mine = c.windows.at(this);
    const bool last = c.capturing && mine == c.current &&
                      std::none_of(c.windows.begin(), c.windows.end(),
                                   [&](const auto& window) { return window.first != this && window.second == mine; });
    if (last) {
        // Standard error goes back, which closes the pipe; the drainer hands on what is left in
        // it (to this window too) and ends. A window opened meanwhile begins a capture of its own.
        std::fflush(stderr);
        ::dup2(originalStandardError(), 2);
        c.capturing = false;
        std::thread drainer = std::move(c.drainer);
        const int readEnd = c.readEnd;
        lock.unlock();
        drainer.join();
        ::close(readEnd);
        lock.lock();
    }
    c.windows.erase(this);
#endif
    return m_text;
}

void LibraryOutput::add(const std::string& line) {
    if (!m_text.empty()) m_text += '\n';
    m_text += line;
}

}  // namespace moza::picture
