#include "dialogs/editcolourmodel.h"

#include <algorithm>

#include "entry/inputbar.h"
#include "model/strings.h"

namespace vg {
namespace {

uint8_t Byte(int percent) { return static_cast<uint8_t>(std::clamp(percent, 0, 100)); }

// The number of an edit's text; 0 when empty, 101 and more read as 101.
int NumberOf(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = std::min(value * 10 + (c - '0'), 101);
    }
    return value;
}

}  // namespace

RgbPercent CmykToRgb(const CmykPercent& c) {
    return {Byte(100 - c.cyan - c.black), Byte(100 - c.magenta - c.black), Byte(100 - c.yellow - c.black), 0};
}

CmykPercent RgbToCmyk(const RgbPercent& c) {
    const int k = c.black;
    return {Byte(100 - std::min(100, c.red + k)), Byte(100 - std::min(100, c.green + k)),
            Byte(100 - std::min(100, c.blue + k)), Byte(k)};
}

CmykPercent ScreenToCmyk(const RgbPercent& c) {
    const int k = 100 - std::max({c.red, c.green, c.blue});
    return {Byte(100 - c.red - k), Byte(100 - c.green - k), Byte(100 - c.blue - k), Byte(k)};
}

int SpotContrast(const CmykPercent& bars, const CmykPercent& spaces) {
    return std::max(bars.cyan, bars.black) - std::max(spaces.cyan, spaces.black);
}

int ScreenComponent(int percent) { return std::clamp(percent, 0, 100) * 255 / 100; }
int PercentOfComponent(int component) { return std::clamp(component, 0, 255) * 100 / 255; }

const char* SamplePattern(bool oldColours, bool largeFonts) {
    if (oldColours)
        return largeFonts ? "13113131113111131131113113113131311311" : "113131113111131131113113113131311311";
    return largeFonts ? "11311311113111331111313133111111131131311" : "1131131111311133111131313311111113113";
}

EditColourModel::EditColourModel(SettingsRecord& record) : m_s(record) {
    m_barsName = m_s.BarsTextColorName;
    m_spacesName = m_s.SpacesQuietZoneColorName;
    m_barsRgb = {m_s.redBarsText, m_s.greenBarsText, m_s.blueBarsText, m_s.blackBarsText};
    m_spacesRgb = {m_s.redSpacesQuietZone, m_s.greenSpacesQuietZone, m_s.blueSpacesQuietZone, m_s.blackSpacesQuietZone};
    // Opened in the RGB model the CMYK sets hold the stored values until converted.
    m_barsCmyk = {m_s.CMYKcyanBarsText, m_s.CMYKmagentaBarsText, m_s.CMYKyellowBarsText, m_s.CMYKblackBarsText};
    m_spacesCmyk = {m_s.CMYKcyanSpacesQuietZone, m_s.CMYKmagentaSpacesQuietZone, m_s.CMYKyellowSpacesQuietZone,
                    m_s.CMYKblackSpacesQuietZone};
    m_oldBars = m_barsRgb;
    m_oldSpaces = m_spacesRgb;

    m_editingBars = m_s.BarsTextRadio != 0 || m_s.SpacesQuietZoneRadio == 0;
    m_spot = m_s.ProcessRadio == 0;
    m_cmyk = m_s.RGB_Radio == 0;
    m_transparent = m_s.TransparentBackground != 0;
    m_overprint = m_s.Overprint != 0;
    for (auto& t : m_lastValid) t = "0";

    ShowModel();
    if (m_s.Hueproof >= kHueNotApplicable && m_s.Hueproof <= kHueEnough) m_indicator = m_s.Hueproof;
    if (m_transparent) SetTransparent(true);
    m_focus = 0;
}

int EditColourModel::IndicatorPicture() const {
    switch (m_indicator) {
    case kHueNotApplicable: return ecd::kIndicatorOff;
    case kHueTooLittle: return ecd::kIndicatorErr;
    case kHueEnough: return ecd::kIndicatorOk;
    default: return 0;
    }
}

bool EditColourModel::Enabled(int control) const {
    if (control == ecd::kOverprint) return !m_transparent;
    if (control == ecd::kSpaces || control == ecd::kSpacesName) return !m_transparent;
    return true;
}

bool EditColourModel::Shown(int control) const {
    for (int id : ecd::kCmykLabels)
        if (id == control) return m_cmyk;
    for (int id : ecd::kRgbLabels)
        if (id == control) return !m_cmyk;
    if (control == ecd::kEdits[3] || control == ecd::kScrolls[3] || control == ecd::kFourthPercent) return m_cmyk;
    return true;
}

int EditColourModel::TakeFocusRequest() {
    const int id = m_focus;
    m_focus = 0;
    return id;
}

void EditColourModel::SetRow(int row, int value) {
    m_texts[row] = std::to_string(value);
    m_lastValid[row] = m_texts[row];
    m_scroll[row] = value;
}

void EditColourModel::ShowModel() { m_cmyk ? ShowCmyk() : ShowRgb(); }

void EditColourModel::ShowRgb() {
    const RgbPercent& c = EditedRgb();
    SetRow(0, c.red);
    SetRow(1, c.green);
    SetRow(2, c.blue);
    Evaluate();
    m_convertOnCmyk = true;
}

void EditColourModel::ShowCmyk() {
    if (m_convertOnCmyk) {
        EditedCmyk() = RgbToCmyk(EditedRgb());
        m_convertOnCmyk = false;
    }
    const CmykPercent& c = EditedCmyk();
    SetRow(0, c.cyan);
    SetRow(1, c.magenta);
    SetRow(2, c.yellow);
    SetRow(3, c.black);
    Evaluate();
}

void EditColourModel::Evaluate() {
    if (!m_spot || !m_cmyk) {
        m_indicator = kHueNotApplicable;
        return;
    }
    m_indicator = SpotContrast(m_barsCmyk, m_spacesCmyk) >= 60 ? kHueEnough : kHueTooLittle;
}

void EditColourModel::ChooseColour(bool bars) {
    m_editingBars = bars;
    ShowModel();
    m_focus = bars ? ecd::kBarsName : ecd::kSpacesName;
}

void EditColourModel::ChooseModel(bool cmyk) {
    m_cmyk = cmyk;
    ShowModel();
}

void EditColourModel::ChooseType(bool spot) {
    m_spot = spot;
    if (spot)
        Evaluate();
    else
        m_indicator = kHueNotApplicable;
}

void EditColourModel::SetTransparent(bool ticked) {
    m_transparent = ticked;
    if (!ticked) return;
    if (m_spacesRgb.red != 100 || m_spacesRgb.green != 100 || m_spacesRgb.blue != 100) {
        m_spacesRgb.red = m_spacesRgb.green = m_spacesRgb.blue = 100;
        if (m_cmyk) m_spacesCmyk = {};
        Changed();
    }
    ChooseColour(true);
}

std::string EditColourModel::TypeValue(int row, const std::string& text) {
    if (row < 0 || row > 3) return std::string();
    std::string shown = text;
    if (text.empty()) {
        m_lastValid[row] = "0";
    } else if (text.find_first_not_of("0123456789") != std::string::npos) {
        shown = m_lastValid[row];
        m_focus = ecd::kEdits[row];
    } else if (NumberOf(text) > 100) {
        shown = "100";
        m_lastValid[row] = shown;
        m_focus = ecd::kEdits[row];
    } else {
        m_lastValid[row] = text;
    }
    m_texts[row] = shown;
    EditChanged(row);
    return shown;
}

std::string EditColourModel::LeaveValue(int row) {
    if (row < 0 || row > 3) return std::string();
    if (m_texts[row].empty()) TypeValue(row, "0");
    return m_texts[row];
}

void EditColourModel::EditChanged(int row) {
    const int value = NumberOf(m_texts[row]);
    if (!m_cmyk) {
        if (row > 2) return;
        m_scroll[row] = value;
        RgbPercent& c = EditedRgb();
        uint8_t* channel[3] = {&c.red, &c.green, &c.blue};
        if (*channel[row] != value) {
            *channel[row] = Byte(value);
            Changed();
        }
        return;
    }
    const CmykPercent typed{Byte(NumberOf(m_texts[0])), Byte(NumberOf(m_texts[1])), Byte(NumberOf(m_texts[2])),
                            Byte(NumberOf(m_texts[3]))};
    const RgbPercent computed = CmykToRgb(typed);
    m_scroll[row] = value;
    CmykPercent& set = EditedCmyk();
    uint8_t* channel[4] = {&set.cyan, &set.magenta, &set.yellow, &set.black};
    *channel[row] = Byte(value);
    RgbPercent& rgb = EditedRgb();
    if (computed.red != rgb.red || computed.green != rgb.green || computed.blue != rgb.blue) {
        rgb.red = computed.red;
        rgb.green = computed.green;
        rgb.blue = computed.blue;
        if (row == 3) rgb.black = Byte(value);
        Changed();
    }
}

void EditColourModel::Scroll(int row, ScrollStep step, int thumb) {
    if (row < 0 || row > 3 || (!m_cmyk && row == 3)) return;
    int position = m_scroll[row];
    switch (step) {
    case ScrollStep::LineLeft: position -= 1; break;
    case ScrollStep::LineRight: position += 1; break;
    case ScrollStep::PageLeft: position -= 10; break;
    case ScrollStep::PageRight: position += 10; break;
    case ScrollStep::ThumbReleased: position = thumb; break;
    }
    position = std::clamp(position, 0, 100);
    m_scroll[row] = position;
    TypeValue(row, std::to_string(position));
    Evaluate();
}

void EditColourModel::CustomColour(int red, int green, int blue) {
    RgbPercent& c = EditedRgb();
    c = {Byte(PercentOfComponent(red)), Byte(PercentOfComponent(green)), Byte(PercentOfComponent(blue)), 0};
    m_cmyk = false;
    ShowRgb();
    Changed();
}

EditColourModel::CustomGuide EditColourModel::CustomButtonGuide() {
    CustomGuide guide;
    for (int id : {61383, 61384}) {
        if (!FindString(id)) {
            guide.chooser = false;
            guide.message = {0, std::string(), "Error Loading String: " + std::to_string(id), MsgIcon::None};
            return guide;
        }
    }
    guide.message = {0, *FindString(61384), *FindString(61383), MsgIcon::Exclamation};
    return guide;
}

DialogCheck EditColourModel::Check() const {
    if (m_barsName.empty()) return Problem(ecd::kBarsName, 61242, 61243);
    if (m_spacesName.empty()) return Problem(ecd::kSpacesName, 61244, 61243);
    return std::nullopt;
}

void EditColourModel::Agree() {
    // The screen (RGB) and the print (CMYK) show the same two colours: the
    // model not shown follows the one the dialog shows.
    for (bool bars : {true, false}) {
        RgbPercent& rgb = bars ? m_barsRgb : m_spacesRgb;
        CmykPercent& cmyk = bars ? m_barsCmyk : m_spacesCmyk;
        if (m_cmyk) {
            rgb = CmykToRgb(cmyk);
            rgb.black = cmyk.black;
        } else {
            cmyk = ScreenToCmyk(rgb);
            rgb.black = cmyk.black;
        }
    }
}

DialogCheck EditColourModel::Ok() {
    if (DialogCheck problem = Check()) return problem;
    Agree();
    m_s.BarsTextColorName = m_barsName;
    m_s.SpacesQuietZoneColorName = m_spacesName;
    m_s.redBarsText = m_barsRgb.red;
    m_s.greenBarsText = m_barsRgb.green;
    m_s.blueBarsText = m_barsRgb.blue;
    m_s.blackBarsText = m_barsRgb.black;
    m_s.redSpacesQuietZone = m_spacesRgb.red;
    m_s.greenSpacesQuietZone = m_spacesRgb.green;
    m_s.blueSpacesQuietZone = m_spacesRgb.blue;
    m_s.blackSpacesQuietZone = m_spacesRgb.black;
    m_s.CMYKcyanBarsText = m_barsCmyk.cyan;
    m_s.CMYKmagentaBarsText = m_barsCmyk.magenta;
    m_s.CMYKyellowBarsText = m_barsCmyk.yellow;
    m_s.CMYKblackBarsText = m_barsCmyk.black;
    m_s.CMYKcyanSpacesQuietZone = m_spacesCmyk.cyan;
    m_s.CMYKmagentaSpacesQuietZone = m_spacesCmyk.magenta;
    m_s.CMYKyellowSpacesQuietZone = m_spacesCmyk.yellow;
    m_s.CMYKblackSpacesQuietZone = m_spacesCmyk.black;
    m_s.Hueproof = static_cast<uint8_t>(m_indicator);
    m_s.BarsTextRadio = m_editingBars ? 1 : 0;
    m_s.SpacesQuietZoneRadio = m_editingBars ? 0 : 1;
    m_s.SpotRadio = m_spot ? 1 : 0;
    m_s.ProcessRadio = m_spot ? 0 : 1;
    m_s.RGB_Radio = m_cmyk ? 0 : 1;
    m_s.CMYK_Radio = m_cmyk ? 1 : 0;
    m_s.TransparentBackground = m_transparent ? 1 : 0;
    m_s.Overprint = m_overprint ? 1 : 0;
    return std::nullopt;
}

void AfterEditColour(InputBar& bar) { bar.UpdateIndicators(); }

}  // namespace vg
