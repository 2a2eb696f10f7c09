// A main window in a throw-away program folder, with dialogs answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "glyph/glyph_table.h"
#include "ui/frm_main.h"
#include "ui/markup_box.h"
#include "ui/page_view.h"
#include "ui/preview_box.h"
#include "ui/user_prompts.h"

namespace moza::ui::testing {

/// Answers file dialogs from a queue (an empty answer is a cancel) and records every dialog and
/// failure message instead of showing it.
class FakePrompts : public UserPrompts {
public:
    struct ShownDialog {
        QString name;
        QString folder;  // where the dialog starts
    };
    struct Failure {
        QString what;
        QString reason;
    };

    QString chooseFile(QFileDialog& dialog) override;
    void showFailure(QWidget*, const QString& what, const QString& reason, const QString&) override {
        failures.push_back({what, reason});
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return true; }

    /// Called with every dialog before it is answered, as a user would look at it.
    std::function<void(QFileDialog&)> inspect;
    std::deque<QString> answers;
    std::vector<ShownDialog> shown;
    std::vector<Failure> failures;
};

/// The whole of a file's bytes; empty when it cannot be read.
std::string ReadBytes(const QString& path);

/// Writes `bytes` to `path`, replacing what was there.
void WriteFile(const QString& path, const QByteArray& bytes);

/// A picture of one colour.
QImage PlainImage(int width, int height, QColor color);

/// A main window over a table where white blocks become "A" and black blocks "あ" (82 A0),
/// in a program folder with a start page, a version page and an empty temp folder; the user's
/// Pictures and Documents folders (XDG user directories) are 写真 and 文書 in the test folder.
class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Saves `image` as a PNG in the test folder and returns its path.
    QString writePicture(const QString& name, const QImage& image);
    /// Answers the next open dialog with `file` (empty: cancel) and runs File > Open.
    void openThroughDialog(const QString& file);
    /// Answers the next save dialog with `file` (empty: cancel) and runs File > Save As.
    void saveAs(const QString& file);
    /// Types `title` and presses the make button.
    void make(const QString& title = QStringLiteral("cat"));
    /// The files in the temp folder.
    QStringList pageFiles() const;
    QString tempFolder() const { return m_dir.filePath(QStringLiteral("temp")); }
    /// Makes the folder `name` in the test folder and returns its path.
    QString subfolder(const QString& name) const;

    template <typename T = QAction>
    T* child(const char* name) const {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool saveAsEnabled() const { return child("MN_FILE_SAVE")->isEnabled(); }
    PageView* view() const { return child<PageView>("View"); }
    MarkupBox* htmltag() const { return child<MarkupBox>("htmltag"); }
    PreviewBox* preview() const { return child<PreviewBox>("sPic"); }

    QTemporaryDir m_dir;
    std::unique_ptr<FrmMain> m_window;
    FakePrompts* m_prompts = nullptr;
    QByteArray m_oldConfig;
};

}  // namespace moza::ui::testing
