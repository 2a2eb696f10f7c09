// OpenExternally: the shell on Windows, xdg-open watched to its end elsewhere.
#include "ui/open_externally.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace moza::ui {

void OpenExternally(QObject* context, const QString& path, std::function<void()> failed) {
#ifdef Q_OS_WIN
    (void)context;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) failed();
#else
    // QDesktopServices starts xdg-open and calls that a success, even when it then finds no
    // program and gives up (exit status 3 on a system without a browser). Its status is what tells.
    // The process object is not the window's: were it destroyed with the window, it would take a
    // browser that xdg-open keeps in the foreground with it.
    auto* opener = new QProcess;
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, context, [failed](int exitCode, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || exitCode != 0) failed();
    });
    QObject::connect(opener, &QProcess::errorOccurred, context, [opener, failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failed();
            opener->deleteLater();
        }
    });
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start(QStringLiteral("xdg-open"), {path});
#endif
}

}  // namespace moza::ui
