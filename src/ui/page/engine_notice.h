// EngineNotice: what the page view shows in place of a page whose browser engine stopped.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace moza::ui {

/// Says that the browser engine stopped and why, and offers to load the page again (and, for a
/// page the art view can show, to show it there instead).
class EngineNotice : public QFrame {
    Q_OBJECT
public:
    explicit EngineNotice(QWidget* parent = nullptr);

    /// Shows `reason` (how the engine stopped); `artAvailable` offers the art view.
    void setReason(const QString& reason, bool artAvailable);
    QString text() const;

signals:
    void reloadRequested();
    void artRequested();

private:
    QLabel* m_text = nullptr;
    QPushButton* m_reload = nullptr;
    QPushButton* m_art = nullptr;
};

}  // namespace moza::ui
