// Zoom arithmetic: plain functions of sizes and points, so the view's behaviour can be checked alone.
#include "ui/art/zoom.h"

#include <algorithm>
#include <cmath>

namespace moza::ui::zoom {
namespace {

// Scales within this of a rung count as on it (ladder values are computed, not exact).
constexpr double kRungTolerance = 1e-9;

double rungOf(double scale) { return std::log2(scale) * kStepsPerDoubling; }
double scaleOfRung(double rung) { return std::exp2(rung / kStepsPerDoubling); }

/// Page size in zoomed pixels, rounded down but never below zero.
int zoomedLength(double length, double scale) { return std::max(0, static_cast<int>(std::floor(length * scale + 1e-6))); }

/// One axis of ClampScroll.
int clampAxis(double scroll, int zoomed, int viewport) {
    if (zoomed <= viewport) return -((viewport - zoomed) / 2);
    return static_cast<int>(std::lround(std::clamp(scroll, 0.0, static_cast<double>(zoomed - viewport))));
}

}  // namespace

double FitScale(QSizeF page, QSize viewport) {
    if (page.width() <= 0 || page.height() <= 0 || viewport.isEmpty()) return 1.0;
    return std::min(viewport.width() / page.width(), viewport.height() / page.height());
}

double MinScale(double fitScale) { return std::min(fitScale, 1.0); }

double ClampScale(double scale, double fitScale) { return std::clamp(scale, MinScale(fitScale), kMaxScale); }

double StepScale(double scale, int steps, double fitScale) {
    if (steps == 0) return ClampScale(scale, fitScale);
    const double rung = rungOf(scale);
    const double nearest = std::round(rung);
    const bool onRung = std::abs(rung - nearest) < kRungTolerance;
    double target = 0;
    if (steps > 0) {
        target = (onRung ? nearest : std::floor(rung)) + steps;
    } else {
        target = (onRung ? nearest : std::ceil(rung)) + steps;
    }
    double next = scaleOfRung(target);
    // Zooming out past the fitted view stops at the fitted view, which is off the ladder.
    if (steps < 0 && next < MinScale(fitScale) && scale > MinScale(fitScale)) next = MinScale(fitScale);
    return ClampScale(next, fitScale);
}

QPointF ScrollKeepingAnchor(QPointF scroll, QPointF anchor, double oldScale, double newScale) {
    const QPointF pagePoint = (scroll + anchor) / oldScale;
    return pagePoint * newScale - anchor;
}

QPoint ClampScroll(QPointF scroll, QSize zoomedPage, QSize viewport) {
    return {clampAxis(scroll.x(), zoomedPage.width(), viewport.width()),
            clampAxis(scroll.y(), zoomedPage.height(), viewport.height())};
}

QSize ZoomedSize(QSizeF page, double scale) { return {zoomedLength(page.width(), scale), zoomedLength(page.height(), scale)}; }

}  // namespace moza::ui::zoom
