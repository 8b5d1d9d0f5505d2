#include "dialogs/edittextmodel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "device/fontservice.h"
#include "entry/inputbar.h"
#include "entry/pipeline.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/strings.h"

namespace vg {
namespace {

constexpr int kResourceSizes[] = {6, 9, 10, 12, 14, 18, 24, 30, 36, 72};
constexpr std::size_t kMaxSizeList = 50;
constexpr std::size_t kResourceSizeCount = 10;

constexpr int kCapSize = 61237;
constexpr int kCapDistance = 61239;
constexpr int kCapIssn = 61241;

// Size lists kept while the program runs: the Edit Text one and the
// Additional Text one.
std::vector<int>& RememberedSizes(bool additional) {
    static std::vector<int> lists[2];
    return lists[additional ? 1 : 0];
}

}  // namespace

std::vector<int> OpeningSizes(int count, bool additional) {
    const std::vector<int>& remembered = RememberedSizes(additional);
    std::vector<int> sizes;
    if (count > static_cast<int>(kResourceSizeCount) && !remembered.empty()) {
        for (int size : remembered)
            if (size >= 2 && size <= 200) sizes.push_back(size);
    } else {
        sizes.assign(std::begin(kResourceSizes), std::end(kResourceSizes));
    }
    return sizes;
}

int StoreSizes(std::vector<int>& sizes, bool additional) {
    if (sizes.size() > kMaxSizeList) sizes.resize(kMaxSizeList);
    if (sizes.size() > kResourceSizeCount) RememberedSizes(additional) = sizes;
    return static_cast<int>(sizes.size());
}

void InsertSize(std::vector<int>& sizes, int size) {
    const auto at = std::lower_bound(sizes.begin(), sizes.end(), size);
    if (at == sizes.end() || *at != size) sizes.insert(at, size);
}

bool Listed(const std::vector<std::string>& fonts, const std::string& name) {
    return std::find(fonts.begin(), fonts.end(), name) != fonts.end();
}

DialogCheck CheckSignedLength(int field, int captionId, const std::string& text, int unit, double stored, double low,
                              double high) {
    const auto range = [&]() { return RangeProblem(field, captionId, UnitText(unit, low), UnitText(unit, high)); };
    if (text.empty()) return range();
    if (const int id = DecimalFormProblem(text, true)) return Problem(field, captionId, id, MsgIcon::Stop);
    const double points = ReadLength(unit, text, stored);
    if (points < low - 1e-9 || points > high + 1e-9) return range();
    return std::nullopt;
}

double FontServiceTextWidth(const std::string& font, double size, bool bold, bool italic, const std::string& text) {
    FontService& fonts = FontService::Instance();
    const FontFace* face = fonts.Resolve(font, bold ? 700 : 400, italic);
    if (!face) face = fonts.Resolve("Arial", bold ? 700 : 400, italic);
    if (!face) return 0;
    // Cell height in thousandths of an inch, as the drawing asks for it.
    const int height = static_cast<int>(std::lround(size / 72.0 * 1000.0));
    return face->Extent(text, height).cx * 72.0 / 1000.0;
}

DialogCheck CheckTextSize(const std::string& text) {
    if (text.empty()) return Problem(etd::kSize, kCapSize, 61238);
    if (!AllDigits(text)) return Problem(etd::kSize, kCapSize, 61216);
    const long size = text.size() > 4 ? 100000 : std::atol(text.c_str());
    if (size < 2 || size > 200) return Problem(etd::kSize, kCapSize, 61238);
    return std::nullopt;
}

// ---- Edit Text ----

EditTextModel::EditTextModel(SettingsRecord& record, std::vector<std::string> fonts)
    : m_s(record), m_fonts(std::move(fonts)) {
    const SettingsRecord& s = record;
    const int v = s.Variation, f = s.Family;
    m_values = {
        {etd::kAlign, s.Align},
        {etd::kBold, s.Bold},
        {etd::kItalic, s.Italic},
        {etd::kHidden, s.Hidden},
        {etd::kShowFactDataId, s.ShowFactDataID},
        {etd::kShowAsterisks, s.ShowAsterisks},
        {etd::kHideCheckDigits, s.HideCheckDigits},
        {etd::kHideParentheses, s.HideParentheses},
        {etd::kIgnoreHyphens, IsCode39CustomsClass(v) ? 0 : s.IgnoreHyphens},
        {etd::kIgnoreSpaces, s.IgnoreSpaces},
        {etd::kTextAbove, s.TextAbove},
        {etd::kShowStartStop, s.ShowStartStop},
        {etd::kStartCharacter, s.StartCharacter},
        {etd::kStopCharacter, s.StopCharacter},
        {etd::kCenterSysChk, s.CenterSysChk},
        {etd::kHideAddonText, s.HideAddonText},
        {etd::kAddonTextDown, s.AddonTextDown},
        {etd::kQuietZoneIndicators, s.QuietZoneIndicators},
    };
    m_sizes = OpeningSizes(s.SizeListCount, false);
    m_texts[etd::kSize] = std::to_string(s.Size);
    if (!Listed(m_fonts, s.FontName4humanreadable)) record.FontName4humanreadable = "Arial";
    m_texts[etd::kFont] = record.FontName4humanreadable;
    m_texts[etd::kDistance] = SixDecimals(s.UnitOfMeasure, s.DistanceToBars);
    m_texts[etd::kDistanceUnit] = UnitName(s.UnitOfMeasure, 61232);
    m_texts[etd::kIssnDigits] = s.ISSNExtraDigits.substr(0, 2);

    const auto disable = [&](std::initializer_list<int> controls) {
        for (int c : controls) Enable(c, false);
    };
    const auto range = [](int from, int to) {
        std::vector<int> r;
        for (int c = from; c <= to; ++c) r.push_back(c);
        return r;
    };
    const std::vector<int> startStopToIsbn = range(etd::kShowStartStop, etd::kIsbnFont);
    const auto disableAll = [&](const std::vector<int>& controls) {
        for (int c : controls) Enable(c, false);
    };
    if (f == kFamilyCodabar) {
        disable({etd::kShowFactDataId, etd::kShowAsterisks, etd::kIssnDigits});
        disableAll(range(etd::kCenterSysChk, etd::kIsbnFont));
    } else if (f == kFamilyCode39) {
        if (OneOf(v, {13, 17, 18, 19, 21, 22, 23}))
            disable({etd::kShowFactDataId, etd::kShowAsterisks});
        else if (OneOf(v, {15, 16, 20, 76, 103, 104}))
            disable({etd::kShowFactDataId});
        else if (!OneOf(v, {11, 12, 14}))
            disable({etd::kShowFactDataId, etd::kShowAsterisks});
        disableAll(startStopToIsbn);
        disable({etd::kIssnDigits});
        if (IsCode39CustomsClass(v)) disable({etd::kIgnoreHyphens});
    } else if (IsBooklandFamily(f)) {
        if (f != kFamilyIssn) disable({etd::kIssnDigits});
        disable({etd::kShowFactDataId, etd::kShowAsterisks});
        if (IsBooklandTextClass(v)) {
            disableAll(startStopToIsbn);
            disable({etd::kAlign, etd::kBold, etd::kItalic, etd::kHidden, etd::kTextAbove, etd::kDistance});
        } else {
            disable({etd::kCenterSysChk, etd::kShowStartStop, etd::kStartCharacter, etd::kStopCharacter});
        }
    } else if (EanUpcFamily()) {
        disable({etd::kShowFactDataId, etd::kShowAsterisks, etd::kShowStartStop, etd::kStartCharacter,
                 etd::kStopCharacter, etd::kIsbnFont, etd::kIssnDigits});
        EanUpcRules();
    } else {
        disable({etd::kShowFactDataId, etd::kShowAsterisks, etd::kIssnDigits});
        disableAll(startStopToIsbn);
    }
    if (IsVantic128Class(v)) {
        disable({etd::kAlign, etd::kHideCheckDigits, etd::kHideParentheses, etd::kIgnoreHyphens, etd::kIgnoreSpaces,
                 etd::kTextAbove});
        if (!IsVantic128BelowClass(v)) disable({etd::kDistance});
    }
    // Hyphens and spaces that are data are encoded whatever these boxes say.
    if (HyphensAreData(v)) disable({etd::kIgnoreHyphens});
    if (SpacesAreData(v)) disable({etd::kIgnoreSpaces});
    if (Enabled(etd::kIsbnFont)) {
        if (!Listed(m_fonts, s.FontName4ISBN_ISSN_SPCNs)) record.FontName4ISBN_ISSN_SPCNs = "Arial";
        m_texts[etd::kIsbnFont] = record.FontName4ISBN_ISSN_SPCNs;
    } else {
        m_texts[etd::kIsbnFont] = s.FontName4ISBN_ISSN_SPCNs;
    }
}

bool EditTextModel::EanUpcFamily() const {
    const int f = m_s.Family;
    return f == kFamilyEan || f == kFamilyUpcA || f == kFamilyUpcE || IsCouponClass(m_s.Variation);
}

bool EditTextModel::HasAddOn() const { return TextLength(m_s.AddOnText) > 0; }

void EditTextModel::Enable(int control, bool on) {
    if (on)
        m_disabled.erase(control);
    else
        m_disabled.insert(control);
}

void EditTextModel::EanUpcRules() {
    if (Value(etd::kHidden)) {
        for (int c : {etd::kCenterSysChk, etd::kHideAddonText, etd::kAddonTextDown, etd::kHideCheckDigits,
                      etd::kHideParentheses, etd::kIgnoreHyphens, etd::kIgnoreSpaces, etd::kTextAbove, etd::kDistance})
            Enable(c, false);
        Enable(etd::kQuietZoneIndicators, true);
        return;
    }
    Enable(etd::kCenterSysChk, IsUpcClass(m_s.Variation) && !Value(etd::kTextAbove));
    if (HasAddOn()) {
        Enable(etd::kHideAddonText, true);
        Enable(etd::kAddonTextDown, !Value(etd::kHideAddonText) && !Value(etd::kTextAbove));
        Enable(etd::kQuietZoneIndicators, !Value(etd::kHideAddonText));
    } else {
        Enable(etd::kHideAddonText, false);
        Enable(etd::kAddonTextDown, false);
        Enable(etd::kQuietZoneIndicators, m_s.Family == kFamilyEan);
    }
}

int EditTextModel::Value(int control) const {
    const auto it = m_values.find(control);
    return it == m_values.end() ? 0 : it->second;
}

std::string EditTextModel::Text(int control) const {
    const auto it = m_texts.find(control);
    return it == m_texts.end() ? std::string() : it->second;
}

void EditTextModel::SetCheck(int control, bool ticked) {
    m_values[control] = ticked ? 1 : 0;
    const int f = m_s.Family;
    const bool eanUpc = f == kFamilyEan || f == kFamilyUpcA || f == kFamilyUpcE;
    const bool addOn = HasAddOn();
    if (control == etd::kHidden && (eanUpc || IsCouponClass(m_s.Variation))) {
        const int lineControls[] = {etd::kHideCheckDigits, etd::kHideParentheses, etd::kIgnoreHyphens,
                                    etd::kIgnoreSpaces,    etd::kTextAbove,       etd::kDistance};
        for (int c : lineControls) Enable(c, !ticked);
        if (ticked) {
            Enable(etd::kCenterSysChk, false);
            if (addOn)
                for (int c : {etd::kHideAddonText, etd::kAddonTextDown, etd::kQuietZoneIndicators}) Enable(c, false);
        } else {
            Enable(etd::kCenterSysChk, !IsCouponClass(m_s.Variation));
            if (addOn) {
                Enable(etd::kHideAddonText, true);
                Enable(etd::kAddonTextDown, !Value(etd::kHideAddonText));
                Enable(etd::kQuietZoneIndicators, !Value(etd::kHideAddonText));
            }
        }
    } else if (control == etd::kHideAddonText && eanUpc) {
        Enable(etd::kAddonTextDown, !ticked && !Value(etd::kTextAbove));
        Enable(etd::kQuietZoneIndicators, !ticked);
    } else if (control == etd::kTextAbove && eanUpc) {
        if (ticked) {
            m_values[etd::kAddonTextDown] = 0;
            m_values[etd::kCenterSysChk] = 0;
            Enable(etd::kAddonTextDown, false);
            Enable(etd::kCenterSysChk, false);
        } else {
            Enable(etd::kAddonTextDown, addOn && !Value(etd::kHideAddonText));
            Enable(etd::kCenterSysChk, true);
        }
    }
}

void EditTextModel::Choose(int control, int item) {
    const int items = control == etd::kAlign ? 3 : 4;
    if (item >= 0 && item < items) m_values[control] = item;
}

void EditTextModel::ChooseFont(int control, const std::string& family) {
    if (Listed(m_fonts, family)) m_texts[control] = family;
}

DialogCheck EditTextModel::TypeSize(const std::string& text) {
    m_texts[etd::kSize] = text.substr(0, 3);
    return CheckTextSize(m_texts[etd::kSize]);
}

DialogCheck EditTextModel::OpenSizeList() {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    InsertSize(m_sizes, std::atoi(Text(etd::kSize).c_str()));
    return std::nullopt;
}

DialogCheck EditTextModel::Check() const {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    if (DialogCheck p = CheckSignedLength(etd::kDistance, kCapDistance, Text(etd::kDistance), m_s.UnitOfMeasure,
                                          m_s.DistanceToBars, -6, 32))
        return p;
    if (m_s.Family == kFamilyIssn) {
        const std::string digits = Text(etd::kIssnDigits);
        if (digits.size() < 2) return Problem(etd::kIssnDigits, kCapIssn, 61240);
        if (!AllDigits(digits)) return Problem(etd::kIssnDigits, kCapIssn, 61216);
    }
    return std::nullopt;
}

DialogCheck EditTextModel::Ok() {
    if (m_s.Family != kFamilyIssn) m_texts[etd::kIssnDigits].clear();
    if (DialogCheck p = Check()) return p;
    SettingsRecord& s = m_s;
    s.DistanceToBars = ReadLength(s.UnitOfMeasure, Text(etd::kDistance), s.DistanceToBars);
    s.FontName4humanreadable = Text(etd::kFont);
    if (Enabled(etd::kIsbnFont)) s.FontName4ISBN_ISSN_SPCNs = Text(etd::kIsbnFont);
    s.SizeListCount = StoreSizes(m_sizes, false);
    s.Size = std::atoi(Text(etd::kSize).c_str());
    s.Align = Value(etd::kAlign);
    s.Bold = Value(etd::kBold);
    s.Italic = Value(etd::kItalic);
    s.Hidden = Value(etd::kHidden);
    s.ShowFactDataID = Value(etd::kShowFactDataId);
    s.ShowAsterisks = Value(etd::kShowAsterisks);
    s.HideCheckDigits = Value(etd::kHideCheckDigits);
    s.HideParentheses = Value(etd::kHideParentheses);
    s.IgnoreHyphens = Value(etd::kIgnoreHyphens);
    s.IgnoreSpaces = Value(etd::kIgnoreSpaces);
    s.TextAbove = Value(etd::kTextAbove);
    s.ShowStartStop = Value(etd::kShowStartStop);
    s.StartCharacter = Value(etd::kStartCharacter);
    s.StopCharacter = Value(etd::kStopCharacter);
    s.CenterSysChk = Value(etd::kCenterSysChk);
    s.HideAddonText = Value(etd::kHideAddonText);
    s.AddonTextDown = Value(etd::kAddonTextDown);
    s.QuietZoneIndicators = Value(etd::kQuietZoneIndicators);
    s.ISSNExtraDigits = Text(etd::kIssnDigits);
    return std::nullopt;
}

}  // namespace vg
