// BrowserView: the part of the page view that shows pages as a browser does: Qt WebEngine where
// the build has it, else a plain HTML pane (Windows: WebEngine does not build with MinGW).
#pragma once

#include <QString>
#include <ostream>

#if MOZA_WITH_WEBENGINE
#include <QWebEngineView>
#else
#include <QTextBrowser>
#endif

namespace moza::ui {

/// Whether pages can be shown in a browser engine. Without one, Moza's pages show in the art view
/// only and the start and version pages in a plain HTML pane.
inline constexpr bool kHasBrowserEngine = MOZA_WITH_WEBENGINE;

#if MOZA_WITH_WEBENGINE
using BrowserBase = QWebEngineView;
#else
using BrowserBase = QTextBrowser;
#endif

/// Must run before the QApplication is created: registers the page scheme and sets the
/// browser engine's flags (its sandbox off, with a note on standard error, when run as root).
/// Does nothing without a browser engine.
void PreparePageEngine();

/// Turns the browser engine's sandbox off when `runningAsRoot` (Chromium refuses to start as
/// root with it on) and writes a note saying so to `note`. Returns whether it turned it off.
bool TurnSandboxOffForRoot(bool runningAsRoot, std::ostream& note);

/// A view that shows local files by their plain path: in the browser engine, decoded as code
/// page 932 unless they declare otherwise, scripts and network off; in the plain pane, as the
/// HTML subset Qt draws, and files too large for it as a note that says so.
class BrowserView : public BrowserBase {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);

    /// Shows the file at `path`; returns at once, the page loads on its own and pageLoaded()
    /// follows. A missing file shows an error page.
    void showFile(const QString& path);
    /// The program's data folder, whose fixed pages may use the pictures and style sheets beside
    /// them.
    static void setDataFolder(const QString& folder);
    /// Stops loading the page and lets go of it and of all the memory the engine held for it (its
    /// render process ends); the view is blank until the next showFile().
    void releasePage();

signals:
    /// The page given to showFile() has been loaded (or has failed to load) and is on screen.
    void pageLoaded();
    /// `percent` of the page given to showFile() has been loaded (not sent by the plain pane).
    void progressed(int percent);
    /// The engine's render process ended while showing a page (it crashed, was killed or ran out
    /// of memory): the view is blank until the page is loaded again. `reason` says why, in words.
    void engineStopped(const QString& reason);

#if MOZA_WITH_WEBENGINE
private:
    /// Gives the view a new page of the program's profile, watched for its render process.
    void usePage();
#endif
};

}  // namespace moza::ui
