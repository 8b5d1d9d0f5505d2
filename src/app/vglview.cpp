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
    if (percent == m_zoom) return;
    m_zoom = percent;
    if (m_zoom == kFit) setMinimumSize(0, 0);
    update();
    if (onZoomChanged) onZoomChanged();
}

void CVGLView::ZoomIn() {
    for (int step : kSteps)
        if (step > std::lround(m_scale * 100)) return SetZoom(step);
    SetZoom(kSteps[std::size(kSteps) - 1]);
}

void CVGLView::ZoomOut() {
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
        if (*it < std::lround(m_scale * 100)) return SetZoom(*it);
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
    ++m_paints;
    m_drewSymbol = false;
    if (!m_ready || !m_ready()) return;
    const double scale = m_zoom == kFit ? FitScale() : m_zoom / 100.0;
    QPainter painter(this);
    // The drawing sequence lays the bars out at the zoomed resolution.
    const int dpiX = std::max(1, static_cast<int>(std::lround(logicalDpiX() * scale)));
    const int dpiY = std::max(1, static_cast<int>(std::lround(logicalDpiY() * scale)));
    {
        PainterDC dc(painter, dpiX, dpiY);
        // The drawing starts at the view's corner whatever part is repainted; its
        // scroll size is its own, not the window's.
        m_drewSymbol = DrawSymbol(dc, ClipRect{}, 0, 0, nullptr);
    }
    const bool rescaled = std::abs(scale - m_scale) > 1e-9;
    m_scale = scale;
    if (!m_drewSymbol) return;
    // The drawing's size decides the scroll range of the window around the view.
    const QSize size((ViewScrollSize.cx * dpiX + 999) / 1000, (ViewScrollSize.cy * dpiY + 999) / 1000);
    if (m_zoom != kFit && size != minimumSize()) setMinimumSize(size);
    // Fit follows a drawing whose size changed with this paint.
    if (m_zoom == kFit && std::abs(FitScale() - scale) > 0.01) update();
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
