// File dialogs: creation, filters, and the all-files pattern widened to every name.
#include "ui/file_dialogs.h"

#include <QFileSystemModel>

namespace moza::ui {
namespace {

/// The patterns of a filter such as "全てのファイル(*.*)": the words inside its last parentheses.
QStringList patternsOf(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) return filter.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

/// Qt's dialog matches "*.*" literally, so names without a dot would stay hidden under the
/// all-files entry; its file list is told to show every name instead.
void listEveryFileForStarDotStar(QFileDialog& dialog) {
    auto* list = dialog.findChild<QFileSystemModel*>();
    if (list == nullptr) return;  // a platform dialog, which lists every file for "*.*" itself
    if (patternsOf(dialog.selectedNameFilter()).contains(QStringLiteral("*.*"))) {
        list->setNameFilters({QStringLiteral("*")});
    }
}

}  // namespace

QFileDialog* CreateFileDialog(QWidget* parent, const QString& name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(name);
#ifndef Q_OS_WIN
    dialog->setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Emitted when the user picks a filter, after the dialog has applied the filter's patterns.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
                     [dialog](const QString&) { listEveryFileForStarDotStar(*dialog); });
    return dialog;
}

void SetNameFilters(QFileDialog& dialog, const QStringList& filters, const QString& selected) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.contains(selected) ? selected : filters.value(0));
    listEveryFileForStarDotStar(dialog);
}

}  // namespace moza::ui
