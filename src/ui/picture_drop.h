// PictureDrop: picture files dropped anywhere on a window, handed to a callback.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMimeData;

namespace moza::ui {

/// Watches every widget of `window` (the page view and the text boxes included, which would
/// otherwise take the drop themselves) and hands the first local file of a drop to `open`.
class PictureDrop : public QObject {
    Q_OBJECT
public:
    PictureDrop(QWidget* window, std::function<void(const QString& file)> open);
    ~PictureDrop() override;

    /// The first local file a drag carries, or an empty text when it carries none.
    static QString droppedFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::function<void(const QString&)> m_open;
};

}  // namespace moza::ui
