// PageView (the View pane): Moza's own pages in the art view, every other page in the browser engine.
#pragma once

#include <QFutureWatcher>
#include <QStackedWidget>
#include <QThreadPool>
#include <atomic>
#include <QString>
#include <cstddef>
#include <memory>

#include "ui/art/art_page.h"
#include "ui/art/art_view.h"
#include "ui/page/browser_view.h"

namespace moza::ui {

class EngineNotice;

/// The browser pane. Navigate() takes a plain file path, as the program forms it. A page that
/// Moza wrote (recognised by how it begins) is read on a worker thread and shown in the art view,
/// fitted, or where the view stood when the same page was last left. A file that does not read as
/// such a page (the start and version pages, a damaged or truncated page, anything else) is shown
/// by the browser engine; a page of Moza's shown there has its progress shown until it is laid out.
/// The file is only read.
class PageView : public QStackedWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    ~PageView() override;

    /// Shows the file at `path`; returns at once. pageShown() follows once it is on screen.
    void Navigate(const QString& path);
    /// The path last given to Navigate().
    QString currentPath() const { return m_path; }
    /// The program's data folder, whose fixed pages may use the pictures and style sheets beside them.
    void setDataFolder(const QString& folder);

    /// Whether the current page is one the art view can show (known once it has been read).
    bool hasArt() const { return m_page != nullptr; }
    /// Whether the current page is shown by the browser engine.
    bool showsBrowser() const;
    /// The cells of the current page; 0 unless hasArt().
    std::size_t cellCount() const { return m_page ? m_page->grid.cellCount() : 0; }
    /// Shows the current page (one with art) in the browser engine instead of the art view, or
    /// back in the art view. The browser engine lays out every cell: slow on large pages.
    void showInBrowser(bool browser);

    ArtView* artView() const { return m_art; }
    BrowserView* browser() const { return m_browser; }

signals:
    /// The current page is on screen: drawn in the art view, or loaded by the browser engine.
    void pageShown();
    /// hasArt() or showsBrowser() changed.
    void stateChanged();
    /// Masks of the page's characters were drawn ahead for `page` (the art view has taken them).
    void masksDrawn(const std::shared_ptr<const ArtPage>& page, const std::vector<std::shared_ptr<GlyphMasks>>& masks);

private:
    struct Reading;

    void showPart(QWidget* part);
    void showBrowserPage();
    void releaseBrowserPage();
    /// Stops the browser engine loading a page: the art view shows it instead, where it can.
    void stopBrowserPage();
    void readPage();
    void pageRead();
    void engineStopped(const QString& reason);

    ArtView* m_art = nullptr;
    BrowserView* m_browser = nullptr;
    EngineNotice* m_notice = nullptr;
    QString m_path;
    std::shared_ptr<const ArtPage> m_page;
    bool m_browserHoldsPage = false;  // the browser engine was given a page file, maybe a large one
    // Where the art view stood on the page last left, so that coming back finds it there.
    QString m_leftPath;
    ArtViewState m_leftView;
    quint64 m_navigation = 0;  // counts Navigate() calls: work for an earlier page is dropped
    QFutureWatcher<std::shared_ptr<Reading>>* m_reading = nullptr;
    QFutureWatcher<std::shared_ptr<Reading>>* m_masking = nullptr;
    QFuture<void> m_warming;  // PrepareArtDrawing, started with the view
    // Masks drawn ahead use a thread of their own, at low priority, so reading a page never waits
    // for them; they stop when the view goes to another page.
    QThreadPool m_background;
    std::shared_ptr<std::atomic<bool>> m_stopMasking = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace moza::ui
