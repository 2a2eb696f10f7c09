// ArtWindow: the window, its keys, its status bar and its remembered place.
#include "ui/art_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QStatusBar>

#include "picture/path_text.h"
#include "ui/art/art_view.h"
#include "ui/program_settings.h"
#include "ui/zoom_keys.h"

namespace moza::ui {
namespace {

const QString kGeometryKey = QStringLiteral("viewer/geometry");

}  // namespace

QString PagesFolderUsage(const QString& folder) {
    qint64 pages = 0;
    qint64 bytes = 0;
    QDirIterator files(folder, {QStringLiteral("*.html")}, QDir::Files);
    while (files.hasNext()) {
        files.next();
        ++pages;
        bytes += files.fileInfo().size();
    }
    return ArtWindow::tr("%Ln page(s), %1", nullptr, static_cast<int>(pages)).arg(QLocale().formattedDataSize(bytes));
}

ArtWindow::ArtWindow(QWidget* owner, QString pagesFolder) : QMainWindow(owner), m_pagesFolder(std::move(pagesFolder)) {
    setObjectName(QStringLiteral("ArtWindow"));
    setWindowFlag(Qt::Window);
    m_view = new ArtView(this);
    m_view->setObjectName(QStringLiteral("ArtWindowView"));
    setCentralWidget(m_view);
    m_zoom = new QLabel(this);
    m_size = new QLabel(this);
    m_pages = new QLabel(this);
    statusBar()->addWidget(m_zoom);
    statusBar()->addWidget(m_size);
    statusBar()->addPermanentWidget(m_pages);
    createActions();
    connect(m_view, &ArtView::viewChanged, this, &ArtWindow::updateStatus);
    connect(m_view, &ArtView::doubleClicked, this, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
}

void ArtWindow::createActions() {
    auto* fullScreen = new QAction(tr("Full screen"), this);
    fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreen, &QAction::triggered, this, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
    auto* closing = new QAction(tr("Close"), this);
    closing->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closing, &QAction::triggered, this, &QWidget::close);
    addActions({fullScreen, closing});
    addActions(CreateZoomActions(this, [this] { return m_view; }).all());
}

void ArtWindow::showPage(const LoadedArtPage& loaded) {
    m_view->showPage(loaded);
    setWindowTitle(tr("%1 - Moza").arg(picture::ToText(loaded.page->path.filename())));
    updatePagesFolder();
    updateStatus();
}

void ArtWindow::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        // Remembered from the last run; the first time, most of the screen the owner is on.
        if (!restoreGeometry(ProgramSettings()->value(kGeometryKey).toByteArray())) {
            const QRect screen =
                (parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())->availableGeometry();
            resize(screen.size() * 4 / 5);
            move(screen.center() - rect().center());
        }
    }
    QMainWindow::showEvent(event);
    updatePagesFolder();
}

void ArtWindow::closeEvent(QCloseEvent* event) {
    ProgramSettings()->setValue(kGeometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}

void ArtWindow::updateStatus() {
    const ArtPage* page = m_view->page();
    m_zoom->setText(page ? ZoomFigure(m_view->scale()) : QString());
    m_size->setText(page ? tr("%1 x %2 characters")
                               .arg(QLocale().toString(page->grid.columns))
                               .arg(QLocale().toString(page->grid.rows))
                         : QString());
}

void ArtWindow::updatePagesFolder() { m_pages->setText(tr("Pages folder: %1").arg(PagesFolderUsage(m_pagesFolder))); }

QString ArtWindow::statusText() const {
    return QStringList{m_zoom->text(), m_size->text(), m_pages->text()}.join(QStringLiteral(" | "));
}

}  // namespace moza::ui
