// The symbol body of an EPS file: layout numbers (epslayout.cpp), prolog
// procedures for bars, spaces and OCR glyphs (epsprocedures.cpp), and the page
// body (bars, texts, bearer bars, crop marks, additional text; epsbody.cpp).
// What belongs to one variation group alone stands in epsbody_<group>.cpp:
// eanupc, itf, code39, postal and vantic128 (epsbody_internal.h).
//
// Body coordinates are points before the page-level magnification, with y
// upward from the bottom of the symbol group (the page after its translation).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "eps/epswriter.h"
#include "eps/ocrglyphs.h"
#include "render/specblock.h"

namespace vg {

// Font measurements in whole points at 72 units per inch, for a font of the
// given em size. All zero when neither the font nor Arial can be had.
struct FontMeasure {
    int ascent = 0;
    int descent = 0;
    int height = 0;    // ascent + descent
    int width = 0;     // advance width of the text
    int maxWidth = 0;  // widest character of the font
};
FontMeasure TextMetrics(std::string_view font, double size, int style, std::string_view text = {});

// A text of the body: where and how it is drawn.
struct BodyText {
    std::string text;
    std::string font;  // screen name
    double size = 0;   // points
    int style = 0;
    double x = 0, y = 0;  // start of the baseline
    int angle = 0;        // counter-clockwise degrees: 0, 90, 180 or 270
    bool outlined = false;
    OcrFont ocr = OcrFont::B;
    double advance = 0;  // per character, for outlined text
    // Characters in cells of this pitch, each centred in its cell (0: a plain run).
    double cellPitch = 0;
    double cellWidth = 0;  // width of one character for the centring
};

// One character of the EAN/UPC number line.
struct BodyChar {
    char c = 0;
    double x = 0, y = 0;
    double size = 0;
};

struct EpsBodyLayout {
    int family = 0;
    int variation = 0;
    double m = 1;   // magnification factor
    double X0 = 0;  // nominal module
    double X13 = 0;
    double barHeight = 0;
    double bearerThickness = 0;  // body units
    double bearerPoints = 0;     // bearer thickness as drawn (page points)
    double barWidthReduction = 0;
    double elementWidth[5] = {};  // index 1..4: narrow, wide, 3 and 4 modules
    double barWidth[5] = {};      // element widths less the reduction
    int widths = 2;               // n
    bool eanUpc = false;
    bool vantic = false;
    bool pharmacode = false;
    bool bearerBox = false;  // the ITF-with-bearer class and 76
    bool transparent = false;
    bool registrationBar = false;  // bar colour 99/99/99/100

    double x0 = 0, y0 = 0;  // lower-left corner of the symbol group
    double total = 0;       // x of the first bar
    double vanticTotal = 0;
    double start = 0;         // y of the bar bottoms
    double h = 0;             // y of the bar tops
    double dataStart = 0;     // bottoms of the EAN/UPC data bars
    double patternWidth = 0;  // from the first bar to the end of the pattern
    double mainWidth = 0;     // EAN/UPC main symbol, first to last bar
    double addOnGap = 0;
    std::string separator;  // co, ta, at, i4 or empty
    double sepStart = 0, sepTop = 0;

    // Symbol rectangle (without additional text and the crop margin).
    double symLeft = 0, symBottom = 0, symRight = 0, symTop = 0;
    // Outer edge of the bearer bars (the stroke lies inside it).
    double bearerLeft = 0, bearerBottom = 0, bearerRight = 0, bearerTop = 0;
    double groupWidth = 0, groupHeight = 0;  // body units, crop margin included

    std::vector<BodyText> texts;   // in drawing order
    std::vector<BodyChar> digits;  // EAN/UPC digits
    std::string digitFont;
    int digitStyle = 0;
    bool digitsOutlined = false;
    OcrFont digitOcr = OcrFont::B;
    bool additionalText = false;  // the last of texts is the additional text

    int prufRoomX = 0, prufRoomY = 0;  // verification mark room (points)
    bool humanReadableOutlined = false;
    bool bookNumberOutlined = false;
    bool ocrBGlyphs = false, ocrAGlyphs = false;
    std::string glyphChars;  // characters drawn with outlines

    std::vector<std::string> specLines;  // specification block, wrapped to the page
    bool levelOne = false;               // level 1 output: grey colour operators
    EpsLayout page;
};

// Layout of the current settings. hrText is the human-readable text of the
// generic families as the symbol object builds it.
EpsBodyLayout ComputeEpsLayout(std::string_view hrText, bool levelOne = false);

// Prolog lines (positions, guards, bars and spaces, width variants, glyphs).
void WriteSymbolProcedures(EpsOutput& out, const EpsBodyLayout& layout);
// The page body after the bar colour line, closing with the inverse transforms.
void WriteSymbolBody(EpsOutput& out, const EpsBodyLayout& layout);

// The human-readable text the symbol object draws for the generic families.
std::string DrawnHumanReadable();
// Symbol parts for the current settings.
EpsSymbolParts CurrentSymbolParts(bool levelOne);
// Extent of the current rotation from a file-output drawing, grown to cover the
// EPS page.
SymbolExtent CurrentSymbolExtent();
// Writes the current symbol as an EPS file; true on success, else the reason
// as WriteEpsFile gives it.
bool WriteCurrentSymbolEps(const std::string& path, bool withPreview, bool levelOne, const std::string& title,
                           std::string* reason = nullptr);

}  // namespace vg
