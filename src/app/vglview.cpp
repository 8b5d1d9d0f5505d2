#include "app/vglview.h"

#include <QPaintEvent>
#include <QPainter>

#include "app/painterdc.h"
#include "render/drawsymbol.h"

namespace vg {

CVGLView::CVGLView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void CVGLView::paintEvent(QPaintEvent*) {
    ++paints_;
    drewSymbol_ = false;
    if (!ready_ || !ready_()) return;
    QPainter painter(this);
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    {
        PainterDC dc(painter, dpiX, dpiY);
        // The drawing starts at the view's corner whatever part is repainted; its
        // scroll size is its own, not the window's.
        drewSymbol_ = DrawSymbol(dc, ClipRect{}, 0, 0, nullptr);
    }
    // The drawing's size decides the scroll range of the window around the view.
    const QSize size((ViewScrollSize.cx * dpiX + 999) / 1000, (ViewScrollSize.cy * dpiY + 999) / 1000);
    if (drewSymbol_ && size != minimumSize()) setMinimumSize(size);
}

}  // namespace vg
