// DialogFolders: last folders by file, starting folders from the system's user folders.
#include "ui/dialog_folders.h"

#include <QDir>
#include <QFileInfo>

#include "ui/program_settings.h"

namespace moza::ui {
namespace {

const QString kOpenedKey = QStringLiteral("dialogs/openFolder");
const QString kSavedKey = QStringLiteral("dialogs/saveFolder");
const QString kFilterKey = QStringLiteral("dialogs/openFilter");

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

void remember(const QString& key, const QString& value) { ProgramSettings()->setValue(key, value); }

}  // namespace

DialogFolders::DialogFolders() {
    const auto settings = ProgramSettings();
    m_lastOpened = settings->value(kOpenedKey).toString();
    m_lastSaved = settings->value(kSavedKey).toString();
    m_openFilter = settings->value(kFilterKey).toString();
}

void DialogFolders::pictureOpened(const QString& file) {
    m_lastOpened = folderOf(file);
    remember(kOpenedKey, m_lastOpened);
}

void DialogFolders::pageSaved(const QString& file) {
    m_lastSaved = folderOf(file);
    remember(kSavedKey, m_lastSaved);
}

void DialogFolders::setOpenFilter(const QString& filter) {
    m_openFilter = filter;
    remember(kFilterKey, filter);
}

QString DialogFolders::existingOr(const QString& folder, QStandardPaths::StandardLocation start) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString userFolder = QStandardPaths::writableLocation(start);
    if (!userFolder.isEmpty() && QFileInfo(userFolder).isDir()) return userFolder;
    return QDir::homePath();
}

}  // namespace moza::ui
