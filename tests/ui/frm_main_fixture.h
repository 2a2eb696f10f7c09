// A main window in a throw-away program folder, with dialogs answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "glyph/glyph_table.h"
#include "picture/path_text.h"
#include "ui/frm_main.h"
#include "ui/markup_box.h"
#include "ui/page_view.h"
#include "ui/preview_box.h"
#include "ui/user_prompts.h"

namespace moza::ui::testing {

using moza::picture::ToPath;

/// Answers file dialogs from a queue (an empty answer is a cancel) and records every dialog and
/// failure message instead of showing it.
class FakePrompts : public UserPrompts {
public:
    struct ShownDialog {
        QString name;
        QStringList filters;
        QString selectedFilter;
        QFileDialog::AcceptMode mode;
        QString defaultSuffix;
        QString folder;  // where the dialog starts
    };
    struct Failure {
        QString what;
        QString reason;
        QString details;
    };

    QString chooseFile(QFileDialog& dialog) override {
        shown.push_back({dialog.objectName(), dialog.nameFilters(), dialog.selectedNameFilter(), dialog.acceptMode(),
                         dialog.defaultSuffix(), dialog.directory().absolutePath()});
        if (inspect) inspect(dialog);
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showFailure(QWidget*, const QString& what, const QString& reason, const QString& details) override {
        failures.push_back({what, reason, details});
    }
    bool confirm(QWidget*, const QString& question, const QString&) override {
        questions.push_back(question);
        return confirmAnswer;
    }

    /// Called with every dialog before it is answered, as a user would look at it.
    std::function<void(QFileDialog&)> inspect;
    std::deque<QString> answers;
    std::vector<ShownDialog> shown;
    std::vector<Failure> failures;
    std::vector<QString> questions;
    bool confirmAnswer = true;
};

/// One record per uniform darkness level, so a test knows which character each block gets.
glyph::CharRecord UniformRecord(glyph::Level level, glyph::CharCode code);

/// A two-record table: white blocks become "A", black blocks "あ" (82 A0).
std::shared_ptr<const glyph::GlyphTable> WhiteAndBlackTable();

/// The whole of a file's bytes; empty when it cannot be read.
std::string ReadBytes(const QString& path);

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Creates the window over `table` (the white-and-black table unless given).
    void createWindow(std::shared_ptr<const glyph::GlyphTable> table = WhiteAndBlackTable());

    /// Saves `image` as a PNG in the test folder and returns its path.
    QString writePicture(const QString& name, const QImage& image);
    /// A picture of one colour.
    static QImage plainImage(int width, int height, QColor color);
    /// Answers the next open dialog with `file` and runs File > Open.
    void openThroughDialog(const QString& file);
    /// Types `title` and presses the make button.
    void make(const QString& title = QStringLiteral("cat"));
    /// The page files in the temp folder.
    QStringList pageFiles() const;

    QString programFolder() const { return m_dir.path(); }
    QString tempFolder() const { return m_dir.filePath(QStringLiteral("temp")); }

    template <typename T>
    T* child(const char* name) const {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    bool saveAsEnabled() const { return action("MN_FILE_SAVE")->isEnabled(); }
    PageView* view() const { return child<PageView>("View"); }
    MarkupBox* htmltag() const { return child<MarkupBox>("htmltag"); }
    PreviewBox* preview() const { return child<PreviewBox>("sPic"); }

    QTemporaryDir m_dir;
    std::unique_ptr<FrmMain> m_window;
    FakePrompts* m_prompts = nullptr;
};

}  // namespace moza::ui::testing
