// A progress line on standard error, redrawn by its own thread so conversions never wait for it.
#include "cli/progress_line.h"

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "cli/cli_options.h"
#include "common/utf8.h"

namespace moza::cli {
namespace {
constexpr int kMaxSlots = kMaxJobs;  // one slot per picture converted at a time
constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedraw = std::chrono::milliseconds(200);
constexpr std::size_t kMaxLineBytes = 150;  // a longer line is cut at the start of a character
}  // namespace

ProgressLine::ProgressLine(bool enabled, int pictureCount, std::FILE* terminal)
    : m_enabled(enabled), m_terminal(terminal), m_pictureCount(pictureCount), m_slots(kMaxSlots) {
    if (m_enabled) m_thread = std::thread([this] { run(); });
}

ProgressLine::~ProgressLine() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard lock(m_mutex);
    clearLine();
}

convert::BlockProgress ProgressLine::started(int slot, const std::string& name) {
    std::lock_guard lock(m_mutex);
    Slot& s = m_slots[static_cast<std::size_t>(slot % kMaxSlots)];
    s.done = 0;
    s.total = 0;
    s.name = name;
    s.active = true;
    if (!m_enabled) return {};
    return {&ProgressLine::onBlock, &s};
}

void ProgressLine::finished(int slot) {
    std::lock_guard lock(m_mutex);
    m_slots[static_cast<std::size_t>(slot % kMaxSlots)].active = false;
    ++m_finished;
}

int ProgressLine::message(const std::string& line, std::FILE* stream) {
    std::lock_guard lock(m_mutex);
    clearLine();
    errno = 0;
    if (std::fprintf(stream, "%s\n", line.c_str()) >= 0 && std::fflush(stream) == 0) return 0;
    return errno != 0 ? errno : EIO;
}

void ProgressLine::onBlock(void* context, std::int64_t i, std::int64_t last) {
    auto* slot = static_cast<Slot*>(context);
    slot->done.store(i + 1, std::memory_order_relaxed);
    slot->total.store(last + 1, std::memory_order_relaxed);
}

void ProgressLine::run() {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, kRedraw, [this] { return m_stop; })) {
        if (std::chrono::steady_clock::now() - start < kQuietStart) continue;
        std::string line = "moza-convert: " + std::to_string(m_finished) + " of " + std::to_string(m_pictureCount) +
                           " pictures done";
        for (const Slot& s : m_slots) {
            const std::int64_t total = s.total.load(std::memory_order_relaxed);
            if (!s.active) continue;
            const std::int64_t percent = total > 0 ? s.done.load(std::memory_order_relaxed) * 100 / total : 0;
            line += "; " + s.name + " " + std::to_string(percent) + "%";
        }
        line.resize(Utf8Prefix(line, kMaxLineBytes).size());
        std::fprintf(m_terminal, "\r%s\033[K", line.c_str());
        std::fflush(m_terminal);
        m_shown = true;
    }
}

void ProgressLine::clearLine() {
    if (!m_shown) return;
    std::fprintf(m_terminal, "\r\033[K");
    std::fflush(m_terminal);
    m_shown = false;
}

}  // namespace moza::cli
