// The open and save dialogs: where they start, and what the all-files entry lists.
#include <QComboBox>
#include <QFileSystemModel>
#include <QTest>

#include "frm_main_fixture.h"

namespace moza::ui::testing {
namespace {

/// Points the user's Pictures and Documents folders (XDG user directories) into the test folder.
class FrmMainDialogsTest : public FrmMainTest {
protected:
    void SetUp() override {
        FrmMainTest::SetUp();
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        QDir folder(m_dir.path());
        ASSERT_TRUE(folder.mkpath(QStringLiteral("config")));
        ASSERT_TRUE(folder.mkpath(QStringLiteral("写真")));
        ASSERT_TRUE(folder.mkpath(QStringLiteral("文書")));
        QFile dirs(folder.filePath(QStringLiteral("config/user-dirs.dirs")));
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write(QStringLiteral("XDG_PICTURES_DIR=\"%1\"\nXDG_DOCUMENTS_DIR=\"%2\"\n")
                       .arg(picturesFolder(), documentsFolder())
                       .toUtf8());
        dirs.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
        createWindow();
    }
    void TearDown() override {
        FrmMainTest::TearDown();
        if (m_oldConfig.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
        }
    }

    QString picturesFolder() const { return m_dir.filePath(QStringLiteral("写真")); }
    QString documentsFolder() const { return m_dir.filePath(QStringLiteral("文書")); }
    QString subfolder(const QString& name) const {
        QDir(m_dir.path()).mkpath(name);
        return m_dir.filePath(name);
    }
    void saveAs(const QString& file) {
        m_prompts->answers.push_back(file);
        action("MN_FILE_SAVE")->trigger();
    }

    QByteArray m_oldConfig;
};

TEST_F(FrmMainDialogsTest, OpenDialogStartsInPicturesThenWhereTheLastPictureOpenedOrDroppedWas) {
    openThroughDialog({});
    const QString holiday = subfolder(QStringLiteral("holiday"));
    openThroughDialog(writePicture(QStringLiteral("holiday/beach.png"), plainImage(6, 6, Qt::blue)));
    openThroughDialog({});
    const QString dropped = subfolder(QStringLiteral("dropped"));
    m_window->openPicture(writePicture(QStringLiteral("dropped/cat.png"), plainImage(6, 6, Qt::blue)));
    openThroughDialog({});
    ASSERT_EQ(m_prompts->shown.size(), 4u);
    EXPECT_EQ(m_prompts->shown[0].folder, picturesFolder());
    EXPECT_EQ(m_prompts->shown[2].folder, holiday);
    EXPECT_EQ(m_prompts->shown[3].folder, dropped);
}

TEST_F(FrmMainDialogsTest, SaveDialogFirstStartsInDocumentsThenWhereTheLastPageWent) {
    openThroughDialog(writePicture(QStringLiteral("cat.png"), plainImage(6, 6, Qt::blue)));
    make();
    const QString pages = subfolder(QStringLiteral("pages"));
    saveAs(pages + QStringLiteral("/cat.html"));
    saveAs({});
    ASSERT_EQ(m_prompts->shown.size(), 3u);  // the open dialog, then the save dialog twice
    EXPECT_EQ(m_prompts->shown[1].folder, documentsFolder());
    EXPECT_EQ(m_prompts->shown[2].folder, pages);
    EXPECT_TRUE(QFile::exists(pages + QStringLiteral("/cat.html")));
}

TEST_F(FrmMainDialogsTest, AllFilesEntryListsNamesWithoutADot) {
    const QString folder = subfolder(QStringLiteral("mixed"));
    for (const char* name : {"README", "photo.bmp"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    std::vector<bool> listedBefore;
    std::vector<bool> listedAfter;
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
        listedBefore.push_back(listsReadme());
        // The user picks the last entry, 全てのファイル(*.*), from the file type box.
        QTest::keyClick(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), Qt::Key_End);
        listedAfter.push_back(listsReadme());
    };
    openThroughDialog({});
    openThroughDialog({});  // the entry stays chosen when the dialog shows again
    EXPECT_EQ(listedBefore, (std::vector<bool>{false, true}));
    EXPECT_EQ(listedAfter, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace moza::ui::testing
