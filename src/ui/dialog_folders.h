// DialogFolders: the folders the open and save dialogs start in.
#pragma once

#include <QStandardPaths>
#include <QString>

namespace moza::ui {

/// Where the file dialogs start, as on a desktop: the open dialog in the folder of the last
/// picture opened (the user's Pictures folder before the first), the save dialog in the last
/// folder saved to (Documents before the first). Remembered for the session only: the program
/// keeps no settings.
class DialogFolders {
public:
    /// The folder the open dialog starts in. A folder that no longer exists gives way to the
    /// starting folder, and a starting folder that does not exist to the home folder.
    QString openFolder() const { return existingOr(m_lastOpened, QStandardPaths::PicturesLocation); }
    /// The folder the save dialog starts in, by the same rule.
    QString saveFolder() const { return existingOr(m_lastSaved, QStandardPaths::DocumentsLocation); }

    /// Records the picture file chosen or dropped (whether or not it loaded).
    void pictureOpened(const QString& file);
    /// Records the file a page was saved to.
    void pageSaved(const QString& file);

private:
    static QString existingOr(const QString& folder, QStandardPaths::StandardLocation start);

    QString m_lastOpened;
    QString m_lastSaved;
};

}  // namespace moza::ui
