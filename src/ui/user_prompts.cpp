// DialogPrompts: the modal file dialogs and message boxes the user actually sees.
#include "ui/user_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/art/art_image.h"

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

int DialogPrompts::chooseImageWidth(QWidget* parent, const ArtImageSizes& sizes) {
    bool accepted = false;
    const QString label =
        QObject::tr(
            "Width of the picture in pixels (1 to %1).\nThe whole page within %2 pixels: %3 x %4. The size a browser shows: %5 x %6.")
            .arg(sizes.maxWidth)
            .arg(kDefaultArtImageSide)
            .arg(sizes.standard.width())
            .arg(sizes.standard.height())
            .arg(sizes.actual.width())
            .arg(sizes.actual.height());
    const int width = QInputDialog::getInt(parent, QStringLiteral("画像として保存"), label, sizes.standard.width(), 1,
                                           sizes.maxWidth, 1, &accepted);
    return accepted ? width : 0;
}

}  // namespace moza::ui
