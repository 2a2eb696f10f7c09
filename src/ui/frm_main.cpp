// FrmMain: builds the window at its fixed positions and runs the commands by calling the core.
#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <chrono>
#include <future>

#include "common/program_folder.h"
#include "convert/cp932.h"
#include "convert/page_composer.h"
#include "convert/page_file.h"
#include "picture/picture_loader.h"
#include "ui/caption_progress.h"
#include "ui/input_blocker.h"
#include "ui/markup_box.h"
#include "ui/page_view.h"
#include "ui/path_text.h"
#include "ui/picture_drop.h"
#include "ui/preview_box.h"

namespace moza::ui {
namespace {

constexpr QSize kClientSize(528, 344);
constexpr std::chrono::milliseconds kCaptionInterval(50);
constexpr std::chrono::milliseconds kWritePoll(10);

const QStringList kOpenFilters = {QStringLiteral("bmpファイル(*.bmp)"), QStringLiteral("jpgファイル(*.jpg)"),
                                  QStringLiteral("全てのファイル(*.*)")};
const QStringList kSaveFilters = {QStringLiteral("htmlファイル(*.html)")};

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

/// Writes the page file of `tableHtml` for the title into `tempFolder`; returns its path. Safe to
/// run on any thread.
Result<QString> writePage(const std::filesystem::path& tempFolder, const std::string& titleUtf8,
                          const std::string& tableHtml) {
    Result<std::string> titleCp932 = convert::Utf8ToCp932(titleUtf8);
    if (!titleCp932) return Error{"the title cannot be written: " + titleCp932.error().message};
    Result<std::filesystem::path> path = convert::PageFilePath(tempFolder, convert::LocalTimeNow(), titleUtf8);
    if (!path) return path.error();
    if (Status status = convert::WritePageFile(path.value(), titleCp932.value(), tableHtml); !status) {
        return status.error();
    }
    return ToText(path.value());
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

FrmMain::FrmMain(std::shared_ptr<const glyph::GlyphTable> table, std::filesystem::path programFolder,
                 QWidget* parent, std::unique_ptr<UserPrompts> prompts)
    : QMainWindow(parent),
      m_table(std::move(table)),
      m_programFolder(std::move(programFolder)),
      m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()) {
    assert(m_table != nullptr);
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromLatin1(convert::kIdleCaption.data(), convert::kIdleCaption.size()));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);
    createControls(client);
    createMenus();
    createDialogs();
    setTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Drags over controls that take no drops travel up to the window, where PictureDrop sees them.
    setAcceptDrops(true);
    m_drop = new PictureDrop(this, [this](const QString& file) {
        if (!m_making) openPicture(file);  // the make command reads the working image meanwhile
    });
    Form_Load();
}

FrmMain::~FrmMain() = default;

void FrmMain::createControls(QWidget* client) {
    sPic = placed(new PreviewBox(client), "sPic", QRect(8, 8, 193, 193));
    View = placed(new PageView(client), "View", QRect(208, 8, 312, 249));
    View->setDataFolder(fixedPath(kDataFolderSuffix));
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
    MN_FILE_LINE = MN_FILE->addSeparator();
    MN_FILE_LINE->setObjectName(QStringLiteral("MN_FILE_LINE"));
    MN_FILE_END = menuItem(MN_FILE, "MN_FILE_END", QStringLiteral("終了(&X)"));
    MN_VIEW = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    MN_VIEW->setObjectName(QStringLiteral("MN_VIEW"));
    MN_VIEW_START = menuItem(MN_VIEW, "MN_VIEW_START", QStringLiteral("スタートページ(&S)"));
    MN_VIEW_VERSION = menuItem(MN_VIEW, "MN_VIEW_VERSION", QStringLiteral("バージョン情報(&V)"));

    connect(MN_FILE_OPEN, &QAction::triggered, this, &FrmMain::MN_FILE_OPEN_Click);
    connect(MN_FILE_SAVE, &QAction::triggered, this, &FrmMain::MN_FILE_SAVE_Click);
    connect(MN_FILE_END, &QAction::triggered, this, &FrmMain::MN_FILE_END_Click);
    connect(MN_VIEW_START, &QAction::triggered, this, &FrmMain::MN_VIEW_START_Click);
    connect(MN_VIEW_VERSION, &QAction::triggered, this, &FrmMain::MN_VIEW_VERSION_Click);
    updateMenuStates();
}

void FrmMain::createDialogs() {
    Dialog = new QFileDialog(this);
    Dialog->setObjectName(QStringLiteral("Dialog"));
    Dialog->setAcceptMode(QFileDialog::AcceptOpen);
    Dialog->setFileMode(QFileDialog::ExistingFile);

    Dialog2 = new QFileDialog(this);
    Dialog2->setObjectName(QStringLiteral("Dialog2"));
    Dialog2->setAcceptMode(QFileDialog::AcceptSave);
    Dialog2->setFileMode(QFileDialog::AnyFile);
    Dialog2->setNameFilters(kSaveFilters);
}

void FrmMain::setTabOrder() {
    // The preview takes no keyboard focus: there is nothing to do with it from the keyboard.
    sPic->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(View, htmltag);
    QWidget::setTabOrder(htmltag, MakeButton);
    QWidget::setTabOrder(MakeButton, colormono);
    QWidget::setTabOrder(colormono, colorweb);
    QWidget::setTabOrder(colorweb, TextTitle);
}

void FrmMain::Form_Load() { View->Navigate(fixedPath(kStartPageSuffix)); }

void FrmMain::updateMenuStates() {
    // File > Save As copies the page of the last make command, so it is offered only between a
    // completed make command and the next File > Open. Everything else is always available.
    MN_FILE_OPEN->setEnabled(true);
    MN_FILE_SAVE->setEnabled(m_pageMade);
    MN_FILE_END->setEnabled(true);
    MN_VIEW_START->setEnabled(true);
    MN_VIEW_VERSION->setEnabled(true);
}

QString FrmMain::fixedPath(std::string_view suffix) const { return ToText(FixedPath(m_programFolder, suffix)); }

void FrmMain::showFailure(const QString& what, const std::string& reason) {
    m_prompts->showFailure(this, what, QString::fromStdString(reason));
}

void FrmMain::MN_FILE_OPEN_Click() {
    const QString previousFilter = Dialog->selectedNameFilter();
    Dialog->setNameFilters(kOpenFilters);
    if (kOpenFilters.contains(previousFilter)) Dialog->selectNameFilter(previousFilter);
    const QString file = m_prompts->chooseFile(*Dialog);
    if (file.isEmpty()) return;  // a cancelled dialog changes nothing
    openPicture(file);
}

void FrmMain::openPicture(const QString& file) {
    Result<convert::WorkingImage> loaded = picture::LoadPicture(ToPath(file));
    if (loaded) {
        tPic = std::move(loaded).value();
    } else {
        showFailure(tr("The picture %1 could not be opened.").arg(native(file)), loaded.error().message);
    }
    PicWidth = tPic.PicWidth();
    PicHeight = tPic.PicHeight();
    sPic->ShowPicture(tPic);
    m_pageMade = false;
    updateMenuStates();
}

void FrmMain::MakeButton_Click() {
    if (m_making) return;
    m_making = true;
    auto blocker = std::make_unique<InputBlocker>();
    Result<std::string> tableHtml = composeTable();
    Result<QString> written = Error{};
    if (tableHtml && !m_closeRequested) written = showAndWritePage(tableHtml.value());
    blocker.reset();
    m_making = false;
    if (m_closeRequested) {
        close();  // the user closed the window while the page was being made
        return;
    }
    if (!tableHtml) {
        showFailure(tr("The page could not be made."), tableHtml.error().message);
        return;
    }
    if (!written) {
        showFailure(tr("The page could not be saved in %1.").arg(native(fixedPath(kTempFolderSuffix))),
                    written.error().message);
        return;
    }
    OutputPath = written.value();
    View->Navigate(OutputPath);
    m_pageMade = true;
    updateMenuStates();
}

Result<std::string> FrmMain::composeTable() {
    tPic.EnlargeToBlocks();
    PicWidth = tPic.PicWidth();
    PicHeight = tPic.PicHeight();
    const auto mode = colorweb->isChecked() ? convert::ColorMode::Web : convert::ColorMode::Mono;
    CaptionProgress progress(this, kCaptionInterval);
    Result<std::string> tableHtml = convert::ComposeTableText(tPic, *m_table, mode, progress.blockProgress());
    setWindowTitle(QString::fromLatin1(convert::kIdleCaption.data(), convert::kIdleCaption.size()));
    return tableHtml;
}

Result<QString> FrmMain::showAndWritePage(const std::string& tableHtml) {
    const std::string titleUtf8 = TextTitle->text().toStdString();
    const std::filesystem::path tempFolder = ToPath(fixedPath(kTempFolderSuffix));
    // The markup box and the page file each take a while for a large picture: the file is
    // written on its own thread meanwhile, and the window repaints until both are done.
    std::future<Result<QString>> writing =
        std::async(std::launch::async, [&] { return writePage(tempFolder, titleUtf8, tableHtml); });
    htmltag->setMarkup(tableHtml);
    while (writing.wait_for(kWritePoll) != std::future_status::ready) QCoreApplication::processEvents();
    return writing.get();
}

void FrmMain::MN_FILE_SAVE_Click() {
    const QString target = m_prompts->chooseFile(*Dialog2);
    if (target.isEmpty()) return;  // a cancelled dialog does nothing
    if (Status copied = convert::CopyPageFile(ToPath(OutputPath), ToPath(target)); !copied) {
        showFailure(tr("The page could not be saved as %1.").arg(native(target)), copied.error().message);
    }
}

void FrmMain::MN_FILE_END_Click() {
    close();
    // Every other window goes too; once the last one has closed, the program ends.
    QApplication::closeAllWindows();
}

void FrmMain::MN_VIEW_START_Click() { View->Navigate(fixedPath(kStartPageSuffix)); }

void FrmMain::MN_VIEW_VERSION_Click() { View->Navigate(fixedPath(kVersionPageSuffix)); }

void FrmMain::closeEvent(QCloseEvent* event) {
    if (m_making) {
        // Closing in the middle of the make command would pull the window out from under it; the
        // window closes as soon as the step under way returns (a page not yet composed is dropped).
        m_closeRequested = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace moza::ui
