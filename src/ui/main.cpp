// moza: the desktop program. The splash window runs start-up and opens the main window.
#include <QApplication>
#include <cstdio>
#include <memory>

#include "common/process_start.h"
#include "common/program_paths.h"
#include "common/version.h"
#include "picture/path_text.h"
#include "ui/art/page_font.h"
#include "ui/frm_main.h"
#include "ui/japanese.h"
#include "ui/load.h"
#include "ui/page/page_view.h"
#include "ui/start_options.h"
#include "ui/user_prompts.h"

namespace {

constexpr int kStartFailed = 1;
constexpr int kUsage = 2;

int printText(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    moza::PrepareProcess();  // a logout or kill during a make leaves no part file
    // Help and the version are only text: they need neither a display nor the page engine.
    if (moza::ui::AsksForTextOnly(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        moza::ui::PreparePageEngine();
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Moza"));
    QApplication::setApplicationVersion(QString::fromLatin1(moza::kVersionText));
    for (const QString& missing : moza::ui::InstallJapanese(app)) {
        std::fprintf(stderr, "moza: the Japanese catalogue %s is not installed; its texts stay English\n",
                     missing.toLocal8Bit().constData());
    }

    const moza::Result<moza::ui::StartOptions> options = moza::ui::ParseStartArguments(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "moza: %s\nTry 'moza --help' for more information.\n", options.error().message.c_str());
        return kUsage;
    }
    using Action = moza::ui::StartOptions::Action;
    if (options.value().action == Action::ShowHelp) return printText(moza::ui::StartHelpText());
    if (options.value().action == Action::ShowVersion) return printText(QStringLiteral("moza %1\n").arg(moza::kVersionText));

    const moza::ProgramPaths paths = moza::ProgramPaths::ForThisProgram();
    if (!moza::ui::RegisterGlyphFont(moza::picture::ToText(paths.dataFolder()))) {
        std::fprintf(stderr, "moza: the page font IPAGothic is not installed; pages are drawn in another font\n");
    }
    moza::ui::DialogPrompts prompts;
    moza::ui::Load splash;
    moza::ui::FrmMain* frmMain = nullptr;
    const std::unique_ptr<QWidget> mainWindow = splash.Form_Load(
        paths,
        [&paths, &frmMain](std::shared_ptr<const moza::glyph::GlyphTable> table) -> std::unique_ptr<QWidget> {
            auto window = std::make_unique<moza::ui::FrmMain>(std::move(table), paths);
            frmMain = window.get();
            return window;
        },
        prompts);
    if (!mainWindow) return kStartFailed;
    if (!options.value().picture.isEmpty()) frmMain->openPicture(options.value().picture);
    return QApplication::exec();
}
