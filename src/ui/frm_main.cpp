// FrmMain: builds the window at its fixed positions and runs the commands by calling the core.
#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QImageReader>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <chrono>

#include "common/atomic_file_writer.h"
#include "common/program_paths.h"
#include "convert/page_composer.h"
#include "picture/picture_loader.h"
#include "ui/art/art_image.h"
#include "ui/art/art_view.h"
#include "ui/art_window.h"
#include "ui/caption_progress.h"
#include "ui/failure_text.h"
#include "ui/file_dialogs.h"
#include "ui/input_blocker.h"
#include "ui/make_job.h"
#include "ui/markup_box.h"
#include "ui/open_externally.h"
#include "ui/page/page_view.h"
#include "picture/path_text.h"
#include "ui/picture_drop.h"
#include "ui/preview_box.h"

namespace moza::ui {
namespace {

constexpr QSize kClientSize(528, 344);  // scripts/main-window.sh finds the window by it
constexpr std::chrono::milliseconds kCaptionInterval(50);
/// Pages with more cells than this take the browser engine minutes (a 640 x 480 picture makes 34,240).
constexpr std::size_t kAskBeforeBrowserCells = 200000;

const QStringList kSaveFilters = {QStringLiteral("htmlファイル(*.html)")};
const QStringList kImageFilters = {QStringLiteral("PNG画像(*.png)")};

/// The open dialog's entries: the three of the design, then every picture Moza reads.
QStringList openFilters() {
    QStringList patterns;
    for (const char* common : {"bmp", "jpg", "jpeg", "png", "gif", "webp", "tif", "tiff"})
        patterns << QStringLiteral("*.") + QString::fromLatin1(common);
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format);
        if (!patterns.contains(pattern)) patterns << pattern;
    }
    return {QStringLiteral("bmpファイル(*.bmp)"), QStringLiteral("jpgファイル(*.jpg)"),
            QStringLiteral("全てのファイル(*.*)"),
            QStringLiteral("画像ファイル(%1)").arg(patterns.join(QLatin1Char(' ')))};
}

template <typename Widget>
Widget* placed(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

FrmMain::FrmMain(std::shared_ptr<const glyph::GlyphTable> table, ProgramPaths paths,
                 QWidget* parent, std::unique_ptr<UserPrompts> prompts)
    : QMainWindow(parent),
      m_table(std::move(table)),
      m_paths(std::move(paths)),
      m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()) {
    assert(m_table != nullptr);
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromLatin1(kIdleCaption));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);
    createControls(client);
    createMenus();
    createDialogs();
    createKeyboardHabits();
    setTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Drags over controls that take no drops travel up to the window, where PictureDrop sees them.
    setAcceptDrops(true);
    m_drop = new PictureDrop(this, [this](const QString& file) {
        if (!making()) openPicture(file);
    });
    m_makeJob = new MakeJob(this);
    connect(m_makeJob, &MakeJob::finished, this, &FrmMain::makeFinished);
    Form_Load();
}

FrmMain::~FrmMain() = default;

void FrmMain::createControls(QWidget* client) {
    sPic = placed(new PreviewBox(client), "sPic", QRect(8, 8, 193, 193));
    View = placed(new PageView(client), "View", QRect(208, 8, 312, 249));
    View->setDataFolder(picture::ToText(m_paths.dataFolder()));
    htmltag = placed(new MarkupBox(client), "htmltag", QRect(208, 264, 312, 73));
    htmltag->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    createOptions(client);
    MakeButton = placed(new QPushButton(QStringLiteral("作成"), client), "MakeButton", QRect(120, 304, 81, 33));
    connect(MakeButton, &QPushButton::clicked, this, &FrmMain::MakeButton_Click);
}

void FrmMain::createOptions(QWidget* client) {
    Frame = placed(new QGroupBox(QStringLiteral("設定"), client), "Frame", QRect(8, 208, 193, 89));
    Label2 = placed(new QLabel(QStringLiteral("color"), Frame), "Label2", QRect(8, 40, 49, 17));
    colormono = placed(new QRadioButton(QStringLiteral("モノクロ"), Frame), "colormono", QRect(72, 64, 89, 17));
    colorweb = placed(new QRadioButton(QStringLiteral("Webカラー"), Frame), "colorweb", QRect(72, 40, 89, 17));
    Label3 = placed(new QLabel(QStringLiteral("title"), Frame), "Label3", QRect(8, 16, 49, 17));
    TextTitle = placed(new QLineEdit(Frame), "TextTitle", QRect(72, 16, 113, 18));
    colorweb->setChecked(true);  // the two buttons share the frame, so Qt keeps exactly one checked
}

void FrmMain::createMenus() {
    MN_FILE = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    MN_FILE->setObjectName(QStringLiteral("MN_FILE"));
    MN_FILE_OPEN = menuItem(MN_FILE, "MN_FILE_OPEN", QStringLiteral("開く(&O)"));
    MN_FILE_SAVE = menuItem(MN_FILE, "MN_FILE_SAVE", QStringLiteral("名前を付けて保存(&S)"));
    MN_FILE_IMAGE = menuItem(MN_FILE, "MN_FILE_IMAGE", QStringLiteral("画像として保存(&I)"));
    MN_FILE_LINE = MN_FILE->addSeparator();
    MN_FILE_LINE->setObjectName(QStringLiteral("MN_FILE_LINE"));
    MN_FILE_END = menuItem(MN_FILE, "MN_FILE_END", QStringLiteral("終了(&X)"));
    MN_VIEW = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    MN_VIEW->setObjectName(QStringLiteral("MN_VIEW"));
    MN_VIEW_START = menuItem(MN_VIEW, "MN_VIEW_START", QStringLiteral("スタートページ(&S)"));
    MN_VIEW_VERSION = menuItem(MN_VIEW, "MN_VIEW_VERSION", QStringLiteral("バージョン情報(&V)"));

    connect(MN_FILE_OPEN, &QAction::triggered, this, &FrmMain::MN_FILE_OPEN_Click);
    connect(MN_FILE_SAVE, &QAction::triggered, this, &FrmMain::MN_FILE_SAVE_Click);
    connect(MN_FILE_IMAGE, &QAction::triggered, this, &FrmMain::MN_FILE_IMAGE_Click);
    connect(MN_FILE_END, &QAction::triggered, this, &FrmMain::MN_FILE_END_Click);
    connect(MN_VIEW_START, &QAction::triggered, this, &FrmMain::MN_VIEW_START_Click);
    connect(MN_VIEW_VERSION, &QAction::triggered, this, &FrmMain::MN_VIEW_VERSION_Click);
    createPageViewItems();
    updateMenuStates();
}

void FrmMain::createPageViewItems() {
    MN_VIEW_PAGE = menuItem(MN_VIEW, "MN_VIEW_PAGE", QStringLiteral("作成したページ(&P)"));
    createArtViewItems();
    MN_VIEW_LINE = MN_VIEW->addSeparator();
    MN_VIEW_LINE->setObjectName(QStringLiteral("MN_VIEW_LINE"));
    MN_VIEW_BROWSER = menuItem(MN_VIEW, "MN_VIEW_BROWSER", QStringLiteral("ブラウザエンジンで表示(&B)"));
    MN_VIEW_BROWSER->setCheckable(true);
    MN_VIEW_BROWSER->setVisible(kHasBrowserEngine);
    MN_VIEW_EXTERNAL = menuItem(MN_VIEW, "MN_VIEW_EXTERNAL", QStringLiteral("既定のブラウザで開く(&O)"));
    MN_VIEW_FOLDER = menuItem(MN_VIEW, "MN_VIEW_FOLDER", QStringLiteral("作成したページのフォルダーを開く(&D)"));
    connect(MN_VIEW_PAGE, &QAction::triggered, this, &FrmMain::MN_VIEW_PAGE_Click);
    connect(MN_VIEW_BROWSER, &QAction::triggered, this, &FrmMain::MN_VIEW_BROWSER_Click);
    connect(MN_VIEW_EXTERNAL, &QAction::triggered, this, &FrmMain::MN_VIEW_EXTERNAL_Click);
    connect(MN_VIEW_FOLDER, &QAction::triggered, this, &FrmMain::MN_VIEW_FOLDER_Click);
    connect(View, &PageView::stateChanged, this, &FrmMain::updateMenuStates);
}

void FrmMain::createArtViewItems() {
    MN_VIEW_LARGE = menuItem(MN_VIEW, "MN_VIEW_LARGE", QStringLiteral("大きく表示(&L)"));
    MN_VIEW_LARGE->setShortcut(QKeySequence(Qt::Key_F11));
    connect(MN_VIEW_LARGE, &QAction::triggered, this, &FrmMain::MN_VIEW_LARGE_Click);
    connect(View->artView(), &ArtView::doubleClicked, this, &FrmMain::MN_VIEW_LARGE_Click);
    MN_VIEW->addSeparator();
    // The keys work wherever the focus is in the window (the title box after Enter, too).
    m_zoom = CreateZoomActions(this, [this] { return View->showsBrowser() ? nullptr : View->artView(); });
    MN_VIEW->addActions(m_zoom.all());
    connect(View, &PageView::pageShown, this, &FrmMain::followInViewer);
    connect(View, &PageView::masksDrawn, this, [this](const auto& page, const auto& masks) {
        if (m_viewer != nullptr) m_viewer->artView()->takeMasks(page, masks);
    });
}

void FrmMain::createDialogs() {
    Dialog = CreateFileDialog(this, QStringLiteral("Dialog"), QFileDialog::AcceptOpen);
    Dialog2 = CreateFileDialog(this, QStringLiteral("Dialog2"), QFileDialog::AcceptSave);
    SetNameFilters(*Dialog2, kSaveFilters);
    m_imageDialog = CreateFileDialog(this, QStringLiteral("ImageDialog"), QFileDialog::AcceptSave);
    SetNameFilters(*m_imageDialog, kImageFilters);
    m_imageDialog->setDefaultSuffix(QStringLiteral("png"));
}

void FrmMain::createKeyboardHabits() {
    // The keys every desktop program answers to, beside the menus' access keys. A shortcut
    // belongs to its menu item, so it is available exactly when the item is (updateMenuStates).
    MN_FILE_OPEN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MN_FILE_SAVE->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    MN_FILE_END->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Open, type a title, press Enter: the page is made as if 作成 had been clicked.
    connect(TextTitle, &QLineEdit::returnPressed, MakeButton, &QPushButton::click);
}

void FrmMain::setTabOrder() {
    // The preview takes no keyboard focus: there is nothing to do with it from the keyboard.
    sPic->setFocusPolicy(Qt::NoFocus);
    // Tab leaves the markup box, as in the platform's own multi-line boxes; the markup never
    // needs a tab typed into it.
    htmltag->setTabChangesFocus(true);
    QWidget::setTabOrder(View, htmltag);
    QWidget::setTabOrder(htmltag, MakeButton);
    QWidget::setTabOrder(MakeButton, colormono);
    QWidget::setTabOrder(colormono, colorweb);
    QWidget::setTabOrder(colorweb, TextTitle);
}

void FrmMain::Form_Load() { View->Navigate(dataPage(kStartPageName)); }

void FrmMain::updateMenuStates() {
    // File > Save As copies the page of the last make command, so it is offered only between a
    // completed make command and the next File > Open. While a make command runs no command
    // starts; otherwise everything else is always available.
    const bool idle = !making();
    MN_FILE_OPEN->setEnabled(idle);
    MN_FILE_SAVE->setEnabled(idle && m_pageMade);
    MN_FILE_END->setEnabled(true);
    MN_VIEW_START->setEnabled(idle);
    MN_VIEW_VERSION->setEnabled(idle);
    // The made page: back to it after the start or version page; in the browser engine instead
    // of the art view (only pages the art view shows have the choice); in the default browser.
    const bool showsMadePage = !OutputPath.isEmpty() && View->currentPath() == OutputPath;
    MN_VIEW_PAGE->setEnabled(idle && !OutputPath.isEmpty() && !showsMadePage);
    MN_VIEW_BROWSER->setEnabled(idle && View->hasArt());
    MN_VIEW_BROWSER->setChecked(View->hasArt() && View->showsBrowser());
    MN_VIEW_EXTERNAL->setEnabled(idle && showsMadePage);
    MN_VIEW_FOLDER->setEnabled(idle);
    MN_FILE_IMAGE->setEnabled(idle && m_pageMade);
    const bool showsArt = View->hasArt() && !View->showsBrowser();
    MN_VIEW_LARGE->setEnabled(idle && showsArt);
    m_zoom.setEnabled(idle && showsArt);
}

void FrmMain::setMaking(bool making) {
    // The window's input rule, kept here alone: while a make command runs, user input is
    // discarded (not queued for afterwards), the menu commands are unavailable, and only closing
    // the window is heard (it cancels the make command).
    m_inputBlocker = making ? std::make_unique<InputBlocker>() : nullptr;
    updateMenuStates();
}

QString FrmMain::dataPage(std::string_view name) const { return picture::ToText(m_paths.dataFile(name)); }

void FrmMain::showFailure(const QString& what, const Error& error) {
    m_prompts->showFailure(this, what, FailureText::reason(error), QString::fromStdString(error.message));
}

void FrmMain::MN_FILE_OPEN_Click() {
    SetNameFilters(*Dialog, openFilters(), m_folders.openFilter());
    Dialog->setDirectory(m_folders.openFolder());
    const QString file = m_prompts->chooseFile(*Dialog);
    m_folders.setOpenFilter(Dialog->selectedNameFilter());
    if (file.isEmpty()) return;  // a cancelled dialog changes nothing
    openPicture(file);
}

void FrmMain::openPicture(const QString& file) {
    m_folders.pictureOpened(file);
    // Native separators, so that messages name the file as the user sees it.
    Result<convert::WorkingImage> loaded = picture::LoadPicture(picture::ToPath(QDir::toNativeSeparators(file)));
    if (loaded) {
        tPic = std::move(loaded).value();
        describePicture(file);
    } else {
        showFailure(tr("The picture could not be opened."), loaded.error());
    }
    PicWidth = tPic.PicWidth();
    PicHeight = tPic.PicHeight();
    sPic->ShowPicture(tPic);
    m_pageMade = false;
    updateMenuStates();
}

void FrmMain::describePicture(const QString& file) {
    // Where the user sees it without a change to the fixed layout: the preview's tooltip.
    sPic->setToolTip(tr("%1 %2 x %3 → %4 x %5 characters")
                         .arg(QFileInfo(file).fileName())
                         .arg(tPic.width())
                         .arg(tPic.height())
                         .arg(convert::WholeBlocks(tPic.width()) / 3)
                         .arg(convert::WholeBlocks(tPic.height()) / 3));
}

void FrmMain::MakeButton_Click() {
    if (making()) return;
    if (Status prepared = m_paths.prepareTempFolder(); !prepared) {
        showFailure(tr("The page could not be made."), prepared.error());
        return;
    }
    const auto mode = colorweb->isChecked() ? convert::ColorMode::Web : convert::ColorMode::Mono;
    m_captions = std::make_unique<CaptionProgress>(
        this,
        [this](const QString& caption) {
            if (making()) setWindowTitle(caption);  // a caption posted before the end arrives late
        },
        kCaptionInterval);
    setMaking(true);
    m_makeJob->start({&tPic, m_table, TextTitle->text().toStdString(), mode,
                      m_paths.tempFolder(), m_captions->blockProgress()});
}

void FrmMain::makeFinished() {
    MakeJob::Outcome outcome = m_makeJob->takeOutcome();
    m_captions.reset();
    setMaking(false);
    setWindowTitle(QString::fromLatin1(kIdleCaption));
    PicWidth = tPic.PicWidth();
    PicHeight = tPic.PicHeight();
    if (m_closing) return;
    if (!outcome.page) {
        showFailure(tr("The page could not be made."), outcome.page.error());
        return;
    }
    OutputPath = picture::ToText(outcome.page.value());
    View->Navigate(OutputPath);  // first: the view reads the page on its own thread meanwhile
    htmltag->setMarkup(outcome.tableHtml);
    m_pageMade = true;
    updateMenuStates();
}

void FrmMain::MN_FILE_SAVE_Click() {
    Dialog2->setDirectory(m_folders.saveFolder());
    const QString target = m_prompts->chooseFile(*Dialog2);
    if (target.isEmpty()) return;  // a cancelled dialog does nothing
    m_folders.pageSaved(target);
    if (Status copied = CopyFileWhole(picture::ToPath(OutputPath), picture::ToPath(QDir::toNativeSeparators(target))); !copied) {
        showFailure(tr("The page could not be saved."), copied.error());
    }
}

void FrmMain::MN_FILE_IMAGE_Click() {
    const std::shared_ptr<const ArtPage> page = madeArtPage();
    if (!page) return;
    const int width = m_prompts->chooseImageWidth(this, ArtImageSizesOf(*page));
    if (width <= 0) return;  // cancelled
    m_imageDialog->setDirectory(m_folders.saveFolder());
    m_imageDialog->selectFile(QFileInfo(OutputPath).completeBaseName() + QStringLiteral(".png"));
    const QString target = m_prompts->chooseFile(*m_imageDialog);
    if (target.isEmpty()) return;
    m_folders.pageSaved(target);
    if (Status written = writeArtImage(page, width, QDir::toNativeSeparators(target));
        !written && !written.error().message.empty()) {
        showFailure(tr("The picture of the page could not be saved."), written.error());
    }
}

std::shared_ptr<const ArtPage> FrmMain::madeArtPage() {
    if (const ArtPage* shown = View->artView()->page();
        shown != nullptr && shown->path == picture::ToPath(OutputPath)) {
        return View->artView()->loaded().page;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<LoadedArtPage> loaded = LoadArtPage(picture::ToPath(OutputPath));
    QApplication::restoreOverrideCursor();
    if (!loaded) {
        showFailure(tr("The picture of the page could not be saved."), loaded.error());
        return nullptr;
    }
    return loaded.value().page;
}

Status FrmMain::writeArtImage(std::shared_ptr<const ArtPage> page, int width, const QString& file) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    QFutureWatcher<Status> watcher;
    QProgressDialog progress(tr("Drawing the picture of the page..."), tr("Cancel"), 0, 0, this);
    progress.setWindowTitle(QStringLiteral("Moza"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    connect(&progress, &QProgressDialog::canceled, this, [stop] { stop->store(true); });
    connect(&watcher, &QFutureWatcherBase::finished, &progress, &QProgressDialog::reset);
    watcher.setFuture(QtConcurrent::run([page, width, file, stop]() -> Status {
        Result<QImage> image = DrawArtImage(*page, width, stop.get());
        if (!image) return image.error();
        return WritePng(image.value(), picture::ToPath(file));
    }));
    // A modal progress dialog runs its own loop: the window waits here, as the user sees it wait.
    progress.exec();
    watcher.waitForFinished();
    if (stop->load()) return Error{""};
    return watcher.result();
}

void FrmMain::MN_FILE_END_Click() {
    close();
    // Every other window goes too; once the last one has closed, the program ends.
    QApplication::closeAllWindows();
}

void FrmMain::MN_VIEW_START_Click() { View->Navigate(dataPage(kStartPageName)); }

void FrmMain::MN_VIEW_VERSION_Click() { View->Navigate(dataPage(kVersionPageName)); }

void FrmMain::MN_VIEW_PAGE_Click() { View->Navigate(OutputPath); }

void FrmMain::MN_VIEW_LARGE_Click() {
    if (!View->hasArt() || View->showsBrowser()) return;
    if (m_viewer == nullptr) m_viewer = new ArtWindow(this, picture::ToText(m_paths.tempFolder()));
    m_viewer->showPage(View->artView()->loaded());
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

void FrmMain::followInViewer() {
    if (m_viewer != nullptr && m_viewer->isVisible() && View->hasArt()) m_viewer->showPage(View->artView()->loaded());
}

void FrmMain::MN_VIEW_FOLDER_Click() {
    const QString folder = picture::ToText(m_paths.tempFolder());
    if (Status prepared = m_paths.prepareTempFolder(); !prepared) {  // before the first page, too
        showFailure(tr("The folder of the made pages could not be opened."), prepared.error());
        return;
    }
    OpenExternally(this, folder, [this, folder] {
        m_prompts->showFailure(
            this, tr("The folder of the made pages could not be opened."),
            tr("No file manager was found, or it would not start."),
            "'" + QDir::toNativeSeparators(folder) + "': no file manager was found, or it would not start");
    });
}
void FrmMain::MN_VIEW_BROWSER_Click() {
    const bool browser = MN_VIEW_BROWSER->isChecked();
    const std::size_t cells = View->cellCount();
    if (browser && cells > kAskBeforeBrowserCells &&
        !m_prompts->confirm(this, tr("Show this page of %L1 characters in the browser engine?").arg(cells),
                            tr("The browser engine lays out every character of the page one by one: for a page "
                               "this large that may take minutes and several gigabytes of memory, and the engine "
                               "may give up. The art view shows the same page at once."))) {
        updateMenuStates();
        return;
    }
    View->showInBrowser(browser);
    updateMenuStates();
}

void FrmMain::MN_VIEW_EXTERNAL_Click() {
    const QString page = QFileInfo(View->currentPath()).absoluteFilePath();
    OpenExternally(this, page, [this, page] {
        m_prompts->showFailure(this, tr("The page could not be opened in the default browser."),
                               tr("No default browser was found, or it would not start."),
                               "'" + QDir::toNativeSeparators(page) + "': no default browser was found, or it would not start");
    });
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (making()) {
        // The page under way is dropped: its part file goes, and no page half-written remains.
        m_closing = true;
        m_makeJob->cancelAndWait();
    }
    // The viewer window belongs to this one: the program ends with the main window, as before.
    if (m_viewer != nullptr) m_viewer->close();
    QMainWindow::closeEvent(event);
}

}  // namespace moza::ui
