#include "app/vglview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/painterdc.h"
#include "render/drawsymbol.h"

namespace vg {

CVGLView::CVGLView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void CVGLView::SetZoom(int percent) {
    if (percent != kFit) percent = std::clamp(percent, kSteps[0], kSteps[std::size(kSteps) - 1]);
    if (percent == zoom_) return;
    zoom_ = percent;
    if (zoom_ == kFit) setMinimumSize(0, 0);
    update();
    if (onZoomChanged) onZoomChanged();
}

void CVGLView::ZoomIn() {
    for (int step : kSteps)
        if (step > std::lround(scale_ * 100)) return SetZoom(step);
    SetZoom(kSteps[std::size(kSteps) - 1]);
}

void CVGLView::ZoomOut() {
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
        if (*it < std::lround(scale_ * 100)) return SetZoom(*it);
    SetZoom(kSteps[0]);
}

double CVGLView::FitScale() const {
    // The window around the view: the scroll area's viewport.
    const QWidget* area = parentWidget() ? parentWidget() : this;
    if (ViewScrollSize.cx <= 0 || ViewScrollSize.cy <= 0) return 1.0;
    const double w = area->width() * 1000.0 / (ViewScrollSize.cx * logicalDpiX());
    const double h = area->height() * 1000.0 / (ViewScrollSize.cy * logicalDpiY());
    return std::clamp(std::min(w, h), kSteps[0] / 100.0, kSteps[std::size(kSteps) - 1] / 100.0);
}

void CVGLView::paintEvent(QPaintEvent*) {
    ++paints_;
    drewSymbol_ = false;
    if (!ready_ || !ready_()) return;
    const double scale = zoom_ == kFit ? FitScale() : zoom_ / 100.0;
    QPainter painter(this);
    // The drawing sequence lays the bars out at the zoomed resolution.
    const int dpiX = std::max(1, static_cast<int>(std::lround(logicalDpiX() * scale)));
    const int dpiY = std::max(1, static_cast<int>(std::lround(logicalDpiY() * scale)));
    {
        PainterDC dc(painter, dpiX, dpiY);
        // The drawing starts at the view's corner whatever part is repainted; its
        // scroll size is its own, not the window's.
        drewSymbol_ = DrawSymbol(dc, ClipRect{}, 0, 0, nullptr);
    }
    const bool rescaled = std::abs(scale - scale_) > 1e-9;
    scale_ = scale;
    if (!drewSymbol_) return;
    // The drawing's size decides the scroll range of the window around the view.
    const QSize size((ViewScrollSize.cx * dpiX + 999) / 1000, (ViewScrollSize.cy * dpiY + 999) / 1000);
    if (zoom_ != kFit && size != minimumSize()) setMinimumSize(size);
    // Fit follows a drawing whose size changed with this paint.
    if (zoom_ == kFit && std::abs(FitScale() - scale) > 0.01) update();
    if (rescaled && onZoomChanged) onZoomChanged();
}

void CVGLView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QWidget::wheelEvent(event);
    const int delta = event->angleDelta().y();
    if (delta > 0) ZoomIn();
    if (delta < 0) ZoomOut();
    event->accept();
}

}  // namespace vg
