// BrowserView in Qt WebEngine: the page scheme's profile, its settings, navigation by file path, and a stopped engine.
#include "ui/page/browser_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <cassert>
#include <iostream>

#include "glyph/glyph_font.h"
#include "ui/page/page_scheme.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace moza::ui {
namespace {

struct PageEngine {
    QWebEngineProfile* profile = nullptr;
    PageSchemeHandler* handler = nullptr;
    PageRequestGuard* guard = nullptr;
};

void applySettings(QWebEngineSettings& settings) {
    // A page title and the glyphs are written into pages unescaped: nothing in a page may run.
    settings.setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings.setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings.setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings.setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings.setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings.setDefaultTextEncoding(QStringLiteral("Shift_JIS"));
    const QString glyphFont = QString::fromLatin1(glyph::kGlyphFontFamily);
    settings.setFontFamily(QWebEngineSettings::StandardFont, glyphFont);
    settings.setFontFamily(QWebEngineSettings::SansSerifFont, glyphFont);
}

PageEngine& pageEngine() {
    static PageEngine engine;
    if (engine.profile == nullptr) {
        assert(QCoreApplication::instance() != nullptr);
        // Off the record: no cache, cookies or history on disk. The application object owns it,
        // so it outlives every page, which the engine requires.
        engine.profile = new QWebEngineProfile(QCoreApplication::instance());
        engine.profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        engine.profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        engine.profile->setSpellCheckEnabled(false);
        engine.handler = new PageSchemeHandler(engine.profile);
        engine.profile->installUrlSchemeHandler(kPageScheme, engine.handler);
        engine.guard = new PageRequestGuard(engine.profile);
        engine.profile->setUrlRequestInterceptor(engine.guard);
        applySettings(*engine.profile->settings());
        QObject::connect(engine.profile, &QObject::destroyed, [] { engine = PageEngine{}; });
    }
    return engine;
}

QString stopReason(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    switch (status) {
        case QWebEnginePage::CrashedTerminationStatus:
            return BrowserView::tr("it crashed (exit code %1); a very large page can use up the memory").arg(exitCode);
        case QWebEnginePage::KilledTerminationStatus:
            return BrowserView::tr("it was stopped by the system, often for lack of memory");
        default:
            return BrowserView::tr("it ended unexpectedly (exit code %1)").arg(exitCode);
    }
}

}  // namespace

bool TurnSandboxOffForRoot(bool runningAsRoot, std::ostream& note) {
    if (!runningAsRoot) return false;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    note << "moza: running as root, so the page view runs without the browser engine's sandbox\n";
    return true;
}

void PreparePageEngine() {
#if defined(Q_OS_UNIX)
    TurnSandboxOffForRoot(::geteuid() == 0, std::cerr);
#endif
    RegisterPageScheme();
}

BrowserView::BrowserView(QWidget* parent) : QWebEngineView(parent) {
    usePage();
    connect(this, &QWebEngineView::loadFinished, this, &BrowserView::pageLoaded);
    connect(this, &QWebEngineView::loadProgress, this, &BrowserView::progressed);
}

void BrowserView::releasePage() {
    // Loading nothing keeps the render process and its gigabytes for a large page; a page of its
    // own ends with its render process.
    QWebEnginePage* old = page();
    old->triggerAction(QWebEnginePage::Stop);
    usePage();
    delete old;
}

void BrowserView::usePage() {
    setPage(new QWebEnginePage(pageEngine().profile, this));
    connect(page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                emit engineStopped(stopReason(status, exitCode));
            });
}

void BrowserView::setDataFolder(const QString& folder) {
    pageEngine().handler->setOwnPagesFolder(QFileInfo(folder).absoluteFilePath());
}

void BrowserView::showFile(const QString& path) {
    const QString absolutePath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    pageEngine().handler->allowPage(absolutePath);
    load(PageUrl(absolutePath));
}

}  // namespace moza::ui
