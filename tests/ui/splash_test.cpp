// Start-up through the splash window Load: a status line per record, then the main window; or a
// failure named by file and reason, and no main window.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "frm_main_fixture.h"
#include "ui/load.h"

namespace {

using moza::ui::Load;
using moza::ui::testing::FakePrompts;

QImage patternPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 200));
    }
    return picture;
}

QByteArray charData(int records) {
    QByteArray text;
    for (int i = 0; i < records; ++i) text += "1,2,3,4,5,6,7,8,9," + QByteArray::number(33088 + i) + "\r\n";
    return text;
}

// A program folder with data/title.bmp and data/char.csv.
class ProgramFolder {
public:
    ProgramFolder() { QDir(m_dir.path()).mkpath(QStringLiteral("data")); }
    void writeTitle(const QImage& picture) const { ASSERT_TRUE(picture.save(file("title.bmp"), "BMP")); }
    void writeFile(const char* name, const QByteArray& bytes) const {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QString file(const char* name) const { return m_dir.filePath(QStringLiteral("data/") + QString::fromLatin1(name)); }
    std::filesystem::path path() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

TEST(StartupTest, EachRecordGivesAStatusLineThenTheMainWindowShowsWithTheTable) {
    const std::pair<int, QStringList> cases[] = {
        {0, {"", "Start Loading...", "Finish Loading..."}},
        {3, {"", "Start Loading...", "Loading Char Data File... 0", "Loading Char Data File... 1",
             "Loading Char Data File... 2", "Finish Loading..."}},
    };
    for (const auto& [records, lines] : cases) {
        ProgramFolder folder;
        folder.writeTitle(patternPicture(312, 206));
        folder.writeFile("char.csv", charData(records));
        Load splash;
        QSignalSpy status(&splash, &Load::statusShown);
        FakePrompts prompts;
        int tableSize = -1;
        const auto window = splash.Form_Load(moza::ProgramPaths::Beside(folder.path()), [&](auto table) {
            tableSize = table->CharCount();
            return std::make_unique<QWidget>();
        }, prompts);
        ASSERT_NE(window, nullptr);
        QStringList shown;
        for (const QList<QVariant>& call : status) shown << call.constFirst().toString();
        EXPECT_EQ(shown, lines) << records << " records";
        EXPECT_EQ(tableSize, records);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(splash.isVisible());
        EXPECT_TRUE(prompts.failures.empty());
    }
}

TEST(StartupFailureTest, IsReportedByFileAndReasonAndNoMainWindowOpens) {
    struct Case {
        const char* title;      // nullptr: no title picture
        QByteArray charData;    // "-": no char.csv
        QString named;          // in the message
        QString lastStatus;     // the splash's line when the failure shows; empty: the splash is gone
    };
    const Case cases[] = {
        {nullptr, charData(1), "title.bmp", ""},
        {"this is text, not a picture", charData(1), "は Moza が読める形式の画像ではありません", ""},
        {"", "-", QDir::toNativeSeparators("data/char.csv"), "Start Loading..."},
        {"", charData(2) + "1,2,x,4,5,6,7,8,9,33088\r\n", "3 件目のレコード (3 行目) の 3 番目の値「x」は整数ではありません", "Loading Char Data File... 2"},
    };
    for (const Case& c : cases) {
        ProgramFolder folder;
        if (c.title == nullptr) {
        } else if (*c.title == '\0') {
            folder.writeTitle(patternPicture(312, 206));
        } else {
            folder.writeFile("title.bmp", c.title);
        }
        if (c.charData != "-") folder.writeFile("char.csv", c.charData);
        Load splash;
        FakePrompts prompts;
        bool windowMade = false;
        const auto window = splash.Form_Load(moza::ProgramPaths::Beside(folder.path()), [&](auto) {
            windowMade = true;
            return std::make_unique<QWidget>();
        }, prompts);
        EXPECT_EQ(window, nullptr) << c.named.toStdString();
        EXPECT_FALSE(windowMade);
        ASSERT_EQ(prompts.failures.size(), 1u) << c.named.toStdString();
        EXPECT_TRUE(prompts.failures[0].reason.contains(c.named)) << prompts.failures[0].reason.toStdString();
        EXPECT_EQ(splash.isVisible(), !c.lastStatus.isEmpty());
        if (!c.lastStatus.isEmpty()) {
            EXPECT_EQ(splash.statusText(), c.lastStatus);
        }
    }
}

}  // namespace
