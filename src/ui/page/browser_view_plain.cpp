// BrowserView without a browser engine: Qt's own HTML pane shows the start and version pages and
// whatever the art view cannot show; links leave for the system's browser.
#include "ui/page/browser_view.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace moza::ui {
namespace {

// Qt's pane lays out a whole document at once: a page of this size takes seconds, a made photo's
// page (tens of megabytes) would hold the window for minutes.
constexpr qint64 kLargestShownFile = 4 * 1024 * 1024;

QString noteHtml(const QString& text) {
    return QStringLiteral("<p style=\"margin: 12px\">%1</p>").arg(text.toHtmlEscaped());
}

}  // namespace

void PreparePageEngine() {}

bool TurnSandboxOffForRoot(bool, std::ostream&) { return false; }

BrowserView::BrowserView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& url) { QDesktopServices::openUrl(url); });
}

void BrowserView::setDataFolder(const QString&) {}

void BrowserView::releasePage() { clear(); }

void BrowserView::showFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        setHtml(noteHtml(tr("The page '%1' cannot be shown: the file does not exist.").arg(QDir::toNativeSeparators(path))));
    } else if (file.size() > kLargestShownFile) {
        setHtml(noteHtml(tr("The page '%1' is too large to show here; open it in the default browser.")
                             .arg(QDir::toNativeSeparators(path))));
    } else {
        setSearchPaths({file.absolutePath()});
        setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
    }
    // Loading is synchronous here; the signal still follows the return, as the engine's does.
    QTimer::singleShot(0, this, &BrowserView::pageLoaded);
}

}  // namespace moza::ui
