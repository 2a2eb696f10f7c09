// The zoom commands: captions, keys and what each does to the art view.
#include "ui/zoom_keys.h"

#include <QAction>
#include <QKeySequence>

#include "ui/art/art_view.h"

namespace moza::ui {
namespace {

QAction* zoomAction(QObject* owner, const char* name, const QString& caption, const QList<QKeySequence>& keys,
                    const std::function<ArtView*()>& target, void (*act)(ArtView&)) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    QObject::connect(action, &QAction::triggered, owner, [target, act] {
        if (ArtView* view = target(); view != nullptr && view->page() != nullptr) act(*view);
    });
    return action;
}

}  // namespace

void ZoomActions::setEnabled(bool enabled) const {
    for (QAction* action : all()) action->setEnabled(enabled);
}

ZoomActions CreateZoomActions(QObject* owner, std::function<ArtView*()> target) {
    ZoomActions actions;
    actions.zoomIn = zoomAction(owner, "MN_VIEW_ZOOMIN", QStringLiteral("拡大(&I)"),
                                {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, target,
                                [](ArtView& view) { view.zoomIn(); });
    actions.zoomOut =
        zoomAction(owner, "MN_VIEW_ZOOMOUT", QStringLiteral("縮小(&U)"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                   target, [](ArtView& view) { view.zoomOut(); });
    actions.fit = zoomAction(owner, "MN_VIEW_FIT", QStringLiteral("全体を表示(&W)"),
                             {QKeySequence(Qt::CTRL | Qt::Key_0)}, target, [](ArtView& view) { view.fitToView(); });
    actions.actualSize =
        zoomAction(owner, "MN_VIEW_ACTUAL", QStringLiteral("等倍(&A)"), {QKeySequence(Qt::CTRL | Qt::Key_1)}, target,
                   [](ArtView& view) { view.showActualSize(); });
    return actions;
}

}  // namespace moza::ui
