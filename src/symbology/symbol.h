// The symbol object, the bar pattern and the encoder dispatch.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "device/devicecontext.h"

namespace vg {

// The current symbol as two-character elements: a bar letter (B A C b a c) or a
// space letter (S R T s r t) and a width digit, plus the markers "LL", "ss" and
// "++". Written only by the encoders; always of even length.
extern std::string BarPattern;
// What the last encoder run encoded, check characters included.
extern std::string EncodedText;
inline constexpr std::size_t kMaxEncodedText = 79;

// Stores text into EncodedText, cut to kMaxEncodedText characters.
void SetEncodedText(std::string_view text);
// Appends one element to BarPattern (two characters).
void AppendElement(std::string_view element);

// ApplyVariationDefaults, then an empty BarPattern: nothing is encoded yet.
void ApplySymbolDefaults();

bool IsBarLetter(char c);
bool IsSpaceLetter(char c);
// Width in modules of one element pair of a variation's pattern; 0 for pairs
// that take no room (markers, unknown pairs). "++" counts 12 modules.
double ElementModules(char letter, char digit, double ratio, int variation);
// Width of a pattern in modules (the whole text, pairs only; a trailing odd
// character is ignored).
double PatternModules(std::string_view pattern, double ratio, int variation);
// A text line wider than the bars by excess (> 0) widens the quiet zones on the
// side its alignment puts it: 1 both halves, 2 the left, any other the right.
void SpreadExcess(double excess, int align, double& left, double& right);

// An encoder lives on the stack for one call.
class CEncoder {
public:
    virtual ~CEncoder() = default;
    // Prepares the data, builds the pattern; 1 on success, 0 on failure.
    virtual int Encode() = 0;

protected:
    // Looks the prepared data up in the pattern table and writes BarPattern.
    virtual int BuildPattern() = 0;
};

// Client area of the view, in device pixels.
struct ClipRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct DPoint {
    double x = 0;
    double y = 0;
};

// Output units (1/1000 inch) of a length in inches: times 1000, truncated,
// held inside the int range.
int ToOutputUnits(double inches);
// A length in 1/1000 inch as an int, within the same +-100,000,000 (not a number: 0).
int OutputUnits(double thousandths);
// The widest row of marks drawn, in 1/1000 inch: 200 inches, the largest page
// PDF and PostScript viewers take.
inline constexpr double kLargestPageUnits = 200000;

class DrawingSequence;

// The symbol object of a variation: geometry, slots and drawing primitives.
// The drawing sequence (render layer) runs it on a device context.
class CSymbol {
public:
    CSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* previewHandle);
    virtual ~CSymbol() = default;
    CSymbol(const CSymbol&) = delete;
    CSymbol& operator=(const CSymbol&) = delete;

    // Slots, in order. pass: 0 measure, 1 draw.
    virtual void Reset(DeviceContext& dc);                         // 0
    virtual void DrawSpecialText(DeviceContext& dc, int pass);     // 1
    virtual void AdjustSpecialBox(DeviceContext& dc);              // 2
    virtual void Layout(DeviceContext& dc, int outputFlag) = 0;    // 3
    virtual void DrawBars(DeviceContext& dc, int pass) = 0;        // 4
    virtual void DrawText(DeviceContext& dc, int outputFlag) = 0;  // 5
    virtual void DrawAddOnText(DeviceContext& dc);                 // 6
    virtual void BuildText() = 0;                                  // 7

    // Primitives. x is measured from the first bar (the end of the left quiet
    // zone), y from m_topMargin, both in symbol units.
    // A bar of width w at x, narrowed on the right by reduction (symbol units;
    // applied in file output only); advances m_cursorX by w in both passes.
    void DrawBar(double x, double width, double reduction, int pass);
    // Text in the human-readable font, its size times sizeFactor; align is
    // kAlignLeftTop or kAlignCentreTop. x is scaled by m_textScaleX, which is
    // reset to 1.0 afterwards.
    void DrawChar(double x, double y, char c, double sizeFactor, int align);
    // Left edge of each character of a text set in the selected font and spread
    // over width (the unit of width).
    std::vector<double> CharacterLefts(std::string_view text, double width);
    void DrawString(double x, double y, std::string_view text, double sizeFactor, int align);
    // Extent of a text in the unmagnified, unrotated human-readable font (or
    // Arial 125 while m_measureArial is set), output units.
    TextExtent MeasureText(std::string_view text);
    // No text: the font's widest character and its height.
    TextExtent MeasureText();

    // Results, for callers and tests.
    const Point* SymbolBox() const { return m_symbolBox; }
    const Point* BearerBox() const { return m_bearerBox; }
    const Point* BackgroundBox() const { return m_backgroundBox; }

protected:
    // Hooks around the sequence; the standard-number classes use them.
    virtual void BeginDraw() {}
    virtual void EndDraw() {}
    // Standard-number line: measure (grows m_symbolBox; the background box is
    // taken from it afterwards) and draw. Nothing here.
    virtual void MeasureStandardNumberLine(DeviceContext& dc);
    virtual void DrawStandardNumberLine(DeviceContext& dc);
    // Whether the human-readable number fits the bars (add-on text is drawn only then).
    virtual bool TextFits() const;
    // Parts of later families, empty here: the Vantic128 end pieces and picture.
    virtual void DrawEndPieces(DeviceContext& dc);
    virtual void DrawPicture(DeviceContext& dc);
    // Text beside the symbol (Vantic128 beside): measure and place, then draw.
    virtual void MeasureSideText(DeviceContext&) {}
    virtual void DrawSideText(DeviceContext&) {}

    // Symbol units (from the unrotated symbol rectangle's top-left corner) to
    // output units: magnify, rotate, add the origin, times 1000, truncated.
    Point MapSymbol(double sx, double sy) const;
    // Inches (already magnified, unrotated, from the rectangle's corner) to
    // output units.
    Point MapInches(double x, double y) const;
    // The human-readable font for drawing: size times factor, magnified, rotated.
    FontSpec DrawingFont(double sizeFactor) const;
    // The human-readable font for measuring: unmagnified, unrotated.
    FontSpec MeasuringFont() const;
    // Any face at a point size; magnified and rotated when forDrawing.
    FontSpec MakeFont(const std::string& face, double points, bool forDrawing, int weight, bool italic) const;
    // Selects the drawing font; on failure writes "Arial" into
    // FontName4humanreadable and selects again.
    void SelectHumanReadableFont(double sizeFactor);
    // Selects a font; on failure falls back as above. False when even that fails.
    bool SelectWithFallback(FontSpec font);
    // Selects the last drawing font again (after a measurement).
    void RestoreSelectedFont();
    // Grows a box (corner 0 = image of the top-left corner) by amount output
    // units on the side of the unrotated top edge.
    static void GrowBoxTop(Point box[4], double amount);  // output units
    // Moves every box and the origin by (dx, dy) output units.
    void ShiftDrawing(int dx, int dy);

    void RotateRectangle();

    friend class DrawingSequence;

    DeviceContext& m_dc;
    ClipRect m_clip;
    int m_outputFlag = 0;
    int m_previewFlag = 0;
    void* m_previewHandle = nullptr;
    FontSpec m_selectedFont;
    bool m_hasSelectedFont = false;

public:
    double m_leftMargin = 0;
    double m_rightMargin = 0;
    double m_topMargin = 0;
    double m_bottomMargin = 0;
    double m_module = 0;
    double m_textScaleX = 1.0;
    double m_scaleY = 1.0;
    double m_angle = 0;
    double m_sin = 0;
    double m_cos = 1.0;
    double m_patternWidth = 0;
    double m_barHeight = 0;
    double m_skewOffset = 0;
    double m_skewLead = 0;
    double m_textGap = 0;
    double m_bearer = 0;
    double m_magnification = 1.0;
    double m_barWidthReduction = 0;
    double m_originX = 0;
    double m_originY = 0;
    double m_cursorX = 0;
    double m_barBottomOffset = 0;
    double m_barTopOffset = 0;
    double m_minX = 0;
    double m_minY = 0;
    double m_maxX = 0;
    double m_maxY = 0;
    DPoint m_corner[4];
    Point m_symbolBox[4];
    Point m_bearerBox[4];
    Point m_backgroundBox[4];
    Point m_bearerInner[4];  // the symbol box the bearer box was grown from
    Point m_lastBar[4];      // corners of the last bar drawn
    std::string HumanReadable;
    std::string AddOnReadable;

    bool m_measureArial = false;  // MeasureText uses Arial 125
    Rgb m_barColour;
    Rgb m_spaceColour;
    double m_rotationRad = 0;  // m_angle in radians (pi as 3.1415926)
};

// Generic slots of all families but EAN/UPC.
class CLinearSymbol : public CSymbol {
public:
    using CSymbol::CSymbol;
    void Layout(DeviceContext& dc, int outputFlag) override;
    void DrawBars(DeviceContext& dc, int pass) override;
    void DrawText(DeviceContext& dc, int outputFlag) override;
    void BuildText() override;
};

// Classes of the other families; their own slots come with those families
// (ITF, MSI, POSTNET and FIM in symbology/linear.h).
class CCodabarSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
};
class CCode25Symbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
};
class CCode39Symbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void BuildText() override;
};
class CCode93Symbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
    void BuildText() override;
};
class CPharmacodeSymbol : public CLinearSymbol {
public:
    using CLinearSymbol::CLinearSymbol;
};

}  // namespace vg
