// A main window in a throw-away program folder, with dialogs answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "convert/block_sampler.h"
#include "glyph/glyph_table.h"
#include "picture/path_text.h"
#include "ui/art/art_image.h"
#include "ui/frm_main.h"
#include "ui/markup_box.h"
#include "ui/page/page_view.h"
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

    QString chooseFile(QFileDialog& dialog) override {
        shown.push_back({dialog.objectName(), dialog.directory().absolutePath()});
        if (inspect) inspect(dialog);
        if (answers.empty()) return {};
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showFailure(QWidget*, const QString& what, const QString& reason, const QString&) override {
        failures.push_back({what, reason});
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return true; }
    int chooseImageWidth(QWidget*, const ArtImageSizes& sizes) override {
        return imageWidth != 0 ? imageWidth : sizes.standard.width();
    }

    /// Called with every dialog before it is answered, as a user would look at it.
    std::function<void(QFileDialog&)> inspect;
    std::deque<QString> answers;
    int imageWidth = 0;  // the width asked for a picture of a page; 0: the one offered
    std::vector<ShownDialog> shown;
    std::vector<Failure> failures;
};

/// The whole of a file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

/// Writes `bytes` to `path`, replacing what was there.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}

/// A picture of one colour.
inline QImage PlainImage(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

/// A main window over a table where white blocks become "A" and black blocks "あ" (82 A0),
/// in a program folder with a start page, a version page and an empty temp folder; the user's
/// Pictures and Documents folders (XDG user directories) are 写真 and 文書 in the test folder,
/// 文書 never made (as a user may have deleted it).
class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* page : {"/index.html", "/version.html"})
            WriteFile(subfolder(QStringLiteral("data")) + QString::fromLatin1(page), "<html><body>page</body></html>");
        subfolder(QStringLiteral("temp"));
        WriteFile(subfolder(QStringLiteral("config")) + QStringLiteral("/user-dirs.dirs"),
                  QStringLiteral("XDG_PICTURES_DIR=\"%1\"\nXDG_DOCUMENTS_DIR=\"%2\"\n")
                      .arg(subfolder(QStringLiteral("写真")), m_dir.filePath(QStringLiteral("文書")))
                      .toUtf8());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        // Settings the window remembers go to the test folder, fresh for every test.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
        restart();
    }
    // The test folder, and with it the user's folders, is gone after the test.
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    /// Closes the window and opens a new one over the same folders, as a second run of the program would.
    void restart() {
        auto prompts = std::make_unique<FakePrompts>();
        if (m_prompts != nullptr) *prompts = *m_prompts;  // the same user, answers and record
        m_window.reset();
        glyph::CharRecord black{{}, 0x82A0};  // white blocks are darkness level 0, the pattern of "A"
        black.Pattern.fill(convert::DarknessLevelOfSum(0));
        m_prompts = prompts.get();
        m_window = std::make_unique<FrmMain>(
            std::make_shared<const glyph::GlyphTable>(std::vector<glyph::CharRecord>{{{}, 'A'}, black}),
            ProgramPaths::Beside(picture::ToPath(m_dir.path())), nullptr, std::move(prompts));
    }

    /// Saves `image` as a PNG in the test folder and returns its path.
    QString writePicture(const QString& name, const QImage& image) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
        return path;
    }
    /// Answers the next open dialog with `file` (empty: cancel) and runs File > Open.
    void openThroughDialog(const QString& file) {
        m_prompts->answers.push_back(file);
        child("MN_FILE_OPEN")->trigger();
    }
    /// Answers the next save dialog with `file` (empty: cancel) and runs File > Save As.
    void saveAs(const QString& file) {
        m_prompts->answers.push_back(file);
        child("MN_FILE_SAVE")->trigger();
    }
    /// Types `title`, presses the make button and waits for the make command to end.
    void make(const QString& title = QStringLiteral("cat")) {
        child<QLineEdit>("TextTitle")->setText(title);
        child<QPushButton>("MakeButton")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->isMaking(); }, 60000));
    }
    /// The files in the temp folder.
    QStringList pageFiles() const { return QDir(tempFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QString tempFolder() const { return m_dir.filePath(QStringLiteral("temp")); }
    /// Makes the folder `name` in the test folder and returns its path.
    QString subfolder(const QString& name) const {
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(name)) << name.toStdString();
        return m_dir.filePath(name);
    }

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
};

}  // namespace moza::ui::testing
