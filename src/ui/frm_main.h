// FrmMain: the main window, holding the working image and wiring the preview, page view,
// markup box, options and menus to the commands.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/program_paths.h"
#include "common/result.h"
#include "convert/working_image.h"
#include "glyph/glyph_table.h"
#include "ui/art/art_page.h"
#include "ui/dialog_folders.h"
#include "ui/user_prompts.h"
#include "ui/zoom_keys.h"

class QAction;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace moza::ui {

class ArtWindow;
class CaptionProgress;
class InputBlocker;
class MakeJob;
class MarkupBox;
class PageView;
class PictureDrop;
class PreviewBox;

/// The program's working window: a fixed 528 x 344 client area with the preview, the page view,
/// the markup box and the options, and the File and View menus.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    /// Creates the window (hidden) and points the page view at the start page in the data
    /// folder of `paths`. `table` is the loaded glyph table; pages are written to the temp folder
    /// of `paths`. `prompts` answers the dialogs; by default the real dialogs are shown.
    FrmMain(std::shared_ptr<const glyph::GlyphTable> table, ProgramPaths paths,
            QWidget* parent = nullptr, std::unique_ptr<UserPrompts> prompts = nullptr);
    ~FrmMain() override;

    /// The working image, as the last File > Open or make command left it.
    const convert::WorkingImage& workingImage() const { return tPic; }
    float picWidth() const { return PicWidth; }
    std::int16_t picHeight() const { return PicHeight; }
    /// The page file written by the last completed make command; empty before the first.
    const QString& outputPath() const { return OutputPath; }
    /// Whether a make command is running.
    bool isMaking() const { return making(); }
    /// The viewer window, or null before 大きく表示 first opens it.
    ArtWindow* viewer() const { return m_viewer; }

    /// Loads `file` into the working image as File > Open does once a file is chosen: on failure
    /// tells the user and keeps the working image; then redraws the preview from the working
    /// image and disables File > Save As.
    void openPicture(const QString& file);

public slots:
    void MakeButton_Click();
    void MN_FILE_OPEN_Click();
    void MN_FILE_SAVE_Click();
    void MN_FILE_IMAGE_Click();
    void MN_FILE_END_Click();
    void MN_VIEW_START_Click();
    void MN_VIEW_VERSION_Click();
    void MN_VIEW_PAGE_Click();
    void MN_VIEW_LARGE_Click();
    void MN_VIEW_FOLDER_Click();
    void MN_VIEW_BROWSER_Click();
    void MN_VIEW_EXTERNAL_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls(QWidget* client);
    void createOptions(QWidget* client);
    void createMenus();
    /// The View menu's items after Start page and Version: the made page, the browser engine, the
    /// default browser.
    void createPageViewItems();
    void createDialogs();
    void createKeyboardHabits();
    void setTabOrder();
    void Form_Load();
    void updateMenuStates();

    QString dataPage(std::string_view name) const;
    /// Whether a make command runs: then no other command starts (see setMaking).
    bool making() const { return m_inputBlocker != nullptr; }
    void setMaking(bool making);
    /// The end of a make command: the page shown, or the failure reported.
    void makeFinished();
    /// Tells the user that `what` failed, and why in words of the program's language.
    void showFailure(const QString& what, const Error& error);
    /// The zoom commands' and 大きく表示's items of the View menu.
    void createArtViewItems();
    /// The page view's page again in the viewer window, when that is open.
    void followInViewer();
    /// The made page's artwork for a picture of it: the page view's when it shows that page, else
    /// read anew. Null, with the failure shown, when it cannot be read.
    std::shared_ptr<const ArtPage> madeArtPage();
    /// Draws `page` `width` pixels wide on a worker thread and writes it as a PNG at `file`, the
    /// window waiting meanwhile with a progress dialog that can cancel it.
    Status writeArtImage(std::shared_ptr<const ArtPage> page, int width, const QString& file);
    /// Names the picture just opened from `file`, its size and its size in characters.
    void describePicture(const QString& file);

    std::shared_ptr<const glyph::GlyphTable> m_table;
    ProgramPaths m_paths;
    std::unique_ptr<UserPrompts> m_prompts;

    // The state the commands share.
    convert::WorkingImage tPic;
    float PicWidth = 0.0f;
    std::int16_t PicHeight = 0;
    QString OutputPath;
    DialogFolders m_folders;  // where the open and save dialogs start
    bool m_pageMade = false;  // a make command completed since the last File > Open
    bool m_closing = false;   // the window was closed during a make command
    MakeJob* m_makeJob = nullptr;
    std::unique_ptr<InputBlocker> m_inputBlocker;  // lives while a make command runs
    std::unique_ptr<CaptionProgress> m_captions;

    // Controls, owned by the window.
    PreviewBox* sPic = nullptr;
    PageView* View = nullptr;
    MarkupBox* htmltag = nullptr;
    QGroupBox* Frame = nullptr;
    QPushButton* MakeButton = nullptr;
    QLabel* Label2 = nullptr;
    QRadioButton* colormono = nullptr;
    QRadioButton* colorweb = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* TextTitle = nullptr;
    QFileDialog* Dialog = nullptr;
    QFileDialog* Dialog2 = nullptr;
    QFileDialog* m_imageDialog = nullptr;  // the save dialog of 画像として保存
    ArtWindow* m_viewer = nullptr;
    PictureDrop* m_drop = nullptr;

    QMenu* MN_FILE = nullptr;
    QAction* MN_FILE_OPEN = nullptr;
    QAction* MN_FILE_SAVE = nullptr;
    QAction* MN_FILE_IMAGE = nullptr;
    QAction* MN_FILE_LINE = nullptr;
    QAction* MN_FILE_END = nullptr;
    QMenu* MN_VIEW = nullptr;
    QAction* MN_VIEW_START = nullptr;
    QAction* MN_VIEW_VERSION = nullptr;
    QAction* MN_VIEW_PAGE = nullptr;
    QAction* MN_VIEW_LARGE = nullptr;
    ZoomActions m_zoom;
    QAction* MN_VIEW_LINE = nullptr;
    QAction* MN_VIEW_BROWSER = nullptr;
    QAction* MN_VIEW_EXTERNAL = nullptr;
    QAction* MN_VIEW_FOLDER = nullptr;
};

}  // namespace moza::ui
