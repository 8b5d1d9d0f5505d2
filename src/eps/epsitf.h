// EPS texts of the ITF-14, JIS-ITF and Fisher-Price variations.
#pragma once

#include <vector>

#include "eps/epsbody.h"

namespace vg {

struct FrameText {
    BodyText text;       // x: where the drawing starts the text
    double drawnWidth;   // the text's width in the drawing, body units
};

// The character-by-character texts placed as the symbol object places them
// against its frame, in body units: (cornerX, cornerY) is the frame's top-left
// corner (y upward), m the magnification factor. Empty when nothing is drawn.
std::vector<FrameText> ItfFrameTexts(double cornerX, double cornerY, double m);

// Start of a text of the given width that keeps the drawing's alignment
// (Align 0 start, 1 centre, 2 end) of a text drawn at x with drawnWidth.
double RealignedStart(double x, double drawnWidth, double width, int align);

}  // namespace vg
