// Tests of the page view's browser engine: code page 932 pages, fixed pages, nothing run or fetched from a page.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <fstream>
#include <sstream>

#include "convert/page_markup.h"
#include "ui/page_scheme.h"
#include "ui/page_view.h"

namespace {

using moza::ui::PageView;

constexpr int kLoadTimeoutMs = 30000;

// Navigates and waits for the browser engine to finish loading the page; returns whether it loaded.
// (These pages are not whole pages as the make command writes them, so the engine shows them.)
bool navigateAndWait(PageView& view, const QString& path) {
    QSignalSpy finished(view.browser(), &QWebEngineView::loadFinished);
    view.Navigate(path);
    if (!finished.wait(kLoadTimeoutMs)) return false;
    return finished.constFirst().constFirst().toBool();
}

QString plainTextOf(PageView& view) {
    QString text;
    bool done = false;
    view.browser()->page()->toPlainText([&](const QString& result) {
        text = result;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs));
    return text;
}

// A page file as the make command writes it.
QString writePage(const QTemporaryDir& dir, const QString& name, const std::string& titleCp932,
                  const std::string& tableCp932) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary)
        << moza::convert::PageFileHead(titleCp932) << tableCp932 << moza::convert::kPageFileTail;
    return path;
}

std::string repeated(const std::string& piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

const std::string kSquareCp932 = "\x81\xA1";  // ■

class PageViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_view.resize(312, 249);
        m_view.show();
    }
    QTemporaryDir m_dir;
    PageView m_view;
};

TEST_F(PageViewTest, APageInCodePage932ShowsItsCharactersAndTitle) {
    // 日本 in code page 932
    const QString path = writePage(m_dir, "squares.html", "\x93\xFA\x96\x7B", repeated(kSquareCp932, 300));
    ASSERT_TRUE(navigateAndWait(m_view, path));
    EXPECT_EQ(plainTextOf(m_view).trimmed(), QString(300, QChar(0x25A0)).prepend(u'"').append(u'"'));
    EXPECT_EQ(m_view.browser()->title(), QString::fromUtf8("日本"));
}

TEST_F(PageViewTest, ScriptsInThePageNeverRun) {
    for (const auto& [title, table] : {std::pair<std::string, std::string>{"</title><script>document.write('RAN')</script><title>", "x"},
                                       {"t", "<script>document.write('RAN')</script>x"}}) {
        ASSERT_TRUE(navigateAndWait(m_view, writePage(m_dir, "script.html", title, table)));
        EXPECT_FALSE(plainTextOf(m_view).contains(QStringLiteral("RAN")));
    }
}

TEST_F(PageViewTest, RemotePictureInTitleIsNeverFetched) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const std::string title =
        "<img src=\"http://127.0.0.1:" + std::to_string(server.serverPort()) + "/spy.png\">";
    ASSERT_TRUE(navigateAndWait(m_view, writePage(m_dir, "remote.html", title, "x")));
    EXPECT_FALSE(server.waitForNewConnection(300));
}

struct RequestCase {
    const char* url;
    bool allowed;
};

class PageRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(PageRequestTest, OnlyPageSchemeAndInlineDataMayBeRequested) {
    EXPECT_EQ(moza::ui::PageRequestAllowed(QUrl(QString::fromUtf8(GetParam().url))), GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageRequestTest,
                         ::testing::Values(RequestCase{"mozapage://local/tmp/a.html", true},
                                           RequestCase{"data:image/png;base64,AAAA", true},
                                           RequestCase{"http://127.0.0.1/spy.png", false},
                                           RequestCase{"https://example.com/", false},
                                           RequestCase{"file:///etc/passwd", false},
                                           RequestCase{"ws://example.com/", false},
                                           RequestCase{"ftp://example.com/x", false}));

TEST_F(PageViewTest, AMissingFileFailsToLoadWithoutHarmAndKeepsItsPathAsGiven) {
    const QString path = m_dir.path() + "/./missing.html";
    EXPECT_FALSE(navigateAndWait(m_view, path));
    EXPECT_EQ(m_view.currentPath(), path);
}

TEST(PageViewSettingsTest, NoScriptsTheTablesFontAndNothingKeptOnDisk) {
    EXPECT_FALSE(moza::ui::BrowserView::profile().settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
    EXPECT_EQ(moza::ui::BrowserView::profile().settings()->fontFamily(QWebEngineSettings::StandardFont), QStringLiteral("IPAGothic"));
    EXPECT_TRUE(moza::ui::BrowserView::profile().isOffTheRecord());
}

struct ReplyCase {
    const char* path;
    const char* head;
    bool allowed;
    const char* contentType;
};

class PageReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(PageReplyTest, AnswersByWhatAndWhereTheFileIs) {
    const QSet<QString> navigated = {QStringLiteral("/p/temp/a.html"), QStringLiteral("/p/data/index.html"),
                                     QStringLiteral("/p/temp/noext"), QStringLiteral("/saved/copy.htm")};
    const moza::ui::PageReply reply = moza::ui::ReplyFor(QString::fromUtf8(GetParam().path), GetParam().head,
                                                         navigated, QStringLiteral("/p/data"));
    EXPECT_EQ(reply.allowed, GetParam().allowed);
    if (reply.allowed) {
        EXPECT_EQ(reply.contentType, QByteArray(GetParam().contentType));
    }
}

constexpr char kPageHead[] = "\"<html><head><title>cat</title></head><body text=#000000><table";
constexpr char kOwnHead[] = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">";

INSTANTIATE_TEST_SUITE_P(
    Cases, PageReplyTest,
    ::testing::Values(ReplyCase{"/p/temp/a.html", kPageHead, true, "text/html;charset=Shift_JIS"},
                      ReplyCase{"/p/temp/noext", kPageHead, true, "text/html;charset=Shift_JIS"},
                      ReplyCase{"/saved/copy.htm", kPageHead, true, "text/html;charset=Shift_JIS"},
                      ReplyCase{"/p/temp/a.html", kOwnHead, true, "text/html"},
                      ReplyCase{"/p/data/index.html", kOwnHead, true, "text/html"},
                      ReplyCase{"/p/data/index.html", kPageHead, true, "text/html;charset=Shift_JIS"},
                      ReplyCase{"/p/data/version.html", kOwnHead, true, "text/html"},
                      ReplyCase{"/p/data/logo.png", "", true, "image/png"},
                      ReplyCase{"/p/data/sub/style.css", "", true, "text/css"},
                      ReplyCase{"/p/data-other/x.html", kOwnHead, false, ""},
                      ReplyCase{"/p/temp/b.html", kPageHead, false, ""},
                      ReplyCase{"/p/temp/b.png", "", false, ""},
                      ReplyCase{"/etc/passwd", "", false, ""},
                      ReplyCase{"", "", false, ""}));

TEST(PageUrlTest, PathSurvivesTheRoundTrip) {
    for (const char* name : {"/t/a b.html", "/t/100%.html", "/t/a#b.html", "/t/猫.html", "/t/a;b=c&d.html"}) {
        const QString path = QString::fromUtf8(name);
        EXPECT_EQ(moza::ui::PagePathOf(moza::ui::PageUrl(path)), path) << name;
    }
}

TEST(PageUrlTest, OtherSchemesNameNoFile) {
    EXPECT_TRUE(moza::ui::PagePathOf(QUrl(QStringLiteral("file:///etc/passwd"))).isEmpty());
    EXPECT_TRUE(moza::ui::PagePathOf(QUrl(QStringLiteral("https://local/etc/passwd"))).isEmpty());
}

TEST(SandboxTest, OnlyRootTurnsTheSandboxOffAndSaysSo) {
    std::ostringstream note;
    EXPECT_FALSE(moza::ui::TurnSandboxOffForRoot(false, note));
    EXPECT_TRUE(note.str().empty());
    EXPECT_TRUE(moza::ui::TurnSandboxOffForRoot(true, note));
    EXPECT_NE(note.str().find("root"), std::string::npos);
    EXPECT_EQ(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("1"));
}

}  // namespace
