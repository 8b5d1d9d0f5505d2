// Vantic128 parts of the EPS body: the end pieces, the picture and the place of
// the text beside the symbol.
#include "eps/epsbody_internal.h"

#include "device/picture.h"
#include "eps/epsoutput.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"

namespace vg {

namespace {

std::string Point6(double x, double y) { return SixPlaces(x) + ' ' + SixPlaces(y); }

}  // namespace

double VanticLead(const EpsBodyLayout& l) {
    const EmbeddingFactors& e = CurrentEmbeddingFactors;
    return SymbolSettings.BarHeight * (e.p * 384 / 301 + e.q) / l.m;
}

double VanticSideBaseline(const EpsBodyLayout& l, const FontMeasure& fm, double size) {
    const double a = fm.ascent, leading = fm.height - size, t = fm.height;
    const double bars = l.h - l.start;
    if (bars < a - leading) return l.h + (a - leading - bars) / 2 - a;
    const double height = l.symTop - l.symBottom;
    return l.symTop - ((height - t) / 2 - (a - leading) / 2 - leading + a);
}

void PutVanticEndPieces(EpsOutput& out, const EpsBodyLayout& l) {
    const double skew = l.total - l.vanticTotal;
    const double x0 = l.symLeft + VanticLead(l), x1 = l.symRight;
    out.PutLine("newpath " + Point6(x0, l.h) + " m " + Point6(x0, l.start) + " l " + Point6(x0 + skew, l.start) +
                " l closepath");
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne) + " fill");
    out.PutLine("newpath " + Point6(x1 - skew, l.h) + " m " + Point6(x1, l.start) + " l " + Point6(x1, l.h) +
                " l closepath");
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne) + " fill");
}

void PutVanticPicture(EpsOutput& out, const EpsBodyLayout& l) {
    const Picture& picture = VanticPicture();
    if (picture.width <= 0 || picture.height <= 0) return;
    const double p = CurrentEmbeddingFactors.p;
    const double height = l.barHeight * p, width = height * 384 / 301;
    const double bottom = l.start + l.barHeight * (1 - p) / 2;
    out.PutLine("gsave " + Point6(l.symLeft, bottom + height) + " translate " +
                Point6(width / picture.width, -height / picture.height) + " scale");
    out.PutLine("newpath 0 0 m " + IntText(picture.width) + " 0 l " + IntText(picture.width) + ' ' +
                IntText(picture.height) + " l 0 " + IntText(picture.height) + " l closepath 1 setgray fill");
    for (const PictureShape& shape : picture.shapes) {
        std::string line = "newpath";
        for (std::size_t i = 0; i < shape.points.size(); ++i)
            line += ' ' + IntText(shape.points[i].x) + ' ' + IntText(shape.points[i].y) + (i ? " l" : " m");
        out.PutLine(line + " closepath");
        const double r = shape.colour.r / 255.0, g = shape.colour.g / 255.0, b = shape.colour.b / 255.0;
        if (l.levelOne)
            out.PutLine(SixPlaces(0.3 * r + 0.59 * g + 0.11 * b) + " setgray fill");
        else
            out.PutLine(SixPlaces(r) + ' ' + SixPlaces(g) + ' ' + SixPlaces(b) + " setrgbcolor fill");
    }
    out.PutLine("grestore");
}

}  // namespace vg
