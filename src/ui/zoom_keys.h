// The zoom commands of the windows that show artwork: 拡大, 縮小, 全体を表示, 等倍, with their keys.
#pragma once

#include <QList>
#include <functional>

class QAction;
class QObject;

namespace moza::ui {

class ArtView;

/// The four zoom commands, each acting on the art view `target` returns at that moment (nothing
/// when it returns null or a view without a page).
struct ZoomActions {
    QAction* zoomIn = nullptr;      // Ctrl++ (and Ctrl+=, the same key without Shift)
    QAction* zoomOut = nullptr;     // Ctrl+-
    QAction* fit = nullptr;         // Ctrl+0
    QAction* actualSize = nullptr;  // Ctrl+1

    QList<QAction*> all() const { return {zoomIn, zoomOut, fit, actualSize}; }
    void setEnabled(bool enabled) const;
};

/// Creates the zoom commands, owned by `owner`. Their keys work wherever the focus is in the
/// window the actions are added to.
ZoomActions CreateZoomActions(QObject* owner, std::function<ArtView*()> target);

}  // namespace moza::ui
