// EngineNotice: what the page view shows in place of a page whose browser engine stopped.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace moza::ui {

/// Says that the browser engine stopped and why, and offers to load the page again (and, for a
/// page the art view can show, to show it there instead). While the engine loads a large page it
/// shows how far it has got instead, with a button (and Esc) that stops it.
class EngineNotice : public QFrame {
    Q_OBJECT
public:
    explicit EngineNotice(QWidget* parent = nullptr);

    /// Shows `reason` (how the engine stopped); `artAvailable` offers the art view.
    void setReason(const QString& reason, bool artAvailable);
    /// Shows that the engine has loaded `percent` of the page, with the stop button.
    void setLoading(int percent);
    /// Whether it shows a page loading (setLoading() since the last setReason()).
    bool isLoading() const { return m_loading; }
    QString text() const;

signals:
    void reloadRequested();
    void artRequested();
    void stopRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_text = nullptr;
    QPushButton* m_reload = nullptr;
    QPushButton* m_art = nullptr;
    QPushButton* m_stop = nullptr;
    bool m_loading = false;
};

}  // namespace moza::ui
