// The Edit Colour dialog without widgets: the two colours being edited, the
// model and type radios, the value rows with their undo of wrong keystrokes,
// the conversions, the contrast indicator and what OK stores.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/dialogmodel.h"
#include "model/symbolsettings.h"

namespace vg {

// Controls of the Edit Colour dialog (157).
namespace ecd {
inline constexpr int kBars = 1090;
inline constexpr int kSpaces = 1091;
inline constexpr int kProcess = 1092;
inline constexpr int kSpot = 1093;
inline constexpr int kRgb = 1094;
inline constexpr int kCmyk = 1096;
inline constexpr int kTransparent = 1100;
inline constexpr int kOverprint = 1101;
inline constexpr int kBarsName = 1113;
inline constexpr int kSpacesName = 1114;
inline constexpr int kCustom = 3;
// Value rows 0..3: edit, scroll bar; CMYK and RGB labels.
inline constexpr int kEdits[4] = {1115, 1116, 1117, 1118};
inline constexpr int kScrolls[4] = {1095, 1097, 1098, 1099};
inline constexpr int kCmykLabels[4] = {1105, 1106, 1107, 1108};
inline constexpr int kRgbLabels[3] = {1109, 1110, 1111};
inline constexpr int kFourthPercent = 1112;
// Contrast indicator pictures: OK, OFF, ERR.
inline constexpr int kIndicatorOk = 1122;
inline constexpr int kIndicatorOff = 1123;
inline constexpr int kIndicatorErr = 1124;
}  // namespace ecd

// Indicator values, as stored in Hueproof.
inline constexpr int kHueNotApplicable = 1;
inline constexpr int kHueTooLittle = 2;
inline constexpr int kHueEnough = 3;

// Percentages 0..100.
struct RgbPercent {
    uint8_t red = 0, green = 0, blue = 0, black = 0;  // black: the RGB model's own
    bool operator==(const RgbPercent&) const = default;
};
struct CmykPercent {
    uint8_t cyan = 0, magenta = 0, yellow = 0, black = 0;
    bool operator==(const CmykPercent&) const = default;
};

// Red, green and blue of CMYK values (black of the result left at 0).
RgbPercent CmykToRgb(const CmykPercent& c);
// CMYK of RGB values with the RGB model's black.
CmykPercent RgbToCmyk(const RgbPercent& c);
// CMYK that prints the screen colour: black takes the grey part, the RGB model's black is ignored.
CmykPercent ScreenToCmyk(const RgbPercent& c);
// max(bars cyan, black) - max(spaces cyan, black).
int SpotContrast(const CmykPercent& bars, const CmykPercent& spaces);
// Screen component 0..255 of a percentage, and back (integer division both ways).
int ScreenComponent(int percent);
int PercentOfComponent(int component);

// The bar/space pattern strings of the two samples: widths in pixels, bar then space.
const char* SamplePattern(bool oldColours, bool largeFonts);

enum class ScrollStep { LineLeft, LineRight, PageLeft, PageRight, ThumbReleased };

class EditColourModel {
public:
    explicit EditColourModel(SettingsRecord& record);

    // Radios and boxes.
    bool EditingBars() const { return m_editingBars; }
    bool Spot() const { return m_spot; }
    bool CmykModel() const { return m_cmyk; }
    bool Transparent() const { return m_transparent; }
    bool Overprint() const { return m_overprint; }
    int Indicator() const { return m_indicator; }
    int IndicatorPicture() const;  // ecd::kIndicatorOk/Off/Err, 0 for none
    bool Enabled(int control) const;
    bool Shown(int control) const;  // the labels and the fourth row by the model

    // Working colours and those at opening (for the left sample).
    const std::string& Name(bool bars) const { return bars ? m_barsName : m_spacesName; }
    const RgbPercent& Rgb(bool bars) const { return bars ? m_barsRgb : m_spacesRgb; }
    const CmykPercent& Cmyk(bool bars) const { return bars ? m_barsCmyk : m_spacesCmyk; }
    const RgbPercent& OldRgb(bool bars) const { return bars ? m_oldBars : m_oldSpaces; }

    // Rows 0..3: the edit's text and the scroll bar's position.
    const std::string& RowText(int row) const { return m_texts[row]; }
    int ScrollPosition(int row) const { return m_scroll[row]; }

    // Counts changes of the working colours: the right sample is redrawn when it moves.
    int Changes() const { return m_changes; }
    // The control asked to take the focus with its text selected (0: none); cleared when taken.
    int TakeFocusRequest();

    // User actions.
    void ChooseColour(bool bars);
    void ChooseModel(bool cmyk);
    void ChooseType(bool spot);
    void SetTransparent(bool ticked);
    void SetOverprint(bool ticked) { m_overprint = ticked; }
    void SetName(bool bars, const std::string& name) { (bars ? m_barsName : m_spacesName) = name; }
    // A text typed into a row: returns the text the edit then holds (a wrong
    // keystroke undone, a value above 100 cut) and applies it.
    std::string TypeValue(int row, const std::string& text);
    // The edit lost the focus: empty becomes "0".
    std::string LeaveValue(int row);
    // thumb: the released thumb's position.
    void Scroll(int row, ScrollStep step, int thumb = 0);
    // The system colour chooser's answer (components 0..255).
    void CustomColour(int red, int green, int blue);
    // The guide the Custom button shows before the chooser: caption and text,
    // or the "Error Loading String" message when a string is missing (then no chooser).
    struct CustomGuide {
        bool chooser = true;
        DialogProblem message;
    };
    static CustomGuide CustomButtonGuide();

    // Names checked in order; on a refusal nothing is stored.
    DialogCheck Check() const;
    DialogCheck Ok();

private:
    RgbPercent& EditedRgb() { return m_editingBars ? m_barsRgb : m_spacesRgb; }
    CmykPercent& EditedCmyk() { return m_editingBars ? m_barsCmyk : m_spacesCmyk; }
    void Agree();
    void ShowModel();
    void ShowRgb();
    void ShowCmyk();
    void Evaluate();
    void SetRow(int row, int value);
    void EditChanged(int row);
    void Changed() { ++m_changes; }

    SettingsRecord& m_s;
    std::string m_barsName, m_spacesName;
    RgbPercent m_barsRgb, m_spacesRgb, m_oldBars, m_oldSpaces;
    CmykPercent m_barsCmyk, m_spacesCmyk;
    bool m_editingBars = true;
    bool m_spot = true;
    bool m_cmyk = true;
    bool m_transparent = false;
    bool m_overprint = false;
    int m_indicator = kHueNotApplicable;
    bool m_convertOnCmyk = false;
    std::array<std::string, 4> m_texts;
    std::array<std::string, 4> m_lastValid;
    std::array<int, 4> m_scroll{};
    int m_changes = 0;
    int m_focus = 0;
};

// After the dialog's OK: the input bar's indicator follows Hueproof.
class InputBar;
void AfterEditColour(InputBar& bar);

}  // namespace vg
