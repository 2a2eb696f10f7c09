// PageView (the View pane): shows page files decoded as code page 932, with scripts and network off.
#pragma once

#include <QString>
#include <QWebEngineView>

namespace moza::ui {

/// Must run before the QApplication is created: registers the page scheme and sets the
/// browser engine's flags (its sandbox off, with a note on standard error, when run as root).
void PreparePageEngine();

/// The browser pane. Navigate() takes a plain file path, as the program forms it.
class PageView : public QWebEngineView {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    /// Shows the file at `path`; returns at once, the page loads on its own.
    void Navigate(const QString& path);
    /// The path last given to Navigate().
    QString currentPath() const { return m_path; }

private:
    QString m_path;
};

}  // namespace moza::ui
