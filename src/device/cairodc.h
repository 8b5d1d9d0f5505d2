// A device context that draws through cairo (PNG, SVG and PDF surfaces) with the
// fonts of the font service. Output units of 1/1000 inch are scaled to the surface.
#pragma once

#include <vector>

#include "device/metafiledc.h"

typedef struct _cairo cairo_t;

namespace vg {

class CairoDC final : public BackendDC {
public:
    // unitsToSurface: surface units per output unit (pixels or points per 1/1000 inch).
    // antialiasFills: false draws polygons with crisp pixel edges (raster surfaces).
    CairoDC(cairo_t* cr, double unitsToSurface, bool antialiasFills);

    void SetWindowExtent(int, int) override {}
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    void TextOut(Point at, std::string_view text) override;
    // Any Unicode text the selected face has glyphs for.
    bool DrawsUnicode() const override { return true; }
    void TextOutUtf8(Point at, std::string_view utf8) override;
    TextExtent GetTextExtentUtf8(std::string_view utf8) override;

private:
    void DrawGlyphs(Point at, const std::vector<unsigned long>& glyphs, const std::vector<int>& advances);

    cairo_t* m_cr;
    double m_scale;
    bool m_antialiasFills;
};

}  // namespace vg
