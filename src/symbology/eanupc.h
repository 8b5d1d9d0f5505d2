// EAN/UPC family: encoders, layout, guard-aware bars and the symbol classes.
//
// Defined in eanupc.cpp: the encoders, CEanUpcSymbol::Layout, DrawBars and
// TextFits, CStandardNumberSymbol::Reset.
// Defined in eanupctext.cpp (human-readable text): CEanUpcSymbol::DrawAddOnText,
// ComputeTextFit and TextLine; every DrawText and BuildText override below;
// CBooklandSymbol::BeginDraw, EndDraw, BuildStandardNumberLine,
// MeasureStandardNumberLine and DrawStandardNumberLine.
#pragma once

#include <string>
#include <string_view>

#include "symbology/symbol.h"

namespace vg {

// Elements of one digit (0..9) in number set 'A', 'B' or 'C'; empty otherwise.
std::string_view EanDigitElements(char set, int digit);

// Append to BarPattern; 0 (and nothing appended) when the digits are not
// exactly 13, 8, 12 or six-plus-number-system digits.
int AppendEan13(std::string_view thirteen);
int AppendEan8(std::string_view eight);
int AppendUpcA(std::string_view twelve);
int AppendUpcE(std::string_view six, char numberSystem, char check);
// Add-on of 2 or 5 digits; another length appends only the start.
void AppendAddOn(std::string_view digits);

// Encoder of an EAN/UPC variation (the UPC-A or EAN-13 part of the coupon
// codes); writes BarPattern and EncodedText. 1 on success, else 0 with
// BarPattern empty.
int EncodeEanUpc(int variation);

// Standard-number prefix of a variation ("978", "979", "977"), "" when none.
std::string_view StandardNumberPrefix(int variation);

// Module counts of the main symbols.
inline constexpr int kEan13Modules = 95;
inline constexpr int kEan8Modules = 67;
inline constexpr int kUpcEModules = 51;

inline constexpr double kGuardExtension = 0.08;  // inch, guard bars below data bars

class CEanUpcSymbol : public CSymbol {
public:
    using CSymbol::CSymbol;
    void Layout(DeviceContext& dc, int outputFlag) override;  // 3
    void DrawBars(DeviceContext& dc, int pass) override;      // 4
    void DrawAddOnText(DeviceContext& dc) override;           // 6
    bool TextFits() const override;

    // Width of the main symbol in modules.
    virtual int MainSymbolModules() const { return kEan13Modules; }

    // Sets m_textDiffers, m_doesNotFit and m_narrow for this draw.
    void ComputeTextFit(DeviceContext& dc);
    // The whole human-readable line: number, check digit unless hidden, and
    // (withAddOn, unless HideAddonText) the add-on or coupon part.
    std::string TextLine(bool withAddOn) const;

    bool m_textDiffers = false;  // typed text holds hyphens or spaces
    bool m_doesNotFit = false;   // number wider than the main symbol
    bool m_narrow = false;       // digits fit between the guard extensions
    double m_textHeight = 0;     // height of the human-readable font, inches
};

class CEan13Symbol : public CEanUpcSymbol {
public:
    using CEanUpcSymbol::CEanUpcSymbol;
    void DrawText(DeviceContext& dc, int outputFlag) override;  // 5
    void BuildText() override;                                  // 7
};

class CEan8Symbol : public CEanUpcSymbol {
public:
    using CEanUpcSymbol::CEanUpcSymbol;
    int MainSymbolModules() const override { return kEan8Modules; }
    void DrawText(DeviceContext& dc, int outputFlag) override;
    void BuildText() override;
};

class CEan99CouponSymbol : public CEan13Symbol {
public:
    using CEan13Symbol::CEan13Symbol;
    void DrawText(DeviceContext& dc, int outputFlag) override;
    void BuildText() override;
};

class CBooklandSymbol : public CEan13Symbol {
public:
    using CEan13Symbol::CEan13Symbol;
    void BuildText() override;

    // Builds m_numberLine (and m_numberLine2 for the dual variation).
    void BuildStandardNumberLine();

    std::string m_numberLine;
    std::string m_numberLine2;
    double m_linePoints = 0;  // font size of the line, points
    int m_lineHeight = 0;     // output units
    int m_line2Height = 0;    // output units
    Point m_lineAnchor;       // where the line starts, output units
    std::string m_savedOriginalMainText;
    std::string m_savedMainText;
    bool m_textsSwapped = false;  // the record holds the 13-digit number

protected:
    // Keep and replace OriginalMainText and MainText by the 13-digit number;
    // restore them afterwards.
    void BeginDraw() override;
    void EndDraw() override;
    void MeasureStandardNumberLine(DeviceContext& dc) override;
    void DrawStandardNumberLine(DeviceContext& dc) override;
};

// The "General" standard-number variations: only the line is drawn.
class CStandardNumberSymbol : public CBooklandSymbol {
public:
    using CBooklandSymbol::CBooklandSymbol;
    // Sets Hidden to 1 and CurRatio to 0 and empties BarPattern, then the base.
    void Reset(DeviceContext& dc) override;  // 0
    void BuildText() override;               // 7
};

class CUpcASymbol : public CEanUpcSymbol {
public:
    using CEanUpcSymbol::CEanUpcSymbol;
    void DrawText(DeviceContext& dc, int outputFlag) override;
    void BuildText() override;
};

class CUccCouponSymbol : public CUpcASymbol {
public:
    using CUpcASymbol::CUpcASymbol;
    void DrawText(DeviceContext& dc, int outputFlag) override;
};

class CUpcESymbol : public CEanUpcSymbol {
public:
    using CEanUpcSymbol::CEanUpcSymbol;
    int MainSymbolModules() const override { return kUpcEModules; }
    void DrawText(DeviceContext& dc, int outputFlag) override;
    void BuildText() override;
};

}  // namespace vg
