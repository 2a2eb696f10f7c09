// Tests of the page view's browser engine: code page 932 pages, fixed pages, nothing run or fetched from a page.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <fstream>
#include <optional>

#include "convert/page_markup.h"
#include "ui/page/page_scheme.h"
#include "ui/page/page_view.h"

namespace moza::ui {
namespace {

constexpr int kLoadTimeoutMs = 30000;

class PageViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_view.show();
    }
    /// Writes a page file as the make command does, shows it and returns its text once loaded.
    QString show(const std::string& titleCp932, const std::string& tableCp932) {
        const QString path = m_dir.filePath(QStringLiteral("page%1.html").arg(++m_pages));
        std::ofstream(path.toStdString(), std::ios::binary)
            << convert::PageFileHead(titleCp932) << tableCp932 << convert::kPageFileTail;
        QSignalSpy finished(m_view.browser(), &QWebEngineView::loadFinished);
        m_view.Navigate(path);
        EXPECT_TRUE(finished.wait(kLoadTimeoutMs) && finished.constFirst().constFirst().toBool());
        std::optional<QString> text;
        m_view.browser()->page()->toPlainText([&](const QString& result) { text = result; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return text.has_value(); }, kLoadTimeoutMs));
        return text.value_or(QString()).trimmed();
    }
    QTemporaryDir m_dir;
    PageView m_view;
    int m_pages = 0;
};

TEST_F(PageViewTest, APageInCodePage932ShowsItsCharactersAndTitle) {
    std::string squares;
    for (int i = 0; i < 300; ++i) squares += "\x81\xA1";  // ■
    EXPECT_EQ(show("\x93\xFA\x96\x7B", squares), QString(300, QChar(0x25A0)).prepend(u'"').append(u'"'));
    EXPECT_EQ(m_view.browser()->title(), QString::fromUtf8("日本"));
}

TEST_F(PageViewTest, NothingInAPageRunsOrIsFetched) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const std::string remote = "<img src=\"http://127.0.0.1:" + std::to_string(server.serverPort()) + "/spy.png\">";
    EXPECT_FALSE(show("</title><script>document.write('RAN')</script><title>", "x").contains(QStringLiteral("RAN")));
    EXPECT_FALSE(show(remote, "<script>document.write('RAN')</script>x").contains(QStringLiteral("RAN")));
    EXPECT_FALSE(server.waitForNewConnection(300));
    for (const char* refused : {"http://127.0.0.1/spy.png", "file:///etc/passwd"})
        EXPECT_FALSE(PageRequestAllowed(QUrl(QString::fromLatin1(refused)))) << refused;
    EXPECT_TRUE(PageRequestAllowed(QUrl(QStringLiteral("data:image/png;base64,AAAA"))));
}

TEST(PageReplyTest, AnswersByWhatAndWhereTheFileIs) {
    const char* const pageHead = "\"<html><head><title>cat</title></head><body text=#000000><table";
    const char* const ownHead = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">";
    const struct {
        const char* path;
        const char* head;
        const char* contentType;  // nullptr: refused
    } cases[] = {
        {"/p/temp/a.html", pageHead, "text/html;charset=Shift_JIS"},
        {"/saved/copy.htm", pageHead, "text/html;charset=Shift_JIS"},
        {"/p/data/version.html", ownHead, "text/html"},  // not navigated, but in the program's own folder
        {"/p/data/logo.png", "", "image/png"},
        {"/p/data-other/x.html", ownHead, nullptr},
        {"/p/temp/b.html", pageHead, nullptr},
    };
    const QSet<QString> navigated = {"/p/temp/a.html", "/p/data/index.html", "/p/temp/noext", "/saved/copy.htm"};
    for (const auto& c : cases) {
        const PageReply reply = ReplyFor(QString::fromUtf8(c.path), c.head, navigated, QStringLiteral("/p/data"));
        EXPECT_EQ(reply.allowed ? reply.contentType : "refused", QByteArray(c.contentType ? c.contentType : "refused")) << c.path;
    }
}

}  // namespace
}  // namespace moza::ui
