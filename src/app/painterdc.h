// A device context on a QPainter: the view's drawing, in output units of
// 1/1000 inch mapped to the device's pixels per inch.
#pragma once

#include "device/metafiledc.h"

class QPainter;

namespace vg {

class PainterDC final : public BackendDC {
public:
    // Maps 1000 units to dpiX and dpiY pixels; the painter's state is saved
    // here and restored by the destructor.
    PainterDC(QPainter& painter, int dpiX, int dpiY);
    ~PainterDC() override;

    int PixelsPerInchX() const override { return m_dpiX; }
    int PixelsPerInchY() const override { return m_dpiY; }
    void SetWindowExtent(int, int) override {}
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    void TextOut(Point at, std::string_view text) override;

private:
    QPainter& m_painter;
    int m_dpiX;
    int m_dpiY;
};

}  // namespace vg
