// ArtWindow: the made page's artwork in a window of its own, as large as the screen allows.
#pragma once

#include <QMainWindow>
#include <QString>

#include "ui/art/art_page.h"

class QLabel;

namespace moza::ui {

class ArtView;

/// A resizable top-level window with an art view and a status bar (the zoom, the page's size in
/// characters, what the pages folder holds). It opens fitted, F11 switches full screen, Esc and
/// Ctrl+W close it, and the zoom keys of the main window work here too. Its size and place are
/// remembered across runs.
class ArtWindow : public QMainWindow {
    Q_OBJECT
public:
    /// A window belonging to `owner` (it closes with it); `pagesFolder` is where made pages go.
    ArtWindow(QWidget* owner, QString pagesFolder);

    /// Shows `loaded`'s page fitted, and raises the window.
    void showPage(const LoadedArtPage& loaded);
    ArtView* artView() const { return m_view; }
    /// The status bar's text, as one line.
    QString statusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createActions();
    void updateStatus();
    void updatePagesFolder();

    ArtView* m_view = nullptr;
    QLabel* m_zoom = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_pages = nullptr;
    QString m_pagesFolder;
    bool m_placed = false;  // the remembered size and place applied
};

/// "12 ページ、345 MB": how many pages `folder` holds and their size.
QString PagesFolderUsage(const QString& folder);

}  // namespace moza::ui
