// The size of the current symbol's drawing as written to a file: the frame of
// a metafile and the extent the EPS bounding box is taken from.
#pragma once

namespace vg {

struct DrawingFrame {
    int width = 0;       // 1/1000 inch
    int height = 0;      // 1/1000 inch
    bool drawn = false;  // false when the variation draws nothing
};

// Runs the measure pass of a file-output drawing (nothing is drawn). Like any
// drawing it may write back what the drawing computes (the additional text's
// H, a font fallback).
DrawingFrame MeasureDrawingFrame();

}  // namespace vg
