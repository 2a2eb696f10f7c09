// InputBlocker: while it lives, the program takes no keyboard, mouse or drop input.
#pragma once

#include <QObject>

namespace moza::ui {

/// Discards user input sent to any widget of the program while it exists, so that a command that
/// lets the window repaint while it works cannot be interrupted by another command. Input is
/// dropped, not queued: a click made during the command does nothing afterwards.
class InputBlocker : public QObject {
    Q_OBJECT
public:
    InputBlocker();
    ~InputBlocker() override;

    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    /// True for the kinds of event that carry user input.
    static bool isUserInput(const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace moza::ui
