#include "model/settingsfields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

namespace vg {
namespace {

template <class>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using type = T;
};

template <auto Member>
constexpr SettingsField Field(const char* name) {
    using T = typename MemberOf<decltype(Member)>::type;
    SettingsField f{name, FieldKind::Text};
    if constexpr (std::is_integral_v<T>) {
        f.kind = FieldKind::Integer;
        f.minimum = std::numeric_limits<T>::min();
        f.maximum = std::numeric_limits<T>::max();
        f.getInteger = [](const SettingsRecord& r) { return static_cast<long long>(r.*Member); };
        f.setInteger = [](SettingsRecord& r, long long v) { r.*Member = static_cast<T>(v); };
    } else if constexpr (std::is_floating_point_v<T>) {
        f.kind = FieldKind::Decimal;
        f.getDecimal = [](const SettingsRecord& r) { return r.*Member; };
        f.setDecimal = [](SettingsRecord& r, double v) { r.*Member = v; };
    } else if constexpr (std::is_array_v<T>) {
        f.kind = FieldKind::FixedText;
        f.capacity = std::extent_v<T> - 1;
        f.getText = [](const SettingsRecord& r) { return TextOf(r.*Member); };
        f.setText = [](SettingsRecord& r, std::string_view v) { SetText(r.*Member, v); };
    } else {
        static_assert(std::is_same_v<T, std::string>);
        f.getText = [](const SettingsRecord& r) { return std::string_view(r.*Member); };
        f.setText = [](SettingsRecord& r, std::string_view v) { r.*Member = std::string(v); };
    }
    return f;
}

#define VG_FIELD(name) Field<&SettingsRecord::name>(#name)

const SettingsField kFields[] = {
    VG_FIELD(Family).In(1, 19).SetBy(FieldEntry::Variation),
    VG_FIELD(Variation).In(1, 199).SetBy(FieldEntry::Variation),
    VG_FIELD(VariationName).SetBy(FieldEntry::Variation),
    VG_FIELD(Derived).Flag(),
    VG_FIELD(MainText),
    VG_FIELD(OriginalMainText),
    VG_FIELD(AddOnText),
    VG_FIELD(FACTdataIDtext),
    VG_FIELD(CouponFormatUPCpartText),
    VG_FIELD(CouponFormat128partText),
    VG_FIELD(CheckCharacter1).SetBy(FieldEntry::Computed),
    VG_FIELD(CheckCharacter2).SetBy(FieldEntry::Computed),
    VG_FIELD(ProfileInvalid).Flag().SetBy(FieldEntry::Computed),
    VG_FIELD(CurRatio).In(kRatioRange.lo, kRatioRange.hi, "ratio"),
    VG_FIELD(CurBarXDimension)
        .In(kXDimensionRange.lo, kXDimensionRange.hi, "points")
        .Note("and 0.8..2 (UPC/EAN) or 0.2..8 (others) times the variation's nominal X-dimension; sets Magnification"),
    VG_FIELD(SymbolWidth).In(0, 14400, "points").Note("0 = not fixed; at most a 200-inch page"),
    VG_FIELD(BarHeight).In(kBarHeightRange.lo, kBarHeightRange.hi, "points"),
    VG_FIELD(BearerBar).In(kBearerBarRange.lo, kBearerBarRange.hi, "points"),
    VG_FIELD(BarWidthReduction)
        .Unit("dots (LastMethod 0) or points (LastMethod 1)")
        .Note("whole dots, at most the X-dimension less one dot (LastMethod 0); at most the X-dimension (LastMethod "
              "1); either sign"),
    VG_FIELD(Magnification)
        .In(33, 1000, "percent")
        .Note("80..200 for UPC/EAN; the X-dimension it gives must be valid; sets CurBarXDimension (not for FIM and "
              "POSTNET)"),
    VG_FIELD(DistanceToBars).In(kDistanceRange.lo, kDistanceRange.hi, "points"),
    VG_FIELD(Rotation).QuarterTurns(),
    VG_FIELD(ElephantSound).Flag(),
    VG_FIELD(FileName).In(0, 4),
    VG_FIELD(Format).In(0, 2).SetBy(FieldEntry::Output),
    VG_FIELD(UnitOfMeasure).In(0, 3),
    VG_FIELD(Prufmark).In(0, 3),
    VG_FIELD(GSCalibration).In(10, 93).ZeroStored(),
    VG_FIELD(LastMethod).In(0, 1),
    VG_FIELD(DpiListCount).In(0, 50),
    VG_FIELD(PrinterDpi).In(kPrinterDpiRange.lo, kPrinterDpiRange.hi, "dots per inch"),
    VG_FIELD(Size).In(kSizeRange.lo, kSizeRange.hi, "points"),
    VG_FIELD(SizeListCount).In(0, HUGE_VAL),
    VG_FIELD(Align).In(0, 2),
    VG_FIELD(StartCharacter).In(0, 3),
    VG_FIELD(StopCharacter).In(0, 3),
    VG_FIELD(Bold).Flag(),
    VG_FIELD(Italic).Flag(),
    VG_FIELD(Hidden).Flag(),
    VG_FIELD(ShowFactDataID).Flag(),
    VG_FIELD(ShowAsterisks).Flag(),
    VG_FIELD(HideCheckDigits).Flag(),
    VG_FIELD(HideParentheses).Flag(),
    VG_FIELD(IgnoreHyphens).Flag(),
    VG_FIELD(IgnoreSpaces).Flag(),
    VG_FIELD(TextAbove).Flag(),
    VG_FIELD(ShowStartStop).Flag(),
    VG_FIELD(CenterSysChk).Flag(),
    VG_FIELD(HideAddonText).Flag(),
    VG_FIELD(AddonTextDown).Flag(),
    VG_FIELD(QuietZoneIndicators).Flag(),
    VG_FIELD(ISSNExtraDigits).Digits(2),
    VG_FIELD(FontName4humanreadable),
    VG_FIELD(FontName4ISBN_ISSN_SPCNs),
    VG_FIELD(AdditionalText),
    VG_FIELD(UseHumanReadablesAsText).Flag(),
    VG_FIELD(FontName4AdditionalText),
    VG_FIELD(SizeAT).In(kSizeRange.lo, kSizeRange.hi, "points"),
    VG_FIELD(SizeListCountAT).In(0, HUGE_VAL),
    VG_FIELD(AlignAT).In(0, 4),
    VG_FIELD(BoldAT).Flag(),
    VG_FIELD(ItalicAT).Flag(),
    VG_FIELD(Rotation4AdditionalText).QuarterTurns(),
    VG_FIELD(H).In(-864, 864, "points"),
    VG_FIELD(V).In(-864, 864, "points"),
    VG_FIELD(BarsTextColorName).Required(kBarsColourName),
    VG_FIELD(SpacesQuietZoneColorName).Required(kSpacesColourName),
    VG_FIELD(Hueproof).In(kHueproofRange.lo, kHueproofRange.hi),
    VG_FIELD(redSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(greenSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(blueSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(blackSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(redBarsText).In(0, 100, "percent"),
    VG_FIELD(greenBarsText).In(0, 100, "percent"),
    VG_FIELD(blueBarsText).In(0, 100, "percent"),
    VG_FIELD(blackBarsText).In(0, 100, "percent"),
    VG_FIELD(CMYKcyanSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(CMYKmagentaSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(CMYKyellowSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(CMYKblackSpacesQuietZone).In(0, 100, "percent"),
    VG_FIELD(CMYKcyanBarsText).In(0, 100, "percent"),
    VG_FIELD(CMYKmagentaBarsText).In(0, 100, "percent"),
    VG_FIELD(CMYKyellowBarsText).In(0, 100, "percent"),
    VG_FIELD(CMYKblackBarsText).In(0, 100, "percent"),
    VG_FIELD(BarsTextRadio).Flag(),
    VG_FIELD(SpacesQuietZoneRadio).Flag(),
    VG_FIELD(SpotRadio).Flag(),
    VG_FIELD(ProcessRadio).Flag(),
    VG_FIELD(RGB_Radio).Flag(),
    VG_FIELD(CMYK_Radio).Flag(),
    VG_FIELD(Overprint).Flag(),
    VG_FIELD(TransparentBackground).Flag(),
    VG_FIELD(SerialBefore),
    VG_FIELD(SerialStart).Digits(10).In(0, 2147483646),
    VG_FIELD(SerialAfter),
    VG_FIELD(SerialStop).Digits(10).In(0, 2147483646),
    VG_FIELD(SerialIncrement).In(1, 999).ZeroStored(),
    VG_FIELD(SerialMain).Flag(),
    VG_FIELD(SerialAddOn).Flag(),
    VG_FIELD(bBarWidthReduction).Flag(),
    VG_FIELD(bCropMarks).Flag(),
    VG_FIELD(bEncodedData).Flag(),
    VG_FIELD(bSymbology).Flag(),
    VG_FIELD(bWideNarrowRatio).Flag(),
    VG_FIELD(bBarHeight).Flag(),
    VG_FIELD(bMagnification).Flag(),
    VG_FIELD(bXDimension).Flag(),
    VG_FIELD(bNBW).Flag(),
    VG_FIELD(bPrinterDpi).Flag(),
    VG_FIELD(bFilm).Flag(),
    VG_FIELD(bCompany).Flag(),
    VG_FIELD(bClient).Flag(),
    VG_FIELD(bJob).Flag(),
    VG_FIELD(bDate).Flag(),
    VG_FIELD(bComments).Flag(),
    VG_FIELD(Film).In(0, 3),
    VG_FIELD(Company),
    VG_FIELD(Client),
    VG_FIELD(Job),
    VG_FIELD(Date),
    VG_FIELD(Comments),
};

#undef VG_FIELD

void Say(std::string* problem, std::string text) {
    if (problem) *problem = std::move(text);
}

// Drops one leading '+'; false when nothing, or a second sign, follows it.
bool StripPlus(std::string_view& text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
    }
    return !text.empty();
}

// Optional sign and decimal digits, nothing else.
bool ParseInteger(std::string_view text, long long& value) {
    if (!StripPlus(text)) return false;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end;
}

bool ParseDecimal(std::string_view text, double& value) {
    if (!StripPlus(text)) return false;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, value, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

}  // namespace

std::string QuotedText(std::string_view text) {
    std::string q = "'";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n')
            q += "\\n";
        else if (c == '\r')
            q += "\\r";
        else if (u < 0x20 || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            q += hex;
        } else
            q += c;
    }
    return q + "'";
}

std::span<const SettingsField> SettingsFields() { return kFields; }

const SettingsField* FindSettingsField(std::string_view name) {
    for (const SettingsField& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

bool SetFieldValue(SettingsRecord& record, const SettingsField& field, std::string_view text, std::string* problem) {
    switch (field.kind) {
    case FieldKind::Integer: {
        long long v = 0;
        if (!ParseInteger(text, v)) {
            Say(problem, "not an integer");
            return false;
        }
        if (v < field.minimum || v > field.maximum) {
            Say(problem, "outside " + std::to_string(field.minimum) + ".." + std::to_string(field.maximum));
            return false;
        }
        field.setInteger(record, v);
        return true;
    }
    case FieldKind::Decimal: {
        double v = 0;
        if (!ParseDecimal(text, v)) {
            Say(problem, "not a number");
            return false;
        }
        field.setDecimal(record, v);
        return true;
    }
    case FieldKind::FixedText:
    case FieldKind::Text: field.setText(record, text); return true;
    }
    return false;
}

const char* FieldTypeText(const SettingsField& field) {
    switch (field.kind) {
    case FieldKind::Integer: return field.flag ? "flag" : "integer";
    case FieldKind::Decimal: return "decimal";
    case FieldKind::FixedText:
    case FieldKind::Text: return "text";
    }
    return "";
}

std::string ShortNumber(double value) {
    char text[48];
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string FieldRangeText(const SettingsField& field) {
    if (field.flag) return "0 or 1";
    if (field.quarterTurns) return "0, 90, 180 or 270";
    const bool text = field.kind == FieldKind::Text || field.kind == FieldKind::FixedText;
    std::string range;
    if (text) {
        const std::size_t most = field.maxLength ? field.maxLength : field.capacity;
        if (field.digits) {
            range = "at most " + std::to_string(most) + " digits";
            if (field.ranged) range += ", " + ShortNumber(field.low) + ".." + ShortNumber(field.high);
            return range;
        }
        range = field.required ? "not empty" : "any text";
        if (most) range += ", at most " + std::to_string(most) + " characters";
        return range;
    }
    if (!field.ranged)
        return field.kind == FieldKind::Decimal ? "a number"
                                                : std::to_string(field.minimum) + ".." + std::to_string(field.maximum);
    if (std::isinf(field.high)) return ShortNumber(field.low) + " or more";
    return ShortNumber(field.low) + ".." + ShortNumber(field.high);
}

bool CheckFieldText(const SettingsField& field, std::string_view text, std::string* reason) {
    const std::string quoted = QuotedText(text);
    switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::Decimal: {
        double v = 0;
        long long whole = 0;
        if (field.kind == FieldKind::Integer ? !ParseInteger(text, whole) : !ParseDecimal(text, v)) {
            Say(reason, quoted + (field.kind == FieldKind::Integer ? " is not an integer" : " is not a number"));
            return false;
        }
        if (field.kind == FieldKind::Integer) v = static_cast<double>(whole);
        bool ok = field.kind == FieldKind::Decimal || (whole >= field.minimum && whole <= field.maximum);
        if (field.quarterTurns) ok = ok && (whole == 0 || whole == 90 || whole == 180 || whole == 270);
        if (field.ranged) ok = ok && v >= field.low && v <= field.high;
        if (!ok) Say(reason, quoted + " is out of range");
        return ok;
    }
    case FieldKind::FixedText:
    case FieldKind::Text: {
        const std::size_t most = field.maxLength ? field.maxLength : field.capacity;
        const char* problem = nullptr;
        // Every text of the record is one line.
        if (text.find_first_of("\r\n") != std::string_view::npos)
            problem = " has a line break";
        else if (most && text.size() > most)
            problem = " is too long";
        else if (field.required && text.empty())
            problem = " is empty";
        else if (field.digits && text.find_first_not_of("0123456789") != std::string_view::npos)
            problem = " is not all digits";
        else if (field.digits && field.ranged && !text.empty()) {
            long long v = 0;
            if (!ParseInteger(text, v) || v < field.low || v > field.high) problem = " is out of range";
        }
        if (problem) Say(reason, quoted + problem);
        return !problem;
    }
    }
    return false;
}

std::string ValidValuesText(const SettingsField& field) {
    std::string valid = FieldRangeText(field);
    if (*field.unit) valid += std::string(" ") + field.unit;
    return valid;
}

bool EnterFieldValue(SettingsRecord& record, const SettingsField& field, std::string_view text, std::string* problem) {
    std::string reason;
    if (!CheckFieldText(field, text, &reason)) {
        Say(problem, reason + "; valid: " + ValidValuesText(field));
        return false;
    }
    return SetFieldValue(record, field, text, problem);
}

namespace {

// The value a number of the field is brought to; v itself when it is valid.
double ValidNumber(const SettingsField& f, double v) {
    if (f.flag) return v != 0 ? 1 : 0;
    if (f.quarterTurns) return v == 0 || v == 90 || v == 180 || v == 270 ? v : 0;
    if (f.zeroStored && v == 0) return 0;
    const double lo = f.ranged ? f.low : -HUGE_VAL, hi = f.ranged ? f.high : HUGE_VAL;
    if (std::isnan(v)) return std::clamp(0.0, lo, hi) == 0 ? 0 : lo;
    return std::clamp(v, lo, hi);
}

// The text a stored text of the field is brought to: cut at a line break and
// at its storage, a serial number to its leading digits and into its range,
// an empty required text to its fallback. (ISSNExtraDigits also holds Code
// 39's FACT identifier, so digits are asked of serial numbers only.)
std::string ValidText(const SettingsField& f, std::string_view text) {
    std::string v(text.substr(0, text.find_first_of("\r\n")));
    if (f.capacity && v.size() > f.capacity) v.resize(f.capacity);
    long long n = 0;
    if (f.digits && f.ranged) {
        v.resize(std::min({v.size(), v.find_first_not_of("0123456789"), f.maxLength}));
        if (ParseInteger(v, n) && (n < f.low || n > f.high))
            v = std::to_string(static_cast<long long>(std::clamp<double>(static_cast<double>(n), f.low, f.high)));
    }
    if (f.required && v.empty()) v = f.fallback;
    return v;
}

}  // namespace

std::vector<std::string> ClampToValidValues(SettingsRecord& record) {
    std::vector<std::string> changed;
    for (const SettingsField& f : kFields) {
        if (f.entry == FieldEntry::Variation) continue;
        if (f.kind == FieldKind::Integer) {
            const long long v = f.getInteger(record);
            const double to = ValidNumber(f, static_cast<double>(v));
            // Integer ranges lie inside their types, so the value converts back.
            const auto whole = static_cast<long long>(std::clamp<double>(to, f.minimum, f.maximum));
            if (whole == v) continue;
            f.setInteger(record, whole);
            changed.push_back(std::string(f.name) + " " + std::to_string(v) + " -> " + std::to_string(whole));
        } else if (f.kind == FieldKind::Decimal) {
            const double v = f.getDecimal(record);
            const double to = ValidNumber(f, v);
            if (to == v) continue;
            f.setDecimal(record, to);
            changed.push_back(std::string(f.name) + " " + ShortNumber(v) + " -> " + ShortNumber(to));
        } else {
            const std::string v(f.getText(record));
            const std::string to = ValidText(f, v);
            if (to == v) continue;
            f.setText(record, to);
            changed.push_back(std::string(f.name) + " " + QuotedText(v) + " -> " + QuotedText(to));
        }
    }
    return changed;
}

std::string ClampedFieldsText(const std::vector<std::string>& changed) {
    if (changed.empty()) return {};
    std::string text = "out of range, brought into it:";
    for (std::size_t i = 0; i < changed.size(); ++i) text += (i ? ", " : " ") + changed[i];
    return text;
}

std::string FieldValueText(const SettingsRecord& record, const SettingsField& field, int decimals) {
    switch (field.kind) {
    case FieldKind::Integer: return std::to_string(field.getInteger(record));
    case FieldKind::Decimal: {
        char text[400];
        if (decimals < 0) decimals = 0;
        auto r = std::to_chars(text, text + sizeof text, field.getDecimal(record), std::chars_format::fixed, decimals);
        return r.ec == std::errc() ? std::string(text, r.ptr) : std::string("0");
    }
    case FieldKind::FixedText:
    case FieldKind::Text: return std::string(field.getText(record));
    }
    return {};
}

}  // namespace vg
