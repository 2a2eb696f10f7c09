// Zoom arithmetic of the art view: fitting, the zoom ladder, zooming about a point, and scroll limits.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QSizeF>

namespace moza::ui::zoom {

/// The largest zoom: a cell of the page then fills about a sixth of the pane.
inline constexpr double kMaxScale = 16.0;
/// Zoom steps are quarter powers of two, so every step lands on 1:1, 2:1, 1:2 and so on.
inline constexpr int kStepsPerDoubling = 4;

/// The scale at which a page of `page` pixels fits `viewport`, aspect kept; 1 for an empty page.
double FitScale(QSizeF page, QSize viewport);

/// The smallest zoom allowed for a page whose fitted scale is `fitScale`: the fitted view, or
/// 1:1 when the page is smaller than the pane, whichever is smaller.
double MinScale(double fitScale);

/// `scale` kept within [MinScale(fitScale), kMaxScale].
double ClampScale(double scale, double fitScale);

/// The next scale on the ladder (2^(k / kStepsPerDoubling)) above `scale` (`steps` > 0) or below it
/// (`steps` < 0), `steps` rungs away, clamped. A scale off the ladder goes to its neighbouring rung.
double StepScale(double scale, int steps, double fitScale);

/// The scroll position (the viewport's top-left corner in zoomed page pixels) that keeps the page
/// point under `anchor` (viewport pixels) where it is when the zoom goes from `oldScale` to
/// `newScale` with the view scrolled to `scroll`. Not clamped.
QPointF ScrollKeepingAnchor(QPointF scroll, QPointF anchor, double oldScale, double newScale);

/// `scroll` limited so the view stays on the page: a page narrower (lower) than the viewport is
/// centred, a wider one cannot be scrolled past its edges. Whole pixels.
QPoint ClampScroll(QPointF scroll, QSize zoomedPage, QSize viewport);

/// The zoomed size of `page` in whole pixels (rounded down, so a fitted page never needs scroll bars).
QSize ZoomedSize(QSizeF page, double scale);

}  // namespace moza::ui::zoom
