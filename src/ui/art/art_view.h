// ArtView: shows a page's artwork as an image viewer does: fitted at first, zoom about the pointer, pan.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "ui/art/art_page.h"
#include "ui/art/art_painter.h"

namespace moza::ui {

/// The zoom `scale` as people read it: "25 %", "3.1 %" below ten percent.
QString ZoomFigure(double scale);

/// Where a view stood on its page: enough to come back to the same zoom and place.
struct ArtViewState {
    double scale = 1.0;
    QPointF topLeft;  // the page point at the view's top-left corner
    bool fitted = true;
};

/// The art view. A new page opens fitted to the view, centred. Ctrl+wheel and Ctrl+plus/minus
/// zoom about the pointer (the view's centre when the pointer is elsewhere), Ctrl+0 fits, Ctrl+1
/// shows 1:1, the size a browser shows; the scroll bars, the wheel, the arrow keys, Page Up and
/// Page Down, Home and End (the page's top-left and bottom-right corners) and dragging pan. A
/// change of zoom shows the zoom figure in a corner for a moment.
class ArtView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ArtView(QWidget* parent = nullptr);
    ~ArtView() override;

    /// Shows `loaded`'s page fitted to the view.
    void showPage(const LoadedArtPage& loaded);
    /// Takes masks of the page's characters drawn off the user interface thread (at 1:1 with
    /// every phase, and at the zooms next to it); ignored unless `page` is the page shown.
    void takeMasks(const std::shared_ptr<const ArtPage>& page, const std::vector<std::shared_ptr<GlyphMasks>>& masks);
    /// The page shown with its masks at 1:1, for another view of the same page.
    LoadedArtPage loaded() const { return {m_page, m_unitMasks}; }
    /// Shows no page, only `message` in the middle (empty: nothing).
    void showMessage(const QString& message);

    /// The page shown, or null.
    const ArtPage* page() const { return m_page.get(); }
    /// View pixels per page pixel: 1 is the size a browser shows.
    double scale() const { return m_scale; }
    /// Whether the view shows the whole page fitted (and keeps it so when the view changes size).
    bool isFitted() const { return m_fitted; }
    /// The view's top-left corner in zoomed page pixels (negative where the page is centred).
    QPoint scrollPosition() const { return m_scroll; }
    /// The scale at which the whole page fits the view.
    double fitScale() const;
    /// Whether the last frame showed every visible character (not yet: some showed their ink, and
    /// the next frames, which follow by themselves, draw the rest).
    bool isComplete() const { return m_complete; }

    /// Where the view stands, and back there (clamped to the view's size now).
    ArtViewState viewState() const;
    void restoreView(const ArtViewState& state);

    void fitToView();
    /// One rung in or out, or 1:1, about the pointer when it is over the view, else the middle.
    void zoomIn() { zoomSteps(1, keyboardAnchor()); }
    void zoomOut() { zoomSteps(-1, keyboardAnchor()); }
    void showActualSize() { zoomTo(1.0, keyboardAnchor()); }
    /// Zooms to `scale` (clamped) keeping the page point under `anchor` (view pixels) in place.
    void zoomTo(double scale, QPointF anchor);
    /// Zooms `steps` rungs of the zoom ladder in (positive) or out about `anchor`.
    void zoomSteps(int steps, QPointF anchor);

signals:
    /// The zoom or the scroll position changed.
    void viewChanged();
    /// The user double-clicked the page.
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF pageSize() const;
    /// Sets the zoom and scroll position, the scroll bars to match, and repaints.
    void applyView(double scale, QPointF scroll);
    void setScrollBars(QSize zoomed);
    /// The masks for the current zoom, drawn as they are needed; null below kGlyphScale.
    GlyphMasks* masksFor(double frameScale);
    /// Where zooming from the keyboard keeps still: the pointer when over the view, else the middle.
    QPointF keyboardAnchor() const;
    void paintMessage(QPainter& painter);
    /// The zoom figure, bottom right, while m_figureShown runs.
    void paintZoomFigure(QPainter& painter);

    std::shared_ptr<const ArtPage> m_page;
    std::shared_ptr<GlyphMasks> m_unitMasks;
    std::vector<std::shared_ptr<GlyphMasks>> m_recentMasks;  // other zooms, most recent last
    QString m_message;
    double m_scale = 1.0;
    QPoint m_scroll;
    bool m_fitted = true;
    bool m_complete = true;
    bool m_settingBars = false;
    int m_wheelAngle = 0;
    bool m_dragging = false;
    QPoint m_dragFrom;
    QImage m_frame;
    QTimer* m_figureShown = nullptr;  // single shot: the zoom figure shows while it runs
    ArtPainter m_painter;
};

}  // namespace moza::ui
