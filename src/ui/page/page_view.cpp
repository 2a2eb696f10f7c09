// PageView: choosing the part that shows a page, reading pages off the user interface thread.
#include "ui/page/page_view.h"

#include <QApplication>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

#include "convert/page_markup.h"
#include "convert/page_reader.h"
#include "picture/path_text.h"
#include "ui/art/art_view.h"
#include "ui/page/engine_notice.h"
#include "ui/art/zoom.h"

namespace moza::ui {

/// The outcome of work on a worker thread for navigation number `navigation`.
struct PageView::Reading {
    quint64 navigation = 0;
    LoadedArtPage loaded;
    QString failure;
    std::vector<std::shared_ptr<GlyphMasks>> masks;  // drawn ahead, for the art view
};

namespace {

/// Whether the file at `path` begins as Moza's page files do.
bool looksLikePageFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(static_cast<qint64>(convert::kPageFileMark.size()));
    return convert::IsPageFileStart(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
}

}  // namespace

PageView::PageView(QWidget* parent) : QStackedWidget(parent) {
    m_art = new ArtView(this);
    m_art->setObjectName(QStringLiteral("ArtView"));
    m_browser = new BrowserView(this);
    m_browser->setObjectName(QStringLiteral("BrowserView"));
    m_notice = new EngineNotice(this);
    addWidget(m_browser);
    addWidget(m_art);
    addWidget(m_notice);
    m_reading = new QFutureWatcher<std::shared_ptr<Reading>>(this);
    m_masking = new QFutureWatcher<std::shared_ptr<Reading>>(this);
    connect(m_reading, &QFutureWatcherBase::finished, this, &PageView::pageRead);
    connect(m_masking, &QFutureWatcherBase::finished, this, [this] {
        const std::shared_ptr<Reading> masked = m_masking->result();
        if (masked->navigation != m_navigation) return;
        m_art->takeMasks(masked->loaded.page, masked->masks);
        emit masksDrawn(masked->loaded.page, masked->masks);
    });
    connect(m_browser, &BrowserView::pageLoaded, this, [this] {
        if (m_notice->isLoading()) showPart(m_browser);  // shown once there: no flash of the page before
        if (currentWidget() == m_browser) emit pageShown();
    });
    connect(m_browser, &BrowserView::progressed, this, [this](int percent) {
        if (m_notice->isLoading()) m_notice->setLoading(percent);
    });
    connect(m_notice, &EngineNotice::stopRequested, this, &PageView::stopBrowserPage);
    connect(m_browser, &BrowserView::engineStopped, this, &PageView::engineStopped);
    connect(m_notice, &EngineNotice::reloadRequested, this, &PageView::showBrowserPage);
    connect(m_notice, &EngineNotice::artRequested, this, [this] { showInBrowser(false); });
    showPart(m_browser);
    m_background.setMaxThreadCount(1);
    m_background.setThreadPriority(QThread::LowPriority);
    m_warming = QtConcurrent::run(&m_background, PrepareArtDrawing);
}

PageView::~PageView() { m_stopMasking->store(true); }

bool PageView::showsBrowser() const { return currentWidget() != static_cast<QWidget*>(m_art); }

void PageView::setDataFolder(const QString& folder) { BrowserView::setDataFolder(folder); }

void PageView::showPart(QWidget* part) {
    const bool hadFocus = hasFocus() || isAncestorOf(QApplication::focusWidget());
    setCurrentWidget(part);
    setFocusProxy(part);
    if (hadFocus) part->setFocus();
}

void PageView::Navigate(const QString& path) {
    if (m_page && !showsBrowser()) {
        m_leftPath = m_path;
        m_leftView = m_art->viewState();
    }
    m_path = path;
    ++m_navigation;
    m_stopMasking->store(true);
    m_page.reset();
    if (looksLikePageFile(path)) {
        readPage();
    } else {
        showBrowserPage();
    }
    emit stateChanged();
}

void PageView::readPage() {
    m_art->showMessage(tr("Reading the page..."));
    showPart(m_art);
    releaseBrowserPage();
    m_reading->setFuture(QtConcurrent::run([path = m_path, navigation = m_navigation] {
        auto reading = std::make_shared<Reading>();
        reading->navigation = navigation;
        Result<LoadedArtPage> loaded = LoadArtPage(picture::ToPath(path));
        if (loaded) {
            reading->loaded = std::move(loaded).value();
        } else {
            reading->failure = QString::fromStdString(loaded.error().message);
        }
        return reading;
    }));
}

void PageView::pageRead() {
    const std::shared_ptr<Reading> reading = m_reading->result();
    if (reading->navigation != m_navigation) return;
    if (!reading->loaded.page) {
        // Not a whole page as Moza writes them: the browser engine shows whatever it is.
        qInfo("moza: %s; the browser engine shows it", qPrintable(reading->failure));
        showBrowserPage();
        emit stateChanged();
        return;
    }
    m_page = reading->loaded.page;
    m_art->showPage(reading->loaded);
    showPart(m_art);
    if (m_path == m_leftPath) m_art->restoreView(m_leftView);  // shown first: its size is settled
    emit stateChanged();
    emit pageShown();
    // The masks 1:1 and the zoom steps next to it need, drawn meanwhile so that those draw at once.
    m_stopMasking = std::make_shared<std::atomic<bool>>(false);
    m_masking->setFuture(QtConcurrent::run(&m_background, [navigation = reading->navigation, page = reading->loaded.page,
                                                           seed = GlyphMasks(*reading->loaded.unitMasks),
                                                           stop = m_stopMasking]() mutable {
        auto masked = std::make_shared<Reading>();
        masked->navigation = navigation;
        masked->loaded.page = page;
        masked->masks.push_back(std::make_shared<GlyphMasks>(seed));
        for (const int steps : {1, -1}) {
            const double scale = zoom::StepScale(1.0, steps, 0.0);  // the rung, whatever the page fits at
            masked->masks.push_back(std::make_shared<GlyphMasks>(page->texts, ArtLayout::kGlyphPixels * scale, false));
        }
        for (const std::shared_ptr<GlyphMasks>& masks : masked->masks) {
            const bool drawn = masks->drawAll(true, stop.get());
            masks->releaseFont();
            if (!drawn) break;  // another page is shown: these masks are no longer wanted
        }
        return masked;
    }));
}

void PageView::showInBrowser(bool browser) {
    if (!m_page || browser == showsBrowser()) return;
    if (browser) {
        showBrowserPage();
    } else {
        releaseBrowserPage();
        showPart(m_art);
    }
    emit stateChanged();
}

void PageView::showBrowserPage() {
    m_browserHoldsPage = looksLikePageFile(m_path);
    m_browser->showFile(m_path);
    if (m_browserHoldsPage) {
        // A page of Moza's may take the engine long: how far it has got, and a way out, meanwhile.
        m_notice->setLoading(0);
        showPart(m_notice);
    } else {
        showPart(m_browser);
    }
}

void PageView::stopBrowserPage() {
    m_notice->setReason(tr("it was stopped before the page was laid out"), hasArt());
    releaseBrowserPage();
    if (hasArt()) {
        showPart(m_art);
    } else {
        showPart(m_notice);
    }
    emit stateChanged();
}

void PageView::releaseBrowserPage() {
    // A page of a million cells holds gigabytes in the engine: let it go once it is out of sight.
    if (!m_browserHoldsPage) return;
    m_browserHoldsPage = false;
    m_browser->releasePage();
}

void PageView::engineStopped(const QString& reason) {
    if (currentWidget() != m_browser) return;
    m_notice->setReason(reason, hasArt());
    showPart(m_notice);
    emit stateChanged();
}

}  // namespace moza::ui
