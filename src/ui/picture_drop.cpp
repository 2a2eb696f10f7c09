// PictureDrop: an application event filter that takes file drops aimed at one window.
#include "ui/picture_drop.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace moza::ui {

PictureDrop::PictureDrop(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), m_window(window), m_open(std::move(open)) {
    QCoreApplication::instance()->installEventFilter(this);
}

PictureDrop::~PictureDrop() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

QString PictureDrop::droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

bool PictureDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_window) return false;
    auto* drop = static_cast<QDropEvent*>(event);  // QDragEnterEvent and QDragMoveEvent derive from it
    const QString file = droppedFile(drop->mimeData());
    if (file.isEmpty()) return false;  // text and other drops go where they were aimed
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    // Opened once the drop is over: a message about the picture must not hold up the drag source.
    if (type == QEvent::Drop) QTimer::singleShot(0, this, [this, file] { m_open(file); });
    return true;
}

}  // namespace moza::ui
