// CaptionProgress: throttled captions, with the event loop given a turn after each one.
#include "ui/caption_progress.h"

#include <QCoreApplication>
#include <QWidget>

namespace moza::ui {
namespace {

// Reading the clock for every one of a million blocks costs more than the caption it saves.
constexpr std::int64_t kClockEveryBlocks = 64;

}  // namespace

CaptionProgress::CaptionProgress(QWidget* window, std::chrono::milliseconds interval)
    : m_window(window), m_intervalMs(interval.count()) {}

void CaptionProgress::onBlock(void* context, std::int64_t i, std::int64_t last) {
    auto* self = static_cast<CaptionProgress*>(context);
    if (!self->m_shownAny || self->m_intervalMs <= 0) {
        self->show(i, last);
    } else if (i % kClockEveryBlocks == 0 && self->m_sinceShown.elapsed() >= self->m_intervalMs) {
        self->show(i, last);
    }
}

void CaptionProgress::show(std::int64_t i, std::int64_t last) {
    m_window->setWindowTitle(QString::fromStdString(convert::ProgressCaption(i, last)));
    m_shownAny = true;
    // The window repaints and the page view goes on loading; user input is held off by the caller.
    QCoreApplication::processEvents();
    m_sinceShown.start();
}

}  // namespace moza::ui
