// Drawing the current symbol on a device context: the symbol factory and the
// one drawing sequence every target shares.
#pragma once

#include "render/drawingsize.h"
#include "symbology/symbol.h"

namespace vg {

// Scroll size of the view computed by the last screen draw, 1/1000 inch.
extern DrawingSize ViewScrollSize;
// Size of the background box (the whole drawing) of the last draw, 1/1000 inch.
extern DrawingSize LastDrawingExtent;

// Draws the current symbol: constructs the symbol object of Variation and runs
// the drawing sequence on it. outputFlag 0 screen, 1 file output; previewFlag 1
// renders the monochrome preview: dc is then a RasterDC and previewHandle a
// MonoBitmap that receives the bitmap (left empty when none could be made).
// Returns false when the variation has no symbol class (nothing is drawn then).
bool DrawSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* previewHandle);

// Runs the drawing sequence on a symbol object made by the caller (who then
// reads what the drawing laid out).
void RenderSymbol(CSymbol& symbol);

}  // namespace vg
