// CaptionProgress: throttled captions, posted to the receiver's thread.
#include "ui/caption_progress.h"

#include <QMetaObject>

namespace moza::ui {
namespace {

// Reading the clock for every one of a million blocks costs more than the caption it saves.
constexpr std::int64_t kClockEveryBlocks = 64;

}  // namespace

CaptionProgress::CaptionProgress(QObject* receiver, std::function<void(const QString&)> show,
                                 std::chrono::milliseconds interval)
    : m_receiver(receiver), m_show(std::move(show)), m_intervalMs(interval.count()) {}

void CaptionProgress::onBlock(void* context, std::int64_t i, std::int64_t last) {
    auto* self = static_cast<CaptionProgress*>(context);
    if (!self->m_postedAny || self->m_intervalMs <= 0) {
        self->post(i, last);
    } else if (i % kClockEveryBlocks == 0 && self->m_sincePosted.elapsed() >= self->m_intervalMs) {
        self->post(i, last);
    }
}

void CaptionProgress::post(std::int64_t i, std::int64_t last) {
    const QString caption = QString::fromStdString(convert::ProgressCaption(i, last));
    if (m_receiver != nullptr) {
        QMetaObject::invokeMethod(m_receiver, [show = m_show, caption] { show(caption); }, Qt::QueuedConnection);
    }
    m_postedAny = true;
    m_sincePosted.start();
}

}  // namespace moza::ui
