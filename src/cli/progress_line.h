// A progress line on standard error for conversions that take more than about a second.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "convert/page_composer.h"

namespace moza::cli {

/// Shows "moza-convert: 2 of 5 pictures done; seeding.jpg 45%" on a terminal, redrawn a few
/// times a second once the work has run for a second; silent when disabled. Thread-safe.
class ProgressLine {
public:
    /// Draws on `terminal` (the program's standard error) when enabled.
    ProgressLine(bool enabled, int pictureCount, std::FILE* terminal);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    /// A slot that reports the blocks of one picture; valid until finished(slot).
    convert::BlockProgress started(int slot, const std::string& name);
    void finished(int slot);
    /// Prints a line on `stream` (standard output or error) without tearing the progress line.
    /// Returns 0, or the error number when the line could not be printed.
    int message(const std::string& line, std::FILE* stream);

private:
    struct Slot {
        std::atomic<std::int64_t> done{0};
        std::atomic<std::int64_t> total{0};
        std::string name;
        bool active = false;
    };
    static void onBlock(void* context, std::int64_t i, std::int64_t last);
    void run();
    void clearLine();

    bool m_enabled;
    std::FILE* m_terminal;
    int m_pictureCount;
    int m_finished = 0;
    std::vector<Slot> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_shown = false;
    std::thread m_thread;
};

}  // namespace moza::cli
