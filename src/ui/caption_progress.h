// CaptionProgress: the make command's progress for the window caption, at a bounded rate.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

#include "convert/page_composer.h"

namespace moza::ui {

/// The window caption when no page is being made.
inline constexpr char kIdleCaption[] = "Moza";

/// Turns the block reports of a conversion, which may arrive on any thread, into progress
/// captions ("Moza - 12/1155 (01.04%)") handed to `show` on `receiver`'s thread through its event
/// queue: the first block's at once, then at most one per `interval` (zero: every block's), so a
/// long make command neither floods the window system nor waits for it.
class CaptionProgress {
public:
    CaptionProgress(QObject* receiver, std::function<void(const QString&)> show, std::chrono::milliseconds interval);

    /// The hook to hand to the composer; valid while this object lives.
    convert::BlockProgress blockProgress() { return {&CaptionProgress::onBlock, this}; }

private:
    static void onBlock(void* context, std::int64_t i, std::int64_t last);
    void post(std::int64_t i, std::int64_t last);

    QPointer<QObject> m_receiver;
    std::function<void(const QString&)> m_show;
    std::int64_t m_intervalMs;
    QElapsedTimer m_sincePosted;
    bool m_postedAny = false;
};

}  // namespace moza::ui
