// The Edit Text and Additional Text dialogs without widgets: what they show,
// what each change enables or recomputes, their checks and what OK stores.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dialogs/dialogmodel.h"
#include "model/symbolsettings.h"

namespace vg {

// Controls of the Edit Text dialog (155); 1068 and 1069 also in dialog 160.
namespace etd {
inline constexpr int kFont = 1068;
inline constexpr int kSize = 1069;
inline constexpr int kAlign = 1070;
inline constexpr int kBold = 1071;
inline constexpr int kItalic = 1072;
inline constexpr int kHidden = 1073;
inline constexpr int kShowFactDataId = 1074;
inline constexpr int kShowAsterisks = 1075;
inline constexpr int kHideCheckDigits = 1076;
inline constexpr int kIgnoreHyphens = 1077;
inline constexpr int kIgnoreSpaces = 1078;
inline constexpr int kTextAbove = 1079;
inline constexpr int kShowStartStop = 1080;
inline constexpr int kStartCharacter = 1081;
inline constexpr int kStopCharacter = 1082;
inline constexpr int kCenterSysChk = 1083;
inline constexpr int kHideAddonText = 1084;
inline constexpr int kAddonTextDown = 1085;
inline constexpr int kQuietZoneIndicators = 1086;
inline constexpr int kIsbnFont = 1087;
inline constexpr int kDistance = 1088;
inline constexpr int kDistanceUnit = 1089;
inline constexpr int kHideParentheses = 1090;
inline constexpr int kIssnDigits = 1059;
}  // namespace etd

// Controls of the Additional Text dialog (160).
namespace atd {
inline constexpr int kUseHumanReadable = 1134;
inline constexpr int kRotate = 1135;
inline constexpr int kText = 1136;
inline constexpr int kH = 1137;
inline constexpr int kV = 1138;
inline constexpr int kHUnit = 1139;
inline constexpr int kVUnit = 1140;
}  // namespace atd

// Width in points of a text in a font of a size (points), weight and slant.
using TextWidthFunction =
    std::function<double(const std::string& font, double size, bool bold, bool italic, const std::string& text)>;
// Measures through the font service.
double FontServiceTextWidth(const std::string& font, double size, bool bold, bool italic, const std::string& text);

// Size field of both dialogs: 61216 for non-digits, 61238 outside 2..200.
DialogCheck CheckTextSize(const std::string& text);

class EditTextModel {
public:
    EditTextModel(SettingsRecord& record, std::vector<std::string> fonts);

    const std::vector<std::string>& Fonts() const { return fonts_; }
    const std::vector<int>& Sizes() const { return sizes_; }
    bool Enabled(int control) const { return !disabled_.count(control); }
    // Tick boxes (0/1) and lists (alignment, start and stop character).
    int Value(int control) const;
    // Fonts, size, distance and ISSN digits, unit name.
    std::string Text(int control) const;

    // A box ticked or unticked, with what it enables or unticks.
    void SetCheck(int control, bool ticked);
    void Choose(int control, int item);  // alignment, start and stop character
    void ChooseFont(int control, const std::string& family);
    DialogCheck TypeSize(const std::string& text);
    DialogCheck OpenSizeList();
    void TypeDistance(const std::string& text) { texts_[etd::kDistance] = text; }
    void TypeIssnDigits(const std::string& text) { texts_[etd::kIssnDigits] = text.substr(0, 2); }

    DialogCheck Check() const;
    // Checks, then stores; on a refusal nothing is stored.
    DialogCheck Ok();

private:
    void Enable(int control, bool on);
    void EanUpcRules();
    bool EanUpcFamily() const;
    bool HasAddOn() const;

    SettingsRecord& s_;
    std::vector<std::string> fonts_;
    std::vector<int> sizes_;
    std::map<int, int> values_;
    std::map<int, std::string> texts_;
    std::set<int> disabled_;
};

class AdditionalTextModel {
public:
    AdditionalTextModel(SettingsRecord& record, std::vector<std::string> fonts,
                        TextWidthFunction width = FontServiceTextWidth);

    const std::vector<std::string>& Fonts() const { return fonts_; }
    const std::vector<int>& Sizes() const { return sizes_; }
    int Align() const { return align_; }
    int Rotation() const { return rotation_; }
    bool Bold() const { return bold_; }
    bool Italic() const { return italic_; }
    bool UseHumanReadable() const { return useHumanReadable_; }
    bool TextEnabled() const { return !useHumanReadable_; }
    std::string Text(int control) const;

    void TypeText(const std::string& text);
    void SetUseHumanReadable(bool ticked);
    void ChooseFont(const std::string& family);
    DialogCheck TypeSize(const std::string& text);
    DialogCheck OpenSizeList();
    void SetBold(bool on);
    void SetItalic(bool on);
    void ChooseAlign(int align);  // 0 left, 1 centre, 2 right, 3 spread, 4 off
    void TypeH(const std::string& text);
    void TypeV(const std::string& text) { texts_[atd::kV] = text; }
    void Rotate();  // 0 -> 90 -> 180 -> 270 -> 0

    // H of an alignment 0..3, in points.
    double PresetH(int align) const;

    DialogCheck Check() const;
    // The text cut to 254 characters is said and OK goes on; then the checks
    // and the store, nothing stored on a refusal.
    DialogCheck Ok();

private:
    void Changed();
    void Preset();

    SettingsRecord& s_;
    std::vector<std::string> fonts_;
    std::vector<int> sizes_;
    TextWidthFunction width_;
    std::map<int, std::string> texts_;
    std::string openH_, openV_;
    int align_ = 0;
    int rotation_ = 0;
    bool bold_ = false;
    bool italic_ = false;
    bool useHumanReadable_ = false;
};

}  // namespace vg
