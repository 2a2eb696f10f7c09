// BrowserView: the browser engine part of the page view: pages decoded as code page 932, scripts and network off.
#pragma once

#include <QString>
#include <QWebEngineView>
#include <ostream>

class QWebEngineProfile;

namespace moza::ui {

class PageRequestGuard;
class PageSchemeHandler;

/// Must run before the QApplication is created: registers the page scheme and sets the
/// browser engine's flags (its sandbox off, with a note on standard error, when run as root).
void PreparePageEngine();

/// Turns the browser engine's sandbox off when `runningAsRoot` (Chromium refuses to start as
/// root with it on) and writes a note saying so to `note`. Returns whether it turned it off.
bool TurnSandboxOffForRoot(bool runningAsRoot, std::ostream& note);

/// A browser engine view that shows local files by their plain path.
class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);

    /// Shows the file at `path`; returns at once, the page loads on its own. A missing file
    /// shows the engine's error page.
    void showFile(const QString& path);
    /// The program's data folder, whose fixed pages may use the pictures and style sheets beside
    /// them.
    static void setDataFolder(const QString& folder);

    /// The browser profile every page view shares: nothing kept on disk, scripts off, local
    /// files served through the page scheme, every other request blocked.
    static QWebEngineProfile& profile();
    static PageSchemeHandler& schemeHandler();
    static PageRequestGuard& requestGuard();

signals:
    /// The engine's render process ended while showing a page (it crashed, was killed or ran out
    /// of memory): the view is blank until the page is loaded again. `reason` says why, in words.
    void engineStopped(const QString& reason);
};

}  // namespace moza::ui
