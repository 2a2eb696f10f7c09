// Benchmarks of the desktop program: htmltag taking the markup of large pictures, and start-up.
// Run from the program folder's build: <build>/bin/moza_ui_bench (offscreen unless a display is set).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "convert/page_composer.h"
#include "common/program_folder.h"
#include "common/program_paths.h"
#include "convert/working_image.h"
#include "glyph/char_data_loader.h"
#include "glyph/table_image.h"
#include "ui/frm_main.h"
#include "ui/load.h"
#include "ui/markup_box.h"
#include "ui/page/page_view.h"
#include "ui/art/art_image.h"
#include "ui/user_prompts.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace {

using Clock = QElapsedTimer;

class SilentPrompts : public moza::ui::UserPrompts {
public:
    QString chooseFile(QFileDialog& /*dialog*/) override { return {}; }
    void showFailure(QWidget* /*parent*/, const QString& what, const QString& /*reason*/, const QString& details) override {
        qWarning("start-up failed: %s: %s", qPrintable(what), qPrintable(details));
    }
    bool confirm(QWidget* /*parent*/, const QString& /*question*/, const QString& /*detail*/) override { return false; }
    int chooseImageWidth(QWidget* /*parent*/, const moza::ui::ArtImageSizes& /*sizes*/) override { return 0; }
};

// The shipped glyph table, or an empty one when it cannot be read.
const moza::glyph::GlyphTable& shippedTable() {
    static const moza::glyph::GlyphTable table = [] {
        auto loaded = moza::glyph::LoadCharData(moza::ProgramPaths::ForThisProgram().dataFile(moza::kCharDataName), {});
        return loaded ? std::move(loaded).value() : moza::glyph::GlyphTable();
    }();
    return table;
}

// The table markup of a width x height picture of smooth colour gradients with some noise.
const std::string& markupOf(int width, int height) {
    static std::map<std::pair<int, int>, std::string> cache;
    std::string& markup = cache[{width, height}];
    if (!markup.empty()) return markup;
    auto created = moza::convert::WorkingImage::create(width, height);
    moza::convert::WorkingImage image = std::move(created).value();
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const std::uint32_t r = static_cast<std::uint32_t>(x * 255 / width);
            const std::uint32_t g = static_cast<std::uint32_t>(y * 255 / height);
            const std::uint32_t b = (noise >> 16) & 255u;
            image.setPixel(x, y, r | (g << 8) | (b << 16));
        }
    }
    image.EnlargeToBlocks();
    const moza::Status composed = moza::convert::ComposeTable(image, shippedTable(), moza::convert::ColorMode::Web,
                                                              [&markup](std::string_view piece) {
                                                                  markup.append(piece);
                                                                  return true;
                                                              });
    if (!composed) markup.clear();
    return markup;
}

// A shown markup box of htmltag's size.
std::unique_ptr<moza::ui::MarkupBox> shownBox() {
    auto box = std::make_unique<moza::ui::MarkupBox>();
    box->resize(312, 73);
    box->show();
    QApplication::processEvents();
    return box;
}

void reportMarkup(benchmark::State& state, const std::string& markup) {
    state.counters["markup_MB"] = static_cast<double>(markup.size()) / 1e6;
}

// setMarkup and the first paint, as the user waits for them after a make command.
void HtmltagSetMarkup(benchmark::State& state) {
    const std::string& markup = markupOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto box = shownBox();
    for (auto _ : state) {
        box->setMarkup(markup);
        box->repaint();
    }
    reportMarkup(state, markup);
}

// The rest of the markup after the first part, as it arrives between other events: the
// longest part is the longest the window can be kept waiting by it.
void HtmltagLoadRest(benchmark::State& state) {
    const std::string& markup = markupOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto box = shownBox();
    double longestMs = 0;
    int parts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        box->setMarkup(markup);
        state.ResumeTiming();
        for (;;) {
            Clock clock;
            clock.start();
            if (!box->loadNextPart()) break;
            box->repaint();
            longestMs = std::max(longestMs, static_cast<double>(clock.nsecsElapsed()) / 1e6);
            ++parts;
        }
    }
    reportMarkup(state, markup);
    state.counters["longest_part_ms"] = longestMs;
    state.counters["parts"] = parts / static_cast<double>(state.iterations());
}

// Dragging the scroll bar to the middle and painting there.
void HtmltagScrollToMiddle(benchmark::State& state) {
    const std::string& markup = markupOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto box = shownBox();
    box->setMarkup(markup);
    QScrollBar* bar = box->verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((step++ % 2 == 0) ? bar->maximum() / 2 : bar->maximum() / 3);
        box->repaint();
    }
    reportMarkup(state, markup);
}

// Typing one character in the middle of the markup.
void HtmltagTypeCharacter(benchmark::State& state) {
    const std::string& markup = markupOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto box = shownBox();
    box->setMarkup(markup);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(box->document()->characterCount() / 2);
    box->setTextCursor(cursor);
    for (auto _ : state) {
        QTest::keyClick(box.get(), Qt::Key_X);
        box->repaint();
    }
    reportMarkup(state, markup);
}

// Select all and copy: the whole one-line markup onto the clipboard.
void HtmltagSelectAllCopy(benchmark::State& state) {
    const std::string& markup = markupOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto box = shownBox();
    box->setMarkup(markup);
    for (auto _ : state) {
        box->selectAll();
        box->copy();
    }
    reportMarkup(state, markup);
}

// Milliseconds since this process started (Linux; 0 elsewhere), to 10 ms.
double msSinceProcessStart() {
#ifdef __linux__
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;  // field 22: start time in clock ticks after boot
    const double startSeconds = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    double uptimeSeconds = 0;
    std::ifstream("/proc/uptime") >> uptimeSeconds;
    return (uptimeSeconds - startSeconds) * 1000.0;
#else
    return 0;
#endif
}

// The program folder, or, while it has no title picture yet, a temporary one with a plain title
// picture and the program folder's char.csv.
std::filesystem::path startupFolder() {
    const std::filesystem::path programFolder = moza::ProgramFolder();
    const moza::ProgramPaths paths = moza::ProgramPaths::Beside(programFolder);
    if (std::filesystem::exists(paths.dataFile(moza::kTitlePictureName))) return programFolder;
    static QTemporaryDir temporary;
    const std::filesystem::path folder = temporary.path().toStdString();
    std::filesystem::create_directories(folder / "data");
    std::filesystem::create_directories(folder / "temp");
    std::filesystem::copy_file(paths.dataFile(moza::kCharDataName), folder / "data" / "char.csv",
                               std::filesystem::copy_options::overwrite_existing);
    QImage title(312, 206, QImage::Format_RGB32);
    title.fill(Qt::cyan);
    title.save(QString::fromStdString((folder / "data" / "title.bmp").string()), "BMP");
    return folder;
}

// Start-up from the splash to the main window shown, with the program folder's own data. The
// first iteration also starts the browser engine, as every real start does.
void StartupToMainWindow(benchmark::State& state) {
    const moza::ProgramPaths paths = moza::ProgramPaths::Beside(startupFolder());
    SilentPrompts prompts;
    for (auto _ : state) {
        moza::ui::Load splash;
        std::unique_ptr<QWidget> window = splash.Form_Load(
            paths,
            [&paths](std::shared_ptr<const moza::glyph::GlyphTable> table) -> std::unique_ptr<QWidget> {
                return std::make_unique<moza::ui::FrmMain>(std::move(table), paths);
            },
            prompts);
        if (!window) {
            state.SkipWithError("start-up failed");
            break;
        }
        static bool firstStart = true;
        if (firstStart) state.counters["from_process_start_ms"] = msSinceProcessStart();
        firstStart = false;
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["records"] = shippedTable().CharCount();
}

// The glyph table loaded as start-up loads it, a status line per record on the shown splash:
// argument 0 parses char.csv (a table without its binary form), 1 reads the program's table.
void SplashTableLoad(benchmark::State& state) {
    const std::filesystem::path file = moza::ProgramPaths::Beside(startupFolder()).dataFile(moza::kCharDataName);
    moza::ui::Load splash;
    splash.show();
    const moza::glyph::LoadStatusSink status = splash.statusSink();
    for (auto _ : state) {
        auto table = state.range(0) == 0 ? moza::glyph::LoadCharData(file, status)
                                         : moza::glyph::LoadShippedCharData(file, status);
        if (!table) state.SkipWithError("the table did not load");
        splash.flushStatus();
    }
    state.counters["from_binary_form"] =
        moza::glyph::ReadTableImage(moza::glyph::TableImagePath(file), file).has_value();
}

BENCHMARK(SplashTableLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupToMainWindow)->Iterations(1)->Name("StartupToMainWindow/cold")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StartupToMainWindow)->Iterations(5)->Name("StartupToMainWindow/warm")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmltagSetMarkup)->Args({1920, 1080})->Args({4000, 3000})->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmltagLoadRest)->Args({1920, 1080})->Args({4000, 3000})->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmltagScrollToMiddle)->Args({4000, 3000})->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmltagTypeCharacter)->Args({4000, 3000})->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HtmltagSelectAllCopy)->Args({1920, 1080})->Args({4000, 3000})->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
