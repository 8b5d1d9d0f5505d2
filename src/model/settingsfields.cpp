#include "model/settingsfields.h"

#include <charconv>
#include <cmath>
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
    VG_FIELD(Family),
    VG_FIELD(Variation),
    VG_FIELD(VariationName),
    VG_FIELD(Derived),
    VG_FIELD(MainText),
    VG_FIELD(OriginalMainText),
    VG_FIELD(AddOnText),
    VG_FIELD(FACTdataIDtext),
    VG_FIELD(CouponFormatUPCpartText),
    VG_FIELD(CouponFormat128partText),
    VG_FIELD(CheckCharacter1),
    VG_FIELD(CheckCharacter2),
    VG_FIELD(ProfileInvalid),
    VG_FIELD(CurRatio),
    VG_FIELD(CurBarXDimension),
    VG_FIELD(SymbolWidth),
    VG_FIELD(BarHeight),
    VG_FIELD(BearerBar),
    VG_FIELD(BarWidthReduction),
    VG_FIELD(Magnification),
    VG_FIELD(DistanceToBars),
    VG_FIELD(Rotation),
    VG_FIELD(ElephantSound),
    VG_FIELD(FileName),
    VG_FIELD(Format),
    VG_FIELD(UnitOfMeasure),
    VG_FIELD(Prufmark),
    VG_FIELD(GSCalibration),
    VG_FIELD(LastMethod),
    VG_FIELD(DpiListCount),
    VG_FIELD(PrinterDpi),
    VG_FIELD(Size),
    VG_FIELD(SizeListCount),
    VG_FIELD(Align),
    VG_FIELD(StartCharacter),
    VG_FIELD(StopCharacter),
    VG_FIELD(Bold),
    VG_FIELD(Italic),
    VG_FIELD(Hidden),
    VG_FIELD(ShowFactDataID),
    VG_FIELD(ShowAsterisks),
    VG_FIELD(HideCheckDigits),
    VG_FIELD(HideParentheses),
    VG_FIELD(IgnoreHyphens),
    VG_FIELD(IgnoreSpaces),
    VG_FIELD(TextAbove),
    VG_FIELD(ShowStartStop),
    VG_FIELD(CenterSysChk),
    VG_FIELD(HideAddonText),
    VG_FIELD(AddonTextDown),
    VG_FIELD(QuietZoneIndicators),
    VG_FIELD(ISSNExtraDigits),
    VG_FIELD(FontName4humanreadable),
    VG_FIELD(FontName4ISBN_ISSN_SPCNs),
    VG_FIELD(AdditionalText),
    VG_FIELD(UseHumanReadablesAsText),
    VG_FIELD(FontName4AdditionalText),
    VG_FIELD(SizeAT),
    VG_FIELD(SizeListCountAT),
    VG_FIELD(AlignAT),
    VG_FIELD(BoldAT),
    VG_FIELD(ItalicAT),
    VG_FIELD(Rotation4AdditionalText),
    VG_FIELD(H),
    VG_FIELD(V),
    VG_FIELD(BarsTextColorName),
    VG_FIELD(SpacesQuietZoneColorName),
    VG_FIELD(Hueproof),
    VG_FIELD(redSpacesQuietZone),
    VG_FIELD(greenSpacesQuietZone),
    VG_FIELD(blueSpacesQuietZone),
    VG_FIELD(blackSpacesQuietZone),
    VG_FIELD(redBarsText),
    VG_FIELD(greenBarsText),
    VG_FIELD(blueBarsText),
    VG_FIELD(blackBarsText),
    VG_FIELD(CMYKcyanSpacesQuietZone),
    VG_FIELD(CMYKmagentaSpacesQuietZone),
    VG_FIELD(CMYKyellowSpacesQuietZone),
    VG_FIELD(CMYKblackSpacesQuietZone),
    VG_FIELD(CMYKcyanBarsText),
    VG_FIELD(CMYKmagentaBarsText),
    VG_FIELD(CMYKyellowBarsText),
    VG_FIELD(CMYKblackBarsText),
    VG_FIELD(BarsTextRadio),
    VG_FIELD(SpacesQuietZoneRadio),
    VG_FIELD(SpotRadio),
    VG_FIELD(ProcessRadio),
    VG_FIELD(RGB_Radio),
    VG_FIELD(CMYK_Radio),
    VG_FIELD(Overprint),
    VG_FIELD(TransparentBackground),
    VG_FIELD(SerialBefore),
    VG_FIELD(SerialStart),
    VG_FIELD(SerialAfter),
    VG_FIELD(SerialStop),
    VG_FIELD(SerialIncrement),
    VG_FIELD(SerialMain),
    VG_FIELD(SerialAddOn),
    VG_FIELD(bBarWidthReduction),
    VG_FIELD(bCropMarks),
    VG_FIELD(bEncodedData),
    VG_FIELD(bSymbology),
    VG_FIELD(bWideNarrowRatio),
    VG_FIELD(bBarHeight),
    VG_FIELD(bMagnification),
    VG_FIELD(bXDimension),
    VG_FIELD(bNBW),
    VG_FIELD(bPrinterDpi),
    VG_FIELD(bFilm),
    VG_FIELD(bCompany),
    VG_FIELD(bClient),
    VG_FIELD(bJob),
    VG_FIELD(bDate),
    VG_FIELD(bComments),
    VG_FIELD(Film),
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

std::span<const SettingsField> SettingsFields() { return kFields; }

const SettingsField* FindSettingsField(std::string_view name) {
    for (const SettingsField& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

bool SetFieldValue(SettingsRecord& record, const SettingsField& field, std::string_view text,
                   std::string* problem) {
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
    case FieldKind::Text:
        field.setText(record, text);
        return true;
    }
    return false;
}

std::string FieldValueText(const SettingsRecord& record, const SettingsField& field, int decimals) {
    switch (field.kind) {
    case FieldKind::Integer:
        return std::to_string(field.getInteger(record));
    case FieldKind::Decimal: {
        char text[400];
        if (decimals < 0) decimals = 0;
        auto r = std::to_chars(text, text + sizeof text, field.getDecimal(record), std::chars_format::fixed,
                               decimals);
        return r.ec == std::errc() ? std::string(text, r.ptr) : std::string("0");
    }
    case FieldKind::FixedText:
    case FieldKind::Text:
        return std::string(field.getText(record));
    }
    return {};
}

}  // namespace vg
