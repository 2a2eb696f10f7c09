// Tests of start-up and the splash window Load: status lines, kept image, failures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "ui/load.h"
#include "ui/user_prompts.h"

namespace {

using moza::ui::Load;

class RecordingPrompts : public moza::ui::UserPrompts {
public:
    QString chooseFile(QFileDialog& /*dialog*/) override { return {}; }
    void showFailure(QWidget* /*parent*/, const QString& what, const QString& reason, const QString& details) override {
        failures.push_back({what, reason, details});
    }
    bool confirm(QWidget* /*parent*/, const QString& /*question*/, const QString& /*detail*/) override { return false; }
    struct Failure {
        QString what;
        QString reason;
        QString details;
    };
    std::vector<Failure> failures;
};

// Records whether the splash was still visible when the main window was shown.
class FakeMainWindow : public QWidget {
public:
    explicit FakeMainWindow(const QWidget* splash) : m_splash(splash) {
        auto* layout = new QVBoxLayout(this);
        auto* content = new QWidget;
        content->setFixedSize(400, 300);
        layout->addWidget(content);
    }
    bool splashVisibleAtShow = false;

protected:
    void showEvent(QShowEvent* event) override {
        splashVisibleAtShow = m_splash->isVisible();
        QWidget::showEvent(event);
    }

private:
    const QWidget* m_splash;
};

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

class StartupTest : public ::testing::Test {
protected:
    std::unique_ptr<QWidget> start() {
        return m_splash.Form_Load(moza::ProgramPaths::Beside(m_folder.path()), [this](std::shared_ptr<const moza::glyph::GlyphTable> table) {
            m_table = std::move(table);
            auto window = std::make_unique<FakeMainWindow>(&m_splash);
            m_mainWindow = window.get();
            return window;
        }, m_prompts);
    }
    QStringList statusLines() const {
        QStringList lines;
        for (const QList<QVariant>& call : m_status) lines << call.constFirst().toString();
        return lines;
    }

    ProgramFolder m_folder;
    Load m_splash;
    QSignalSpy m_status{&m_splash, &Load::statusShown};
    RecordingPrompts m_prompts;
    std::shared_ptr<const moza::glyph::GlyphTable> m_table;
    FakeMainWindow* m_mainWindow = nullptr;
};

TEST_F(StartupTest, EachRecordGivesAStatusLineBetweenTheFirstAndTheLast) {
    struct Case {
        int records;
        QStringList lines;
    };
    const Case cases[] = {
        {0, {"", "Start Loading...", "Finish Loading..."}},
        {3, {"", "Start Loading...", "Loading Char Data File... 0", "Loading Char Data File... 1",
             "Loading Char Data File... 2", "Finish Loading..."}},
    };
    m_folder.writeTitle(patternPicture(312, 206));
    for (const Case& c : cases) {
        m_status.clear();
        m_folder.writeFile("char.csv", charData(c.records));
        ASSERT_NE(start(), nullptr);
        EXPECT_EQ(statusLines(), c.lines) << c.records << " records";
    }
}

TEST_F(StartupTest, MainWindowGetsTheTableAndShowsBeforeTheSplashCloses) {
    m_folder.writeTitle(patternPicture(312, 206));
    m_folder.writeFile("char.csv", charData(4));
    const std::unique_ptr<QWidget> window = start();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(m_table, nullptr);
    EXPECT_EQ(m_table->CharCount(), 4);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(m_mainWindow->splashVisibleAtShow);
    EXPECT_FALSE(m_splash.isVisible());
    EXPECT_TRUE(m_prompts.failures.empty());
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
        RecordingPrompts prompts;
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
