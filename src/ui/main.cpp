// moza: the desktop program. The splash window runs start-up and opens the main window.
#include <QApplication>
#include <memory>

#include "common/version.h"
#include "common/part_files.h"
#include "common/program_paths.h"
#include "ui/frm_main.h"
#include "ui/load.h"
#include "ui/page_view.h"
#include "ui/user_prompts.h"

int main(int argc, char** argv) {
    moza::RemovePartFilesOnInterrupt();  // a logout or kill during a make leaves no part file
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Moza"));
    QApplication::setApplicationVersion(QString::fromLatin1(moza::kVersionText));

    const moza::ProgramPaths paths = moza::ProgramPaths::ForThisProgram();
    moza::ui::DialogPrompts prompts;
    moza::ui::Load splash;
    const std::unique_ptr<QWidget> mainWindow = splash.Form_Load(
        paths,
        [&paths](std::shared_ptr<const moza::glyph::GlyphTable> table) -> std::unique_ptr<QWidget> {
            return std::make_unique<moza::ui::FrmMain>(std::move(table), paths);
        },
        prompts);
    if (!mainWindow) return 1;
    return QApplication::exec();
}
