// CaptionProgress: the make command's progress in the window caption, shown at a bounded rate.
#pragma once

#include <QElapsedTimer>
#include <chrono>
#include <cstdint>

#include "convert/page_composer.h"

class QWidget;

namespace moza::ui {

/// Puts the caption of block i ("Moza - 12/1155 (01.04%)") on `window` for the first block and
/// then at most once per `interval`, and lets the window repaint each time, so that a long make
/// command neither floods the window system nor freezes the window. An interval of zero shows
/// every block's caption.
class CaptionProgress {
public:
    CaptionProgress(QWidget* window, std::chrono::milliseconds interval);

    /// The hook to hand to the composer; valid while this object lives.
    convert::BlockProgress blockProgress() { return {&CaptionProgress::onBlock, this}; }

private:
    static void onBlock(void* context, std::int64_t i, std::int64_t last);
    void show(std::int64_t i, std::int64_t last);

    QWidget* m_window;
    std::int64_t m_intervalMs;
    QElapsedTimer m_sinceShown;
    bool m_shownAny = false;
};

}  // namespace moza::ui
