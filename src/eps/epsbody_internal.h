// What the files of the EPS symbol body share. epslayout.cpp lays out every
// group, epsprocedures.cpp writes the prolog procedures, epsbody.cpp the page
// body; a group's own layout and drawing stand in epsbody_<group>.cpp.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "eps/epsbody.h"
#include "eps/epsoutput.h"
#include "model/catalogue.h"
#include "model/charset.h"

namespace vg {

constexpr double kCropMargin = 12;    // page points on every side
constexpr double kSpecFontSize = 9;   // specification block: Arial 9
constexpr double kSpecLineStep = 11;  //   lines 11 points apart
constexpr int kSpecMargin = 3;

inline std::string SixPlaces(double v) { return FixedText(v == 0 ? 0.0 : v, 6); }

// True when font is one of the OCR fonts drawn with outlines; which names it.
bool IsOcrFont(std::string_view font, OcrFont& which);

inline bool TextOnly(int v) { return IsBooklandTextClass(v); }

// ---- Layout helpers (epslayout.cpp) ----

struct PatternWidths {
    double total = 0;
    double main = 0;  // before the first "++"
    bool hasSecond = false;
};
// Widths of the elements of a bar pattern, body units.
PatternWidths MeasurePattern(const EpsBodyLayout& l, std::string_view p);

BodyText MakeText(const std::string& text, const std::string& font, double size, int style, double x, double y);
// Draws t with the glyph outlines of its OCR font when allowed, and notes the glyphs it needs.
void MarkOutlined(EpsBodyLayout& l, BodyText& t, bool allowed);

// ---- Text writers of the page body (epsbody.cpp) ----

// A glyph procedure's call at (x, y) scaled by scale, appended to r.
void AppendGlyphCall(std::string& r, std::string_view name, double x, double y, double scale);
// "(text) show" with the text escaped.
void PutShow(EpsOutput& out, std::string_view text);
// The font lines of a text of size points starting at (x, y).
void PutFontLines(EpsOutput& out, const std::string& ps, double size, double x, double y);

// ---- Bodies of the variation groups (epsbody_<group>.cpp) ----

// POSTNET and FIM (epsbody_postal.cpp): their fixed layouts, and their bars
// as stroked lines.
void PostnetLayout(EpsBodyLayout& l);
void FimLayout(EpsBodyLayout& l);
void PutPostnet(EpsOutput& out, const EpsBodyLayout& l);
void PutFim(EpsOutput& out, const EpsBodyLayout& l);

// ITF-14, JIS-ITF and Fisher-Price (epsbody_itf.cpp): the character-by-character
// texts placed as the symbol object places them against its frame, in body
// units: (cornerX, cornerY) is the frame's top-left corner (y upward), m the
// magnification factor. x is where the drawing starts a text, drawnWidth its
// width there. Empty when nothing is drawn.
struct FrameText {
    BodyText text;
    double drawnWidth;
};
std::vector<FrameText> ItfFrameTexts(double cornerX, double cornerY, double m);
// Start of a text of the given width that keeps the drawing's alignment
// (Align 0 start, 1 centre, 2 end) of a text drawn at x with drawnWidth.
double RealignedStart(double x, double drawnWidth, double width, int align);

// Vantic128 (epsbody_vantic128.cpp).
// Lead before the left quiet zone (the picture and its gap), body units.
double VanticLead(const EpsBodyLayout& l);
// Baseline of the text beside the symbol of variation 117, centred on the
// symbol rectangle as on a device context.
double VanticSideBaseline(const EpsBodyLayout& l, const FontMeasure& fm, double size);

// The two bar-coloured triangles that square off the leaning quiet zones.
void PutVanticEndPieces(EpsOutput& out, const EpsBodyLayout& l);
// The picture, scaled into its box beside the bars on white.
void PutVanticPicture(EpsOutput& out, const EpsBodyLayout& l);

// Code 39 family (epsbody_code39.cpp): the file's human-readable text from
// the drawn one.
std::string Code39FileText(int variation, std::string_view drawn);

// EAN/UPC and the book numbers (epsbody_eanupc.cpp). Lengths are body points;
// x is measured from the first bar.
void EanUpcLayout(EpsBodyLayout& l);
// The book-number variations that are a text line without bars.
void TextOnlyLayout(EpsBodyLayout& l);
// The digits of the number, one character at a time.
void PutDigits(EpsOutput& out, const EpsBodyLayout& l);

// The number measured for the fit: no check digit; standard numbers with all
// thirteen digits, UPC-E as its six digits, coupons their UPC/EAN part.
std::string EanUpcFitNumber(int variation);
// True when that number is wider in the font than the main symbol (95, 67 or
// 51 modules).
bool EanUpcDoesNotFit(int variation, const std::string& font, double size, int style, double module);
// The text over the second part: the add-on digits, or the coupon's UCC/EAN-128 text.
std::string EanUpcSecondText(int variation);
// The one line: the number, its check digit unless hidden, and with withSecond
// (unless HideAddonText) the text of the second part.
std::string EanUpcOneLine(int variation, bool withSecond);

// Left ends of count characters over the second part, in modules from its
// first bar: the first after the start pattern, the others spread over the rest.
std::vector<double> SecondPartCharOffsets(std::string_view pattern, std::size_t count, double ratio, int variation);

// The NDC mark: the digit 3 centred left of the bars with its top at top (y up)
// and the letter N above it, both at size points.
std::vector<BodyChar> NdcMarkChars(const std::string& font, int style, double size, double module, double firstBar,
                                   double top);

}  // namespace vg
