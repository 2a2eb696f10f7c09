// Load: start-up in order (title picture, splash, glyph table, main window) and the status line.
#include "ui/load.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QScreen>

#include "glyph/table_image.h"
#include "ui/failure_text.h"
#include "ui/user_prompts.h"

namespace moza::ui {
namespace {

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace

Load::Load(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Load"));
    setWindowTitle(QStringLiteral("Moza"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
}

std::unique_ptr<QWidget> Load::Form_Load(const ProgramPaths& paths,
                                         const MainWindowFactory& makeMainWindow, UserPrompts& prompts) {
    const std::filesystem::path titleFile = paths.dataFile(kTitlePictureName);
    const Status title = loadTitle(titleFile);
    if (!title) {
        prompts.showFailure(nullptr, tr("Moza cannot start: its title picture could not be loaded."),
                            FailureText::reason(title.error()), QString::fromStdString(title.error().message));
        return nullptr;
    }
    ShowLoadStatus(QString());
    centreOnScreen(*this);
    show();
    ShowLoadStatus(QStringLiteral("Start Loading..."));
    const std::filesystem::path charFile = paths.dataFile(kCharDataName);
    Result<glyph::GlyphTable> table = glyph::LoadShippedCharData(charFile, statusSink());
    flushStatus();
    if (!table) {
        prompts.showFailure(this, tr("Moza cannot start: its character table could not be loaded."),
                            FailureText::reason(table.error()), QString::fromStdString(table.error().message));
        return nullptr;
    }
    ShowLoadStatus(QStringLiteral("Finish Loading..."));
    flushStatus();
    std::unique_ptr<QWidget> mainWindow =
        makeMainWindow(std::make_shared<const glyph::GlyphTable>(std::move(table).value()));
    // The window's final size is known only once its layout has run.
    mainWindow->adjustSize();
    centreOnScreen(*mainWindow);
    mainWindow->show();
    close();
    return mainWindow;
}

Status Load::loadTitle(const std::filesystem::path& file) {
    const QString path = QString::fromStdString(file.string());
    const std::string cannotLoad = "cannot load " + Quoted(file) + ": ";
    if (!QFileInfo(path).isFile()) return Error{cannotLoad + "the file does not exist", ErrorKind::FileMissing, file};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull()) {
        return Error{cannotLoad + "it is not a picture that can be read (" + reader.errorString().toStdString() + ")",
                     ErrorKind::NotAPicture, file};
    }
    Title = std::move(picture);
    m_keptStale = true;
    return success();
}

glyph::LoadStatusSink Load::statusSink() {
    // One QString rewritten line after line (ASCII, "Loading Char Data File... 12"): a table of
    // 30,000 records makes no string a line.
    return [this, shown = QString()](const std::string& line) mutable {
        shown.resize(static_cast<qsizetype>(line.size()));
        QChar* out = shown.data();
        for (const char c : line) *out++ = QChar::fromLatin1(c);
        ++m_burstLines;
        ShowLoadStatus(shown);
    };
}

void Load::ShowLoadStatus(const QString& text) {
    // Copied into the line's own buffer, not shared, so the caller may rewrite its string in place.
    m_status.resize(0);
    m_status.append(text);
    m_keptStale = true;
    m_screenStale = true;
    emit statusShown(text);
    if (!isVisible()) return;  // drawn into the kept image before the window first shows
    // The table's lines come back to back until flushStatus(): the clock is read every 16th.
    if (m_burstLines % 16 != 0) return;
    if (m_sinceRepaint.isValid() && m_sinceRepaint.nsecsElapsed() < m_frameNanoseconds) return;
    flushStatus();
}

void Load::flushStatus() {
    m_burstLines = 0;
    if (!isVisible() || !m_screenStale) return;
    repaint();
    m_screenStale = false;
    m_frameNanoseconds = frameNanoseconds();
    m_sinceRepaint.start();
}

void Load::paintEvent(QPaintEvent* /*event*/) {
    renderKeptImage();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_kept);
    m_screenStale = false;
}

void Load::renderKeptImage() const {
    if (!m_keptStale) return;
    if (m_kept.isNull()) m_kept = QImage(kWidth, kHeight, QImage::Format_RGB32);
    // A clean copy of the title picture's top-left corner wipes out the previous line; where the
    // picture is smaller than the window, the white background shows.
    m_kept.fill(Qt::white);
    QPainter painter(&m_kept);
    painter.drawImage(QPoint(0, 0), Title, QRect(0, 0, kWidth, kHeight));
    if (!m_status.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(QPointF(kStatusLeft, kStatusTop + painter.fontMetrics().ascent()), m_status);
    }
    m_keptStale = false;
}

qint64 Load::frameNanoseconds() const {
    const QScreen* display = screen();
    const double rate = display != nullptr && display->refreshRate() > 1.0 ? display->refreshRate() : 60.0;
    return static_cast<qint64>(1e9 / rate);
}

}  // namespace moza::ui
