// The page scheme: its registration, URL mapping, file serving and request guard.
#include "ui/page/page_scheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "convert/page_markup.h"

namespace moza::ui {
namespace {

// Page URLs are standard ones (scheme://host/path) so that relative links in the fixed pages
// resolve; the host is always this one.
constexpr char kPageHost[] = "local";

bool isInsideFolder(const QString& path, const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix, Qt::CaseSensitive);
}

bool isHtmlName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"html" || suffix == u"htm";
}

}  // namespace

void RegisterPageScheme() {
    if (!QWebEngineUrlScheme::schemeByName(kPageScheme).name().isEmpty()) return;
    QWebEngineUrlScheme scheme(kPageScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PageUrl(const QString& absolutePath) {
    QString path = QDir::fromNativeSeparators(absolutePath);
    if (!path.startsWith(u'/')) path.prepend(u'/');  // "C:/x" on Windows
    QUrl url;
    url.setScheme(QString::fromLatin1(kPageScheme));
    url.setHost(QString::fromLatin1(kPageHost));
    // Decoded mode: a '%' or '#' in a file name is part of the name, not URL syntax.
    url.setPath(path, QUrl::DecodedMode);
    return url;
}

QString PagePathOf(const QUrl& url) {
    if (url.scheme() != QLatin1String(kPageScheme) || url.host() != QLatin1String(kPageHost)) return {};
    QString path = QDir::cleanPath(url.path(QUrl::FullyDecoded));
#ifdef Q_OS_WIN
    if (path.size() >= 3 && path[0] == u'/' && path[2] == u':') path.remove(0, 1);
#endif
    return path;
}

PageReply ReplyFor(const QString& path, QByteArrayView head, const QSet<QString>& navigatedPages,
                   const QString& ownPagesFolder) {
    if (path.isEmpty()) return {};
    const bool navigated = navigatedPages.contains(path);
    if (navigated || isHtmlName(path)) {
        if (!navigated && !isInsideFolder(path, ownPagesFolder)) return {};
        if (head.startsWith(QByteArrayView(convert::kPageFileMark.data(), static_cast<qsizetype>(convert::kPageFileMark.size())))) return {true, QByteArrayLiteral("text/html;charset=Shift_JIS")};
        return {true, QByteArrayLiteral("text/html")};
    }
    if (isInsideFolder(path, ownPagesFolder)) {
        return {true, QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toUtf8()};
    }
    return {};
}

PageSchemeHandler::PageSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

void PageSchemeHandler::allowPage(const QString& absolutePath) {
    m_pages.insert(QDir::cleanPath(QDir::fromNativeSeparators(absolutePath)));
}

void PageSchemeHandler::setOwnPagesFolder(const QString& absoluteFolder) {
    m_ownPagesFolder = QDir::cleanPath(QDir::fromNativeSeparators(absoluteFolder));
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString path = PagePathOf(job->requestUrl());
    if (ReplyFor(path, {}, m_pages, m_ownPagesFolder).allowed == false) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // The job owns the file and the engine reads it in pieces: pages of 80 MB and more stream
    // without being copied into memory.
    auto* file = new QFile(path, job);
    if (!QFileInfo(path).isFile() || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const PageReply reply = ReplyFor(path, file->peek(kPageHeadBytes), m_pages, m_ownPagesFolder);
    job->reply(reply.contentType, file);
}

PageRequestGuard::PageRequestGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

bool PageRequestAllowed(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String(kPageScheme) || scheme == u"data";
}

void PageRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (PageRequestAllowed(info.requestUrl())) return;
    info.block(true);
}

}  // namespace moza::ui
