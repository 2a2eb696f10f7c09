// DialogPrompts: the modal file dialogs and message boxes the user actually sees.
#include "ui/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace moza::ui {

QString DialogPrompts::chooseFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

void DialogPrompts::showFailure(QWidget* parent, const QString& what, const QString& reason, const QString& details) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Moza"), what, QMessageBox::Ok, parent);
    box.setInformativeText(reason);
    if (details != reason) box.setDetailedText(details);
    box.exec();
}

bool DialogPrompts::confirm(QWidget* parent, const QString& question, const QString& detail) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Moza"), question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setInformativeText(detail);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace moza::ui
