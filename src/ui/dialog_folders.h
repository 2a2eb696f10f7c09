// DialogFolders: the folders the open and save dialogs start in.
#pragma once

#include <QStandardPaths>
#include <QString>

namespace moza::ui {

/// Where the file dialogs start, as on a desktop: the open dialog in the folder of the last
/// picture opened (the user's Pictures folder before the first), the save dialogs in the last
/// folder saved to (Documents before the first). Remembered across runs in the program's
/// settings, with the open dialog's filter chosen last.
class DialogFolders {
public:
    DialogFolders();

    /// The folder the open dialog starts in. A folder that no longer exists gives way to the
    /// starting folder, and a starting folder that does not exist to the home folder.
    QString openFolder() const { return existingOr(m_lastOpened, QStandardPaths::PicturesLocation); }
    /// The folder the save dialog starts in, by the same rule.
    QString saveFolder() const { return existingOr(m_lastSaved, QStandardPaths::DocumentsLocation); }

    /// Records the picture file chosen or dropped (whether or not it loaded).
    void pictureOpened(const QString& file);
    /// Records the file a page (or its picture) was saved to.
    void pageSaved(const QString& file);
    /// The open dialog's filter chosen last; empty before the first choice.
    QString openFilter() const { return m_openFilter; }
    void setOpenFilter(const QString& filter);

private:
    static QString existingOr(const QString& folder, QStandardPaths::StandardLocation start);

    QString m_lastOpened;
    QString m_lastSaved;
    QString m_openFilter;
};

}  // namespace moza::ui
