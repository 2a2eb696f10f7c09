// DialogFolders: last folders by file, starting folders from the system's user folders.
#include "ui/dialog_folders.h"

#include <QDir>
#include <QFileInfo>

namespace moza::ui {
namespace {

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

}  // namespace

void DialogFolders::pictureOpened(const QString& file) { m_lastOpened = folderOf(file); }

void DialogFolders::pageSaved(const QString& file) { m_lastSaved = folderOf(file); }

QString DialogFolders::existingOr(const QString& folder, QStandardPaths::StandardLocation start) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString userFolder = QStandardPaths::writableLocation(start);
    if (!userFolder.isEmpty() && QFileInfo(userFolder).isDir()) return userFolder;
    return QDir::homePath();
}

}  // namespace moza::ui
