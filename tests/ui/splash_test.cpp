// Start-up through the splash window Load: a status line per record, then the main window; or a
// failure named by file and reason, and no main window.
#include <QSignalSpy>

#include "frm_main_fixture.h"
#include "ui/load.h"

namespace moza::ui::testing {
namespace {

QByteArray charData(int records) {
    QByteArray text("");  // empty, not null: a char.csv of no records
    for (int i = 0; i < records; ++i) text += "1,2,3,4,5,6,7,8,9," + QByteArray::number(33088 + i) + "\r\n";
    return text;
}

/// Fills `folder` as a program folder whose data folder holds a title.bmp picture (or none) and
/// `table` as char.csv (none when null).
ProgramPaths programFolder(const QTemporaryDir& folder, bool title, const QByteArray& table) {
    const QString data = folder.filePath(QStringLiteral("data"));
    EXPECT_TRUE(QDir().mkpath(data));
    EXPECT_TRUE(!title || PlainImage(312, 206, Qt::cyan).save(data + "/title.bmp", "BMP"));
    if (!table.isNull()) WriteFile(data + "/char.csv", table);
    return ProgramPaths::Beside(folder.path().toStdString());
}

TEST(StartupTest, HandsTheTableOnAfterAStatusLinePerRecordOrNamesWhatFailedAndOpensNoMainWindow) {
    const QStringList twoRead = {"", "Start Loading...", "Loading Char Data File... 0", "Loading Char Data File... 1"};
    const struct {
        bool title;           // as for programFolder
        QByteArray charData;  // as for programFolder
        QStringList lines;    // the status lines shown
        int tableSize;        // as handed to the main window; -1: no main window
        QString named;        // in the failure message; empty: no failure
    } cases[] = {
        {true, charData(2), twoRead + QStringList{"Finish Loading..."}, 2, ""},
        {false, charData(1), {}, -1, "title.bmp"},
        {true, QByteArray(), {"", "Start Loading..."}, -1, QDir::toNativeSeparators("data/char.csv")},
        {true, charData(2) + "1,2,x,4,5,6,7,8,9,33088\r\n", twoRead + QStringList{"Loading Char Data File... 2"}, -1,
         "3 件目のレコード (3 行目) の 3 番目の値「x」は整数ではありません"},
    };
    for (const auto& c : cases) {
        const QTemporaryDir folder;
        Load splash;
        QSignalSpy status(&splash, &Load::statusShown);
        FakePrompts prompts;
        int tableSize = -1;
        const auto window = splash.Form_Load(programFolder(folder, c.title, c.charData), [&](auto table) {
            tableSize = table->CharCount();
            return std::make_unique<QWidget>();
        }, prompts);
        QStringList shown;
        for (const QList<QVariant>& call : status) shown << call.constFirst().toString();
        EXPECT_EQ(shown, c.lines) << c.named.toStdString();
        EXPECT_EQ(tableSize, c.tableSize) << c.named.toStdString();
        ASSERT_EQ(window != nullptr, c.named.isEmpty()) << c.named.toStdString();
        if (window != nullptr) {
            EXPECT_TRUE(window->isVisible() && !splash.isVisible());
            EXPECT_TRUE(prompts.failures.empty());
            continue;
        }
        ASSERT_EQ(prompts.failures.size(), 1u) << c.named.toStdString();
        EXPECT_TRUE(prompts.failures[0].reason.contains(c.named)) << prompts.failures[0].reason.toStdString();
        EXPECT_EQ(splash.isVisible(), !c.lines.isEmpty());  // the splash stays with the line it failed at
        EXPECT_EQ(splash.statusText(), c.lines.isEmpty() ? QString() : c.lines.last());
    }
}

}  // namespace
}  // namespace moza::ui::testing
