// ArtView: zoom and scroll state, the input that changes it, and painting from the page's caches.
#include "ui/art/art_view.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/art/art_painter.h"
#include "ui/art/zoom.h"

namespace moza::ui {
namespace {

/// Masks kept for zooms other than 1:1 (each zoom has its own text size).
constexpr std::size_t kRecentMaskSets = 4;
/// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;
constexpr int kScrollStep = 20;
/// How long the zoom figure shows after the zoom changes.
constexpr int kFigureMilliseconds = 1500;

bool sameScale(double a, double b) { return std::abs(a - b) < 1e-9; }

}  // namespace

ArtView::ArtView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted each time, so nothing need be cleared first: no flicker.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    m_figureShown = new QTimer(this);
    m_figureShown->setSingleShot(true);
    m_figureShown->setInterval(kFigureMilliseconds);
    connect(m_figureShown, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
}

ArtView::~ArtView() = default;

void ArtView::showPage(const LoadedArtPage& loaded) {
    m_page = loaded.page;
    m_unitMasks = loaded.unitMasks;
    m_recentMasks.clear();
    m_message.clear();
    fitToView();
}

void ArtView::takeMasks(const std::shared_ptr<const ArtPage>& page, const std::vector<std::shared_ptr<GlyphMasks>>& masks) {
    if (page != m_page) return;
    for (const std::shared_ptr<GlyphMasks>& set : masks) {
        if (set->hasPhases()) {
            m_unitMasks = set;
            continue;
        }
        std::erase_if(m_recentMasks, [&set](const auto& kept) { return sameScale(kept->pixelSize(), set->pixelSize()); });
        if (m_recentMasks.size() == kRecentMaskSets) m_recentMasks.erase(m_recentMasks.begin());
        m_recentMasks.insert(m_recentMasks.begin(), set);
    }
}

void ArtView::showMessage(const QString& message) {
    m_page.reset();
    m_unitMasks.reset();
    m_recentMasks.clear();
    m_message = message;
    applyView(1.0, {});
}

QSizeF ArtView::pageSize() const {
    if (!m_page) return {};
    return {m_page->layout.pageWidth(), m_page->layout.pageHeight()};
}

double ArtView::fitScale() const { return zoom::FitScale(pageSize(), maximumViewportSize()); }

void ArtView::fitToView() {
    m_fitted = true;
    applyView(zoom::ClampScale(fitScale(), fitScale()), {});
}

ArtViewState ArtView::viewState() const { return {m_scale, QPointF(m_scroll) / m_scale, m_fitted}; }

void ArtView::restoreView(const ArtViewState& state) {
    if (!m_page) return;
    if (state.fitted) {
        fitToView();
        return;
    }
    const double target = zoom::ClampScale(state.scale, fitScale());
    m_fitted = false;
    applyView(target, state.topLeft * target);
}

void ArtView::zoomTo(double scale, QPointF anchor) {
    if (!m_page) return;
    const double target = zoom::ClampScale(scale, fitScale());
    m_fitted = false;
    applyView(target, zoom::ScrollKeepingAnchor(m_scroll, anchor, m_scale, target));
}

void ArtView::zoomSteps(int steps, QPointF anchor) {
    if (!m_page || steps == 0) return;
    const double target = zoom::StepScale(m_scale, steps, fitScale());
    if (steps < 0 && sameScale(target, zoom::MinScale(fitScale())) && fitScale() <= 1.0) {
        fitToView();  // zoomed all the way out: the fitted view, which then follows the view's size
        return;
    }
    zoomTo(target, anchor);
}

void ArtView::applyView(double scale, QPointF scroll) {
    if (m_page && !sameScale(scale, m_scale)) m_figureShown->start();
    m_scale = scale;
    const QSize zoomed = zoom::ZoomedSize(pageSize(), scale);
    setScrollBars(zoomed);
    m_scroll = zoom::ClampScroll(scroll, zoomed, viewport()->size());
    m_settingBars = true;
    horizontalScrollBar()->setValue(m_scroll.x());
    verticalScrollBar()->setValue(m_scroll.y());
    m_settingBars = false;
    const bool pannable = zoomed.width() > viewport()->width() || zoomed.height() > viewport()->height();
    viewport()->setCursor(m_dragging ? Qt::ClosedHandCursor : pannable ? Qt::OpenHandCursor : Qt::ArrowCursor);
    viewport()->update();
    emit viewChanged();
}

void ArtView::setScrollBars(QSize zoomed) {
    m_settingBars = true;
    // Showing a scroll bar narrows the viewport, which can call for the other one: settle it.
    for (int round = 0; round < 3; ++round) {
        const QSize before = viewport()->size();
        horizontalScrollBar()->setRange(0, std::max(0, zoomed.width() - before.width()));
        verticalScrollBar()->setRange(0, std::max(0, zoomed.height() - before.height()));
        horizontalScrollBar()->setPageStep(before.width());
        verticalScrollBar()->setPageStep(before.height());
        if (viewport()->size() == before) break;
    }
    m_settingBars = false;
}

void ArtView::scrollContentsBy(int, int) {
    if (m_settingBars || !m_page) return;
    const QSize zoomed = zoom::ZoomedSize(pageSize(), m_scale);
    const QPoint bars(horizontalScrollBar()->value(), verticalScrollBar()->value());
    m_scroll = zoom::ClampScroll(bars, zoomed, viewport()->size());
    m_fitted = m_fitted && m_scroll == zoom::ClampScroll({}, zoomed, viewport()->size());
    viewport()->update();
    emit viewChanged();
}

void ArtView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_settingBars) return;
    if (m_fitted) {
        fitToView();
    } else {
        applyView(zoom::ClampScale(m_scale, fitScale()), m_scroll);
    }
}

QPointF ArtView::keyboardAnchor() const {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(pointer)) return pointer;
    return QRectF(viewport()->rect()).center();
}

void ArtView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // High-resolution wheels send parts of a notch: zoom once a whole notch has gathered.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / kWheelNotch;
    m_wheelAngle -= steps * kWheelNotch;
    zoomSteps(steps, event->position());
    event->accept();
}

void ArtView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers == Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_Plus:
            case Qt::Key_Equal:
                zoomSteps(1, keyboardAnchor());
                return;
            case Qt::Key_Minus:
                zoomSteps(-1, keyboardAnchor());
                return;
            case Qt::Key_0:
                fitToView();
                return;
            case Qt::Key_1:
                zoomTo(1.0, keyboardAnchor());
                return;
            default:
                break;
        }
    }
    if (modifiers == Qt::NoModifier && m_page && (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
        // As in image viewers: the page's top-left corner, or its bottom-right one.
        const int end = event->key() == Qt::Key_End ? 1 : 0;
        horizontalScrollBar()->setValue(end * horizontalScrollBar()->maximum());
        verticalScrollBar()->setValue(end * verticalScrollBar()->maximum());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ArtView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_page) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void ArtView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const QPoint to = event->position().toPoint();
    const QPoint moved = to - m_dragFrom;
    m_dragFrom = to;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void ArtView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    applyView(m_scale, m_scroll);  // the cursor as it was
}

void ArtView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_page) {
        emit doubleClicked();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void ArtView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ArtView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

GlyphMasks* ArtView::masksFor(double frameScale) {
    if (!m_page || frameScale < kGlyphScale) return nullptr;
    if (sameScale(frameScale, 1.0) && m_unitMasks) return m_unitMasks.get();
    const double pixelSize = ArtLayout::kGlyphPixels * frameScale;
    const auto found = std::find_if(m_recentMasks.begin(), m_recentMasks.end(),
                                    [pixelSize](const auto& masks) { return sameScale(masks->pixelSize(), pixelSize); });
    if (found != m_recentMasks.end()) {
        std::rotate(found, found + 1, m_recentMasks.end());
    } else {
        if (m_recentMasks.size() == kRecentMaskSets) m_recentMasks.erase(m_recentMasks.begin());
        m_recentMasks.push_back(std::make_shared<GlyphMasks>(m_page->texts, pixelSize, false));
    }
    return m_recentMasks.back().get();
}

void ArtView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (!m_page) {
        paintMessage(painter);
        return;
    }
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    if (m_frame.size() != size) m_frame = NewFrame(size);
    const Placement placement{m_scale * ratio, -m_scroll * ratio};
    m_complete = m_painter.paint(m_frame, *m_page, placement, masksFor(placement.scale));
    m_frame.setDevicePixelRatio(ratio);
    painter.drawImage(QPoint(0, 0), m_frame);
    if (m_figureShown->isActive()) paintZoomFigure(painter);
    if (hasFocus()) {
        // The keys act here: say so with the platform's focus colour round the edge.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
    }
    // Characters still without masks: the next frame draws more of them, after pending input.
    if (!m_complete) QTimer::singleShot(0, viewport(), qOverload<>(&QWidget::update));
}

void ArtView::paintMessage(QPainter& painter) {
    painter.fillRect(viewport()->rect(), Qt::white);
    if (m_message.isEmpty()) return;
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, m_message);
}

QString ZoomFigure(double scale) {
    // Below 10 % a whole percent says too little: 3.1 % and 1.6 % are different views.
    const double percent = scale * 100.0;
    return percent < 10.0 ? QStringLiteral("%1 %").arg(percent, 0, 'f', 1)
                          : QStringLiteral("%1 %").arg(std::lround(percent));
}

void ArtView::paintZoomFigure(QPainter& painter) {
    const QString figure = ZoomFigure(m_scale);
    const QFontMetrics metrics(font());
    const QSize box = metrics.size(0, figure) + QSize(12, 6);
    const QRect where(viewport()->rect().bottomRight() - QPoint(box.width() + 6, box.height() + 6), box);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 160));
    painter.drawRoundedRect(where, 4, 4);
    painter.setPen(Qt::white);
    painter.drawText(where, Qt::AlignCenter, figure);
}

}  // namespace moza::ui
