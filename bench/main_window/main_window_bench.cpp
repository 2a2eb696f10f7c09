// File > Open and the make command of the main window on a photo, timed: the whole command, and
// the longest time the window went without its event loop turning (what a user sees as a freeze).
// Usage: <build>/bin/moza_main_window_bench [PICTURE]   (offscreen unless a display is set)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "common/program_paths.h"
#include "glyph/char_data_loader.h"
#include "ui/frm_main.h"
#include "ui/page/page_view.h"
#include "picture/path_text.h"

namespace {

/// Measures the longest gap between turns of the event loop while it runs.
class GapWatch {
public:
    GapWatch() {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop() {
        tick();
        m_timer.stop();
        return m_longest;
    }

private:
    void tick() {
        m_longest = std::max(m_longest, m_clock.restart());
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

class SilentPrompts : public moza::ui::UserPrompts {
public:
    QString chooseFile(QFileDialog&) override { return {}; }
    void showFailure(QWidget*, const QString& what, const QString& /*reason*/, const QString& details) override {
        std::fprintf(stderr, "failure: %s %s\n", qPrintable(what), qPrintable(details));
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    int chooseImageWidth(QWidget* /*parent*/, const moza::ui::ArtImageSizes& /*sizes*/) override { return 0; }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    const QString picture = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                     : QStringLiteral(MOZA_PICTURES_DIR "/seeding_4000x3000.jpg");
    if (!QFileInfo::exists(picture)) {
        std::fprintf(stderr,
                     "moza_main_window_bench: the photo %s is missing: give a picture as the argument, put the test "
                     "pictures in %s, or configure with -DMOZA_BENCH_PICTURES=<folder holding them>\n",
                     qPrintable(picture), MOZA_PICTURES_DIR);
        return 1;
    }

    auto loaded = moza::glyph::LoadCharData(moza::ProgramPaths::ForThisProgram().dataFile(moza::kCharDataName), {});
    if (!loaded) {
        std::fprintf(stderr, "%s\n", loaded.error().message.c_str());
        return 1;
    }
    auto table = std::make_shared<const moza::glyph::GlyphTable>(std::move(loaded).value());
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    QDir(folder.path()).mkpath(QStringLiteral("temp"));
    moza::ui::FrmMain window(table, moza::ProgramPaths::Beside(moza::picture::ToPath(folder.path())), nullptr,
                            std::make_unique<SilentPrompts>());
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500) QCoreApplication::processEvents();

    GapWatch gaps;
    QElapsedTimer clock;
    gaps.start();
    clock.start();
    window.openPicture(picture);
    const qint64 openMs = clock.elapsed();
    const qint64 openGap = gaps.stop();

    gaps.start();
    clock.restart();
    window.MakeButton_Click();
    const qint64 makeMs = clock.elapsed();
    const qint64 makeGap = gaps.stop();

    // The page view loads the page on its own; the window must stay live meanwhile.
    auto* view = window.findChild<moza::ui::PageView*>(QStringLiteral("View"));
    bool shown = false;
    QObject::connect(view, &moza::ui::PageView::pageShown, [&shown] { shown = true; });
    gaps.start();
    clock.restart();
    while (!shown && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 viewMs = clock.elapsed();
    const qint64 viewGap = gaps.stop();

    std::printf("picture %s (%d x %d)\n", qPrintable(picture), window.workingImage().width(),
                window.workingImage().height());
    std::printf("File > Open:        %6lld ms, longest without the event loop %6lld ms\n", openMs, openGap);
    std::printf("MakeButton_Click:   %6lld ms, longest without the event loop %6lld ms\n", makeMs, makeGap);
    std::printf("page shown in View: %6lld ms later, longest without the event loop %6lld ms%s\n", viewMs, viewGap,
                shown ? "" : " (not finished)");
    std::printf("page file: %s (%lld bytes)\n", qPrintable(window.outputPath()),
                static_cast<long long>(QFile(window.outputPath()).size()));
    return 0;
}
