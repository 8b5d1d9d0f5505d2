// The Edit Text dialog without widgets: what it shows, what each change
// enables or recomputes, its checks and what OK stores; the font and size
// fields it shares with the Additional Text dialog.
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

// Width in points of a text in a font of a size (points), weight and slant.
using TextWidthFunction =
    std::function<double(const std::string& font, double size, bool bold, bool italic, const std::string& text)>;
// Measures through the font service.
double FontServiceTextWidth(const std::string& font, double size, bool bold, bool italic, const std::string& text);

// Size field of both dialogs: 61216 for non-digits, 61238 outside 2..200.
DialogCheck CheckTextSize(const std::string& text);

// The size lists and checks both text dialogs use.
// The size list a dialog opens with: the one it kept while the program runs
// when count says it had more than the ten standard sizes.
std::vector<int> OpeningSizes(int count, bool additional);
// Keeps a list of more than the standard sizes (at most 50); returns its count.
int StoreSizes(std::vector<int>& sizes, bool additional);
void InsertSize(std::vector<int>& sizes, int size);
bool Listed(const std::vector<std::string>& fonts, const std::string& name);
// A signed length: a leading "-", digits, at most one "."; then its range.
DialogCheck CheckSignedLength(int field, int captionId, const std::string& text, int unit, double stored, double low,
                              double high);

class EditTextModel {
public:
    EditTextModel(SettingsRecord& record, std::vector<std::string> fonts);

    const std::vector<std::string>& Fonts() const { return m_fonts; }
    const std::vector<int>& Sizes() const { return m_sizes; }
    bool Enabled(int control) const { return !m_disabled.count(control); }
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
    void TypeDistance(const std::string& text) { m_texts[etd::kDistance] = text; }
    void TypeIssnDigits(const std::string& text) { m_texts[etd::kIssnDigits] = text.substr(0, 2); }

    DialogCheck Check() const;
    // Checks, then stores; on a refusal nothing is stored.
    DialogCheck Ok();

private:
    void Enable(int control, bool on);
    void EanUpcRules();
    bool EanUpcFamily() const;
    bool HasAddOn() const;

    SettingsRecord& m_s;
    std::vector<std::string> m_fonts;
    std::vector<int> m_sizes;
    std::map<int, int> m_values;
    std::map<int, std::string> m_texts;
    std::set<int> m_disabled;
};

}  // namespace vg
