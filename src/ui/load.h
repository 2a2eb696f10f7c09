// Load: the splash window that runs start-up, showing the title picture and one status line.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/program_paths.h"
#include "common/result.h"
#include "glyph/char_data_loader.h"
#include "glyph/glyph_table.h"

namespace moza::ui {

class UserPrompts;

/// Makes the main window once the glyph table is loaded.
using MainWindowFactory =
    std::function<std::unique_ptr<QWidget>(std::shared_ptr<const glyph::GlyphTable> table)>;

/// The borderless 312 x 206 splash window. What it shows lives in a kept image: the top-left
/// 312 x 206 pixels of the title picture on white, with the status line drawn over them.
class Load : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 312;
    static constexpr int kHeight = 206;
    /// The status line's top-left corner: 40 units of 312 / 305 pixel across, 144 pixels down.
    static constexpr double kStatusLeft = 40.0 * kWidth / 305.0;
    static constexpr double kStatusTop = 144.0;

    explicit Load(QWidget* parent = nullptr);

    /// Start-up: loads the title picture title.bmp from the data folder of `paths`, shows the
    /// window, loads the glyph table from char.csv there with a status line per record, then
    /// makes and shows the main window and closes itself. Returns the main window. On a failure
    /// it tells the user through `prompts` (naming the file and the reason) and returns nullptr;
    /// no main window is made.
    std::unique_ptr<QWidget> Form_Load(const ProgramPaths& paths,
                                       const MainWindowFactory& makeMainWindow, UserPrompts& prompts);

    /// Loads `file` into Title. Fails, naming the file, when it is missing or not a picture.
    Status loadTitle(const std::filesystem::path& file);

    /// Shows `text` as the status line over a clean copy of the title picture. While visible the
    /// window is repainted at once, but at most once per display frame, so that thousands of
    /// records cost no time; the latest line always reaches the screen with flushStatus().
    void ShowLoadStatus(const QString& text);
    /// What the table loader reports its status lines to: ShowLoadStatus, a call per line. Such
    /// lines come back to back: the repaint they are due is checked every 16th line, so call
    /// flushStatus() once the table is loaded.
    glyph::LoadStatusSink statusSink();
    /// Repaints now when the screen lags behind the latest status line.
    void flushStatus();

    /// The latest status line.
    QString statusText() const { return m_status; }

    /// The title picture holder (never shown).
    QImage Title;

signals:
    /// Every ShowLoadStatus call, in order.
    void statusShown(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void renderKeptImage() const;
    qint64 frameNanoseconds() const;

    QString m_status;
    mutable QImage m_kept;
    mutable bool m_keptStale = true;
    bool m_screenStale = true;
    QElapsedTimer m_sinceRepaint;
    qint64 m_frameNanoseconds = 0;  // frameNanoseconds() at the last repaint, not asked again per line
    int m_burstLines = 0;           // lines from statusSink() since the last flushStatus()
};

}  // namespace moza::ui
