// The drawing sequence run on one symbol object: measure pass, extents,
// normalisation, background, bars and texts, bearer bars and the extras.
#pragma once

#include <string>
#include <vector>

#include "render/drawingsize.h"
#include "render/specblock.h"
#include "symbology/symbol.h"

namespace vg {

// Bounds of a four-corner box, output units.
struct BoxBounds {
    int x0, y0, x1, y1;
};
BoxBounds BoundsOf(const Point box[4]);

// The text the additional text takes when UseHumanReadablesAsText is set.
std::string HumanReadableAsText(const SettingsRecord& s);

class DrawingSequence {
public:
    explicit DrawingSequence(CSymbol& symbol) : sym(symbol), m_dc(symbol.m_dc) {}
    void Run();

private:
    // The symbol laid out and measured with its extras; on the screen placed
    // after the view's margin.
    void MeasurePass(bool screen);
    void SetScrollSize();
    // The window extent, and the drawing moved so that its background starts at 0, 0.
    void PlaceBackground();
    // Background, bars, texts, bearer bars and the extras.
    void DrawPass();
    void BearerBars(int pass);
    // Preview: the raster context gets a bitmap of the drawing's size (false:
    // none can be made, nothing is drawn); the finished bitmap goes to the handle.
    bool PreparePreview();
    void FinishPreview();

    // Extras. Turn maps a vector of the unrotated frame (u along the symbol, v
    // down) to output units; SetBoxFromBounds gives a rectangle its corners
    // in the order of the symbol's rotation (corner 0 the image of the top-left).
    Point Turn(double u, double v) const;
    void SetBoxFromBounds(Point box[4], int x0, int y0, int x1, int y1) const;
    // The bearer box when there are bearer bars, else the symbol box, grown by
    // the verification mark.
    void ReferenceBox(Point box[4]) const;
    void UniteBackground(int x0, int y0, int x1, int y1);
    // Arial of 1/8 inch; turned with the symbol when forDrawing.
    FontSpec CaptionFont(bool forDrawing) const;
    std::string MarkCaption() const;
    void MeasureVerificationMark();
    void DrawVerificationMark(DeviceContext& dc);
    FontSpec AdditionalTextFont(bool forDrawing) const;
    bool SelectAdditionalTextFont(DeviceContext& dc, bool forDrawing);
    void MeasureAdditionalText(DeviceContext& dc);
    void DrawAdditionalText(DeviceContext& dc);
    void CropCorners(int& x0, int& y0, int& x1, int& y1) const;
    void MeasureCropMarks();
    void DrawCropMarks(DeviceContext& dc);
    void SpecBlockOrigin(int& x, int& y) const;
    static int SpecTextWidth(DeviceContext& dc, const SpecLine& line);
    void MeasureSpecBlock(DeviceContext& dc);
    void DrawSpecBlock(DeviceContext& dc);
    void MeasureExtras(DeviceContext& dc);
    void DrawExtras(DeviceContext& dc);

    CSymbol& sym;
    DeviceContext& m_dc;
    DrawingSize m_drawingSize;  // screen: the scroll size
    Point m_extentMin;          // drawing's extents for the preview
    Point m_extentMax;
    bool m_specialText = false;  // ITF texts drawn around the bearer frame

    // Extras, from the measure pass (output units).
    int m_markHeight = 0;  // verification mark, 0 when none
    double m_markSquare = 0;
    int m_markRows = 0;
    double m_markFrom = 0;  // rows along the symbol, from its box's corner 0
    double m_markTo = 0;
    bool m_markCaption = false;
    bool m_hasTextBox = false;  // additional text
    Point m_textBox[4];
    Point m_textOffset;  // anchor from the reference box's corner 0
    TextExtent m_textExtent;
    double m_textPitch = 0;  // AlignAT 3: points per character, nominal
    std::vector<SpecLine> m_specLines;
};

}  // namespace vg
