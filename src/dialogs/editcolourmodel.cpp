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

EditColourModel::EditColourModel(SettingsRecord& record) : s_(record) {
    barsName_ = s_.BarsTextColorName;
    spacesName_ = s_.SpacesQuietZoneColorName;
    barsRgb_ = {s_.redBarsText, s_.greenBarsText, s_.blueBarsText, s_.blackBarsText};
    spacesRgb_ = {s_.redSpacesQuietZone, s_.greenSpacesQuietZone, s_.blueSpacesQuietZone, s_.blackSpacesQuietZone};
    // Opened in the RGB model the CMYK sets hold the stored values until converted.
    barsCmyk_ = {s_.CMYKcyanBarsText, s_.CMYKmagentaBarsText, s_.CMYKyellowBarsText, s_.CMYKblackBarsText};
    spacesCmyk_ = {s_.CMYKcyanSpacesQuietZone, s_.CMYKmagentaSpacesQuietZone, s_.CMYKyellowSpacesQuietZone,
                   s_.CMYKblackSpacesQuietZone};
    oldBars_ = barsRgb_;
    oldSpaces_ = spacesRgb_;

    editingBars_ = s_.BarsTextRadio != 0 || s_.SpacesQuietZoneRadio == 0;
    spot_ = s_.ProcessRadio == 0;
    cmyk_ = s_.RGB_Radio == 0;
    transparent_ = s_.TransparentBackground != 0;
    overprint_ = s_.Overprint != 0;
    for (auto& t : lastValid_) t = "0";

    ShowModel();
    if (s_.Hueproof >= kHueNotApplicable && s_.Hueproof <= kHueEnough) indicator_ = s_.Hueproof;
    if (transparent_) SetTransparent(true);
    focus_ = 0;
}

int EditColourModel::IndicatorPicture() const {
    switch (indicator_) {
    case kHueNotApplicable: return ecd::kIndicatorOff;
    case kHueTooLittle: return ecd::kIndicatorErr;
    case kHueEnough: return ecd::kIndicatorOk;
    default: return 0;
    }
}

bool EditColourModel::Enabled(int control) const {
    if (control == ecd::kOverprint) return !transparent_;
    if (control == ecd::kSpaces || control == ecd::kSpacesName) return !transparent_;
    return true;
}

bool EditColourModel::Shown(int control) const {
    for (int id : ecd::kCmykLabels)
        if (id == control) return cmyk_;
    for (int id : ecd::kRgbLabels)
        if (id == control) return !cmyk_;
    if (control == ecd::kEdits[3] || control == ecd::kScrolls[3] || control == ecd::kFourthPercent) return cmyk_;
    return true;
}

int EditColourModel::TakeFocusRequest() {
    const int id = focus_;
    focus_ = 0;
    return id;
}

void EditColourModel::SetRow(int row, int value) {
    texts_[row] = std::to_string(value);
    lastValid_[row] = texts_[row];
    scroll_[row] = value;
}

void EditColourModel::ShowModel() { cmyk_ ? ShowCmyk() : ShowRgb(); }

void EditColourModel::ShowRgb() {
    const RgbPercent& c = EditedRgb();
    SetRow(0, c.red);
    SetRow(1, c.green);
    SetRow(2, c.blue);
    Evaluate();
    convertOnCmyk_ = true;
}

void EditColourModel::ShowCmyk() {
    if (convertOnCmyk_) {
        EditedCmyk() = RgbToCmyk(EditedRgb());
        convertOnCmyk_ = false;
    }
    const CmykPercent& c = EditedCmyk();
    SetRow(0, c.cyan);
    SetRow(1, c.magenta);
    SetRow(2, c.yellow);
    SetRow(3, c.black);
    Evaluate();
}

void EditColourModel::Evaluate() {
    if (!spot_ || !cmyk_) {
        indicator_ = kHueNotApplicable;
        return;
    }
    indicator_ = SpotContrast(barsCmyk_, spacesCmyk_) >= 60 ? kHueEnough : kHueTooLittle;
}

void EditColourModel::ChooseColour(bool bars) {
    editingBars_ = bars;
    ShowModel();
    focus_ = bars ? ecd::kBarsName : ecd::kSpacesName;
}

void EditColourModel::ChooseModel(bool cmyk) {
    cmyk_ = cmyk;
    ShowModel();
}

void EditColourModel::ChooseType(bool spot) {
    spot_ = spot;
    if (spot)
        Evaluate();
    else
        indicator_ = kHueNotApplicable;
}

void EditColourModel::SetTransparent(bool ticked) {
    transparent_ = ticked;
    if (!ticked) return;
    if (spacesRgb_.red != 100 || spacesRgb_.green != 100 || spacesRgb_.blue != 100) {
        spacesRgb_.red = spacesRgb_.green = spacesRgb_.blue = 100;
        if (cmyk_) spacesCmyk_ = {};
        Changed();
    }
    ChooseColour(true);
}

std::string EditColourModel::TypeValue(int row, const std::string& text) {
    if (row < 0 || row > 3) return std::string();
    std::string shown = text;
    if (text.empty()) {
        lastValid_[row] = "0";
    } else if (text.find_first_not_of("0123456789") != std::string::npos) {
        shown = lastValid_[row];
        focus_ = ecd::kEdits[row];
    } else if (NumberOf(text) > 100) {
        shown = "100";
        lastValid_[row] = shown;
        focus_ = ecd::kEdits[row];
    } else {
        lastValid_[row] = text;
    }
    texts_[row] = shown;
    EditChanged(row);
    return shown;
}

std::string EditColourModel::LeaveValue(int row) {
    if (row < 0 || row > 3) return std::string();
    if (texts_[row].empty()) TypeValue(row, "0");
    return texts_[row];
}

void EditColourModel::EditChanged(int row) {
    const int value = NumberOf(texts_[row]);
    if (!cmyk_) {
        if (row > 2) return;
        scroll_[row] = value;
        RgbPercent& c = EditedRgb();
        uint8_t* channel[3] = {&c.red, &c.green, &c.blue};
        if (*channel[row] != value) {
            *channel[row] = Byte(value);
            Changed();
        }
        return;
    }
    const CmykPercent typed{Byte(NumberOf(texts_[0])), Byte(NumberOf(texts_[1])), Byte(NumberOf(texts_[2])),
                            Byte(NumberOf(texts_[3]))};
    const RgbPercent computed = CmykToRgb(typed);
    scroll_[row] = value;
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
    if (row < 0 || row > 3 || (!cmyk_ && row == 3)) return;
    int position = scroll_[row];
    switch (step) {
    case ScrollStep::LineLeft: position -= 1; break;
    case ScrollStep::LineRight: position += 1; break;
    case ScrollStep::PageLeft: position -= 10; break;
    case ScrollStep::PageRight: position += 10; break;
    case ScrollStep::ThumbReleased: position = thumb; break;
    }
    position = std::clamp(position, 0, 100);
    scroll_[row] = position;
    TypeValue(row, std::to_string(position));
    Evaluate();
}

void EditColourModel::CustomColour(int red, int green, int blue) {
    RgbPercent& c = EditedRgb();
    c = {Byte(PercentOfComponent(red)), Byte(PercentOfComponent(green)), Byte(PercentOfComponent(blue)), 0};
    cmyk_ = false;
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
    if (barsName_.empty()) return Problem(ecd::kBarsName, 61242, 61243);
    if (spacesName_.empty()) return Problem(ecd::kSpacesName, 61244, 61243);
    return std::nullopt;
}

void EditColourModel::Agree() {
    // The screen (RGB) and the print (CMYK) show the same two colours: the
    // model not shown follows the one the dialog shows.
    for (bool bars : {true, false}) {
        RgbPercent& rgb = bars ? barsRgb_ : spacesRgb_;
        CmykPercent& cmyk = bars ? barsCmyk_ : spacesCmyk_;
        if (cmyk_) {
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
    s_.BarsTextColorName = barsName_;
    s_.SpacesQuietZoneColorName = spacesName_;
    s_.redBarsText = barsRgb_.red;
    s_.greenBarsText = barsRgb_.green;
    s_.blueBarsText = barsRgb_.blue;
    s_.blackBarsText = barsRgb_.black;
    s_.redSpacesQuietZone = spacesRgb_.red;
    s_.greenSpacesQuietZone = spacesRgb_.green;
    s_.blueSpacesQuietZone = spacesRgb_.blue;
    s_.blackSpacesQuietZone = spacesRgb_.black;
    s_.CMYKcyanBarsText = barsCmyk_.cyan;
    s_.CMYKmagentaBarsText = barsCmyk_.magenta;
    s_.CMYKyellowBarsText = barsCmyk_.yellow;
    s_.CMYKblackBarsText = barsCmyk_.black;
    s_.CMYKcyanSpacesQuietZone = spacesCmyk_.cyan;
    s_.CMYKmagentaSpacesQuietZone = spacesCmyk_.magenta;
    s_.CMYKyellowSpacesQuietZone = spacesCmyk_.yellow;
    s_.CMYKblackSpacesQuietZone = spacesCmyk_.black;
    s_.Hueproof = static_cast<uint8_t>(indicator_);
    s_.BarsTextRadio = editingBars_ ? 1 : 0;
    s_.SpacesQuietZoneRadio = editingBars_ ? 0 : 1;
    s_.SpotRadio = spot_ ? 1 : 0;
    s_.ProcessRadio = spot_ ? 0 : 1;
    s_.RGB_Radio = cmyk_ ? 0 : 1;
    s_.CMYK_Radio = cmyk_ ? 1 : 0;
    s_.TransparentBackground = transparent_ ? 1 : 0;
    s_.Overprint = overprint_ ? 1 : 0;
    return std::nullopt;
}

void AfterEditColour(InputBar& bar) { bar.UpdateIndicators(); }

}  // namespace vg
