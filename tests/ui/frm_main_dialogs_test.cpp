// The open and save dialogs: where they start, what the all-files entry lists, and that they speak
// Japanese, as the page view's context menu does.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QStandardPaths>
#if MOZA_WITH_WEBENGINE
#include <QWebEnginePage>
#endif

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

using FrmMainDialogsTest = FrmMainTest;

/// The folders the dialogs shown so far started in, relative to `base`.
QStringList startFolders(const FakePrompts& prompts, const QString& base) {
    QStringList folders;
    for (const FakePrompts::ShownDialog& dialog : prompts.shown) folders << QDir(base).relativeFilePath(dialog.folder);
    return folders;
}

TEST_F(FrmMainDialogsTest, EachDialogStartsInTheUsersFolderThenWhereItsLastFileWas) {
    openThroughDialog({});
    subfolder(QStringLiteral("holiday"));
    openThroughDialog(writePicture(QStringLiteral("holiday/beach.png"), PlainImage(6, 6, Qt::blue)));
    openThroughDialog({});
    subfolder(QStringLiteral("dropped"));
    m_window->openPicture(writePicture(QStringLiteral("dropped/cat.png"), PlainImage(6, 6, Qt::blue)));
    openThroughDialog({});
    make();
    saveAs(subfolder(QStringLiteral("pages")) + QStringLiteral("/cat.html"));
    saveAs({});
    restart();  // remembered across runs
    openThroughDialog({});
#ifdef _WIN32  // the user's folders are the shell's there, not the XDG user directories of the test
    const QString pictures = QDir(m_dir.path()).relativeFilePath(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    const QString documents = QDir(m_dir.path()).relativeFilePath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
#else
    // 文書 does not exist: the save dialog starts in the home folder.
    const QString pictures = QStringLiteral("写真"), documents = QDir(m_dir.path()).relativeFilePath(QDir::homePath());
#endif
    EXPECT_EQ(startFolders(*m_prompts, m_dir.path()), QStringList({pictures, pictures, "holiday", "dropped", documents, "pages", "dropped"}));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("pages/cat.html"))));
}

TEST_F(FrmMainDialogsTest, AllFilesEntryListsNamesWithoutADot) {
    const QString folder = subfolder(QStringLiteral("mixed"));
    for (const char* name : {"/README", "/photo.bmp"}) WriteFile(folder + QLatin1String(name), "x");
    std::vector<bool> listed;  // README before and after the all-files entry is picked, in each dialog
    m_prompts->inspect = [&](QFileDialog& dialog) {
        dialog.setDirectory(folder);
        auto* list = dialog.findChild<QFileSystemModel*>();
        ASSERT_NE(list, nullptr);
        auto names = [&] {
            QStringList shown;
            const QModelIndex parent = list->index(folder);
            for (int row = 0; row < list->rowCount(parent); ++row) shown << list->index(row, 0, parent).data().toString();
            return shown;
        };
        // The folder is read in the background; photo.bmp shows under every entry.
        auto listsReadme = [&] {
            EXPECT_TRUE(QTest::qWaitFor([&] { return names().contains(QStringLiteral("photo.bmp")); }, 5000));
            return QTest::qWaitFor([&] { return names().contains(QStringLiteral("README")); }, 1000);
        };
        listed.push_back(listsReadme());
        // The user picks 全てのファイル(*.*) from the file type box: the third entry, before 画像ファイル.
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_EQ(types->count(), 4);
        EXPECT_TRUE(types->itemText(3).startsWith(
            QStringLiteral("画像ファイル(*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff")));
        QTest::keyClick(types, Qt::Key_End);
        QTest::keyClick(types, Qt::Key_Up);
        listed.push_back(listsReadme());
    };
    openThroughDialog({});
    openThroughDialog({});  // the entry stays chosen when the dialog shows again,
    restart();
    openThroughDialog({});  // and in the next run
    EXPECT_EQ(listed, (std::vector<bool>{false, true, true, true, true, true}));
}

TEST_F(FrmMainDialogsTest, DialogButtonsAndThePageViewsContextMenuAreJapanese) {
    auto* save = child<QFileDialog>("Dialog2")->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(save != nullptr) << "the file dialogs are not Qt's own";
    EXPECT_EQ(save->button(QDialogButtonBox::Save)->text(), QStringLiteral("保存(&S)"));
#if MOZA_WITH_WEBENGINE
    // Qt ships no Japanese catalogue for the page engine; Moza's own fills in.
    EXPECT_EQ(view()->browser()->pageAction(QWebEnginePage::SelectAll)->text(), QStringLiteral("すべて選択"));
#endif
}

}  // namespace
}  // namespace moza::ui::testing
