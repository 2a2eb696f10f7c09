// The page scheme: local files served to the page view with their character set declared.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

namespace moza::ui {

/// The URL scheme the page view loads local files through.
inline constexpr char kPageScheme[] = "mozapage";

/// Registers kPageScheme with the browser engine. Must run before the application object exists;
/// running it again does nothing.
void RegisterPageScheme();

/// The URL under which the page view asks for the file at `absolutePath`.
QUrl PageUrl(const QString& absolutePath);
/// The file path a page URL names (the inverse of PageUrl); empty for other URLs.
QString PagePathOf(const QUrl& url);

/// How a request for a local file is answered.
struct PageReply {
    bool allowed = false;
    QByteArray contentType;  // "text/html;charset=Shift_JIS" for page files
};

/// Decides the answer for `path`, whose file begins with `head` (its first bytes, at least
/// kPageHeadBytes when the file is that long). A page the make command wrote (it begins with
/// convert::kPageFileMark) is answered as code page 932 HTML, whatever it holds, for it declares no
/// character set. Any other page that was navigated to is answered as HTML without a character
/// set, so that its own declaration counts (the start and version pages are UTF-8). Files in
/// `ownPagesFolder` (the program's data folder: the fixed pages and the pictures and style sheets
/// beside them) are answered by their type. Every other file is refused.
PageReply ReplyFor(const QString& path, QByteArrayView head, const QSet<QString>& navigatedPages,
                   const QString& ownPagesFolder);

/// How many bytes of a file ReplyFor needs to see.
inline constexpr qsizetype kPageHeadBytes = 64;

/// Serves kPageScheme requests from the file system, as ReplyFor decides.
class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit PageSchemeHandler(QObject* parent = nullptr);

    /// Lets the page view show the file at `absolutePath` from now on.
    void allowPage(const QString& absolutePath);
    /// The folder whose pages declare their own character set (the program's data folder).
    void setOwnPagesFolder(const QString& absoluteFolder);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QSet<QString> m_pages;
    QString m_ownPagesFolder;
};

/// Whether a shown page may ask for `url`: only kPageScheme URLs and inline data: URLs.
bool PageRequestAllowed(const QUrl& url);

/// Blocks every request that does not stay inside kPageScheme (or inline data: URLs), so a shown
/// page never reaches the network or other local files.
class PageRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    explicit PageRequestGuard(QObject* parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace moza::ui
