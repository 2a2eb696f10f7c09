// Part files: short names with the writer's process id, an async-signal-safe registry for
// cleanup on interrupt, and the sweep of stale ones.
#include "common/part_files.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstring>
#include <mutex>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace moza {
namespace {

constexpr std::string_view kPrefix = ".moza-part-";

long processId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

bool processIsGone(long process) {
#ifdef _WIN32
    // A process id the system does not know is gone; one it knows is gone once it has exited.
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (handle == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    const bool exited = GetExitCodeProcess(handle, &exitCode) != 0 && exitCode != STILL_ACTIVE;
    CloseHandle(handle);
    return exited;
#else
    return ::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH;
#endif
}

// The registry is read by signal handlers, so it is fixed-size memory with atomic flags: a slot
// is filled, then marked used; a handler removes only slots marked used.
constexpr std::size_t kSlots = 64;
constexpr std::size_t kPathBytes = 4096;
struct Slot {
    std::atomic<bool> used{false};
    char path[kPathBytes] = {};
};
std::array<Slot, kSlots> g_slots;
std::mutex g_slotsMutex;  // between threads; handlers never take it

void removeRegistered() {
    for (Slot& slot : g_slots) {
        if (slot.used.load()) {
#ifdef _WIN32
            _unlink(slot.path);
#else
            ::unlink(slot.path);
#endif
        }
    }
}

// Held-back sections and an interrupt meet in one word: the number of sections running, and a
// bit set by the first interrupt. A section starts only while the bit is clear, and the interrupt
// ends the program at once only while no section runs; otherwise the last section to finish
// does, so no interrupt falls between a section's check and its work.
constexpr unsigned kEnding = 1u << 31;
std::atomic<unsigned> g_held{0};
std::atomic<int> g_pendingSignal{0};

/// Removes the part files and ends the program by `signal`'s default action. Async-signal-safe.
void endBySignal(int signal) {
    removeRegistered();
#ifdef _WIN32
    std::signal(signal, SIG_DFL);
    std::raise(signal);
#else
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    ::sigaction(signal, &defaultAction, nullptr);
    // Inside its own handler the signal is blocked, and raised it would wait for the handler.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
#endif
}

extern "C" void onInterrupt(int signal) {
    const int savedErrno = errno;
    int none = 0;
    g_pendingSignal.compare_exchange_strong(none, signal);
    if ((g_held.fetch_or(kEnding) & ~kEnding) == 0) endBySignal(signal);
#ifdef _WIN32
    std::signal(signal, onInterrupt);  // which Windows resets before calling the handler
#endif
    errno = savedErrno;
}

/// Installs `handler` for `signal` unless the program was started with the signal ignored or
/// handled: a run under nohup keeps running when its terminal closes.
void handleUnlessTaken(int signal, void (*handler)(int)) {
#ifdef _WIN32
    if (const auto previous = std::signal(signal, handler); previous != SIG_DFL && previous != SIG_ERR) {
        std::signal(signal, previous);
    }
#else
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
#endif
}

}  // namespace

std::string NewPartFileName() {
    static std::atomic<unsigned> counter{0};
    return std::string(kPrefix) + std::to_string(processId()) + "-" + std::to_string(counter.fetch_add(1));
}

bool IsPartFileName(std::string_view name, long* process) {
    if (!name.starts_with(kPrefix)) return false;
    name.remove_prefix(kPrefix.size());
    long id = 0;
    const auto [afterId, idError] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (idError != std::errc{} || afterId == name.data() || afterId == name.data() + name.size() || *afterId != '-') {
        return false;
    }
    unsigned n = 0;
    const char* end = name.data() + name.size();
    const auto [afterN, nError] = std::from_chars(afterId + 1, end, n);
    if (nError != std::errc{} || afterN != end || afterN == afterId + 1) return false;
    if (process != nullptr) *process = id;
    return true;
}

void RegisterPartFile(const std::filesystem::path& part) {
    const std::string text = part.string();
    if (text.size() >= kPathBytes) return;
    std::lock_guard lock(g_slotsMutex);
    for (Slot& slot : g_slots) {
        if (!slot.used.load()) {
            std::memcpy(slot.path, text.c_str(), text.size() + 1);
            slot.used.store(true);
            return;
        }
    }
}

void UnregisterPartFile(const std::filesystem::path& part) {
    const std::string text = part.string();
    std::lock_guard lock(g_slotsMutex);
    for (Slot& slot : g_slots) {
        if (slot.used.load() && text == slot.path) {
            slot.used.store(false);
            return;
        }
    }
}

void RemovePartFilesOnInterrupt() {
    for (const int signal : {SIGINT, SIGTERM}) handleUnlessTaken(signal, onInterrupt);
#ifndef _WIN32
    // Every other signal whose default is to end the program quietly, with or without a core.
    for (const int signal : {SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGXCPU, SIGPOLL})
        handleUnlessTaken(signal, onInterrupt);
    // A write to a pipe whose reader has gone then fails (EPIPE) and is reported; beyond the
    // file-size limit a write fails (EFBIG) and is reported like a full disk.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
#endif
}

InterruptsHeldBack::InterruptsHeldBack() {
    unsigned held = g_held.load();
    while ((held & kEnding) == 0 && !g_held.compare_exchange_weak(held, held + 1)) {
    }
    m_entered = (held & kEnding) == 0;
}

InterruptsHeldBack::~InterruptsHeldBack() {
    if (m_entered && g_held.fetch_sub(1) == (kEnding | 1u)) endBySignal(g_pendingSignal.load());
}

void RemoveStalePartFiles(const std::filesystem::path& folder, std::chrono::seconds minimumAge) {
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        long process = 0;
        if (!IsPartFileName(it->path().filename().string(), &process) || process == processId()) continue;
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || entryError) continue;
        const auto written = it->last_write_time(entryError);
        if (entryError || now - written < minimumAge || !processIsGone(process)) continue;
        std::filesystem::remove(it->path(), entryError);
    }
}

}  // namespace moza
