#include "render/drawingframe.h"

#include "device/rasterdc.h"
#include "render/drawsymbol.h"

namespace vg {

DrawingFrame MeasureDrawingFrame() {
    // A raster context without a bitmap measures texts and draws nothing.
    RasterDC dc;
    DrawingFrame frame;
    frame.drawn = DrawSymbol(dc, ClipRect{}, 1, 0, nullptr);
    if (frame.drawn) {
        frame.width = LastDrawingExtent.cx;
        frame.height = LastDrawingExtent.cy;
    }
    return frame;
}

}  // namespace vg
