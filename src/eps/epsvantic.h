// Vantic128 parts of the EPS body: the end pieces, the picture and the place of
// the text beside the symbol.
#pragma once

#include "eps/epsbody.h"

namespace vg {

// Lead before the left quiet zone (the picture and its gap), body units.
double VanticLead(const EpsBodyLayout& l);
// Baseline of the text beside the symbol of variation 117, centred on the
// symbol rectangle as on a device context.
double VanticSideBaseline(const EpsBodyLayout& l, const FontMeasure& fm, double size);

// The two bar-coloured triangles that square off the leaning quiet zones.
void PutVanticEndPieces(EpsOutput& out, const EpsBodyLayout& l);
// The picture, scaled into its box beside the bars on white.
void PutVanticPicture(EpsOutput& out, const EpsBodyLayout& l);

}  // namespace vg
