#include "model/profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/settingsfields.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

using K = ProfileKind;
using C = ProfileCheck;

constexpr ProfileKey Int(const char* key, const char* field, double fallback, C check = C::None) {
    return {key, field, K::Integer, 0, fallback, "", check};
}
constexpr ProfileKey Real(const char* key, const char* field, int decimals, C check = C::None) {
    return {key, field, K::Real, decimals, 0, "", check};
}
constexpr ProfileKey Text(const char* key, const char* field, const char* fallback = "") {
    return {key, field, K::Text, 0, 0, fallback, C::None};
}

const ProfileKey kKeys[] = {
    Int("Family", "Family", 0, C::Family),
    Int("Variation", "Variation", 0, C::Variation),
    Text("Variation Name-", "VariationName"),
    Int("Derived?", "Derived", 0),
    Text("OriginalMainText-", "OriginalMainText"),
    Text("AddOnText-", "AddOnText"),
    Text("FACTdataIDtext-", "FACTdataIDtext"),
    Text("CouponFormatUPCpartText-", "CouponFormatUPCpartText"),
    Text("CouponFormat128partText-", "CouponFormat128partText"),
    Int("Format", "Format", 1),
    Int("Unit Of Measure", "UnitOfMeasure", 0),
    Int("File Name", "FileName", 4),
    Int("Elephant Sound", "ElephantSound", 1),
    Int("Prufmark", "Prufmark", 0),
    Int("GS Calibration", "GSCalibration", 31),
    Int("Last Method", "LastMethod", 0),
    Int("PrinterDpi", "PrinterDpi", 2400),
    Real("CurRatio-", "CurRatio", 6, C::Ratio),
    Real("CurBarXDimension-", "CurBarXDimension", 6),
    Real("SymbolWidth-", "SymbolWidth", 7),
    Real("BarHeight-", "BarHeight", 7, C::BarHeight),
    Real("BearerBar-", "BearerBar", 7, C::BearerBar),
    Real("BarWidthReduction-", "BarWidthReduction", 7),
    Real("Magnification-", "Magnification", 2),
    Int("Size", "Size", 0, C::TextFont),
    Int("Align", "Align", 1),
    Int("StartCharacter", "StartCharacter", 0),
    Int("StopCharacter", "StopCharacter", 1),
    Int("Bold", "Bold", 0),
    Int("Italic", "Italic", 0),
    Int("Hidden", "Hidden", 0),
    Int("ShowFactDataID", "ShowFactDataID", 0),
    Int("ShowAsterisks", "ShowAsterisks", 0),
    Int("HideCheckDigits", "HideCheckDigits", 0),
    Int("HideParentheses", "HideParentheses", 0),
    Int("IgnoreHyphens", "IgnoreHyphens", 1),
    Int("IgnoreSpaces", "IgnoreSpaces", 1),
    Int("TextAbove", "TextAbove", 0),
    Int("ShowStartStop", "ShowStartStop", 0),
    Int("CenterSysChk", "CenterSysChk", 0),
    Int("HideAddonText", "HideAddonText", 0),
    Int("AddonTextDown", "AddonTextDown", 0),
    Int("QuietZoneIndicators", "QuietZoneIndicators", 0),
    Real("DistanceToBars-", "DistanceToBars", 6, C::Distance),
    Text("FontName4humanreadable-", "FontName4humanreadable"),
    Text("FontName4ISBN_ISSN_SPCNs-", "FontName4ISBN_ISSN_SPCNs"),
    Text("ISSNExtraDigits-", "ISSNExtraDigits"),
    Text("AdditionalText-", "AdditionalText"),
    Int("UseHumanReadablesAsText", "UseHumanReadablesAsText", 0),
    Text("FontName4AdditionalText-", "FontName4AdditionalText"),
    Int("SizeAT", "SizeAT", 0, C::AdditionalTextFont),
    Int("AlignAT", "AlignAT", 4),
    Int("BoldAT", "BoldAT", 0),
    Int("ItalicAT", "ItalicAT", 0),
    Int("Rotation4AdditionalText", "Rotation4AdditionalText", 0),
    Real("H-", "H", 6),
    Real("V-", "V", 6),
    Text("BarsTextColorName-", "BarsTextColorName", "Bars & Text Color"),
    Text("SpacesQuietZoneColorName-", "SpacesQuietZoneColorName", "Spaces & QZ Color"),
    Int("Hueproof", "Hueproof", 3),
    Int("redSpacesQuietZone", "redSpacesQuietZone", 100),
    Int("greenSpacesQuietZone", "greenSpacesQuietZone", 100),
    Int("blueSpacesQuietZone", "blueSpacesQuietZone", 100),
    Int("blackSpacesQuietZone", "blackSpacesQuietZone", 0),
    Int("redBarsText", "redBarsText", 0),
    Int("greenBarsText", "greenBarsText", 0),
    Int("blueBarsText", "blueBarsText", 0),
    Int("blackBarsText", "blackBarsText", 100),
    Int("CMYKcyanSpacesQuietZone", "CMYKcyanSpacesQuietZone", 0),
    Int("CMYKmagentaSpacesQuietZone", "CMYKmagentaSpacesQuietZone", 0),
    Int("CMYKyellowSpacesQuietZone", "CMYKyellowSpacesQuietZone", 0),
    Int("CMYKblackSpacesQuietZone", "CMYKblackSpacesQuietZone", 0),
    Int("CMYKcyanBarsText", "CMYKcyanBarsText", 0),
    Int("CMYKmagentaBarsText", "CMYKmagentaBarsText", 0),
    Int("CMYKyellowBarsText", "CMYKyellowBarsText", 0),
    Int("CMYKblackBarsText", "CMYKblackBarsText", 100),
    Int("BarsTextRadio", "BarsTextRadio", 1),
    Int("SpacesQuietZoneRadio", "SpacesQuietZoneRadio", 0),
    Int("SpotRadio", "SpotRadio", 1),
    Int("ProcessRadio", "ProcessRadio", 0),
    Int("RGB_Radio", "RGB_Radio", 0),
    Int("CMYK_Radio", "CMYK_Radio", 1),
    Int("Overprint", "Overprint", 0),
    Int("TransparentBackground", "TransparentBackground", 0),
    Int("Rotation", "Rotation", 0),
    Int("Bar Width Reduction", "bBarWidthReduction", 0),
    Int("Crop Marks", "bCropMarks", 0),
    Int("Encoded Data", "bEncodedData", 0),
    Int("Symbology", "bSymbology", 0),
    Int("Wide Narrow Ratio", "bWideNarrowRatio", 0),
    Int("Bar Height", "bBarHeight", 0),
    Int("Magnification", "bMagnification", 0),
    Int("X Dimension", "bXDimension", 0),
    Int("NBW", "bNBW", 0),
    Int("Printer dpi", "bPrinterDpi", 0),
    Int("Film", "bFilm", 0),
    Int("Company", "bCompany", 0),
    Int("Client", "bClient", 0),
    Int("Job", "bJob", 0),
    Int("Date", "bDate", 0),
    Int("Comments", "bComments", 0),
    Int("Film-", "Film", 0),
    Text("Company-", "Company"),
    Text("Client-", "Client"),
    Text("Job-", "Job"),
    Text("Date-", "Date"),
    Text("Comments-", "Comments"),
};

const SettingsField& FieldOf(const ProfileKey& k) {
    const SettingsField* f = FindSettingsField(k.field);
    return *f;  // every field of the table exists (checked by the tests)
}

// The range a check demands, and the rule that replaces a value outside it.
bool InRange(C check, double v) {
    switch (check) {
    case C::Family: return kFamilyRange.Contains(v);
    case C::Variation: return kVariationRange.Contains(v);
    case C::Ratio: return kRatioRange.Contains(v);
    case C::BarHeight: return kBarHeightRange.Contains(v);
    case C::BearerBar: return kBearerBarRange.Contains(v);
    case C::Distance: return kDistanceRange.Contains(v);
    case C::TextFont:
    case C::AdditionalTextFont: return kSizeRange.Contains(v);
    case C::None: return true;
    }
    return true;
}

void Replace(C check, const SettingsField& field, const ProfileFallbacks& fb) {
    auto call = [](void (*rule)()) {
        if (rule) rule();
    };
    switch (check) {
    case C::Family:
    case C::Variation:
        field.setInteger(SymbolSettings, 0);
        SymbolSettings.ProfileInvalid = 1;
        ProgrammaticInput = 0;
        break;
    case C::Ratio: call(fb.ratio); break;
    case C::BarHeight: call(fb.barHeight); break;
    case C::BearerBar: call(fb.bearerBar); break;
    case C::Distance: call(fb.distance); break;
    case C::TextFont: call(fb.textFont); break;
    case C::AdditionalTextFont: call(fb.additionalTextFont); break;
    case C::None: break;
    }
}

}  // namespace

std::optional<int32_t> MemoryProfileStore::ReadInt(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) return std::nullopt;
    return std::get<int32_t>(it->second);
}

std::optional<std::string> MemoryProfileStore::ReadString(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
}

std::span<const ProfileKey> ProfileKeys() { return kKeys; }

std::string FormatProfileReal(double value, int decimals) {
    char text[400];
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "0";
    return std::string(text, r.ptr);
}

double ParseProfileReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Digits and a fraction only: no "inf" or "nan", no hexadecimal.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) return 0;
    double value = 0;
    auto r = std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range || r.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

std::vector<std::string> LoadProfile(const ProfileStore& store, const ProfileFallbacks& fallbacks) {
    SettingsRecord& s = SymbolSettings;
    s.ProfileInvalid = 0;
    ProgrammaticInput = 1;
    std::vector<std::string_view> stored;  // fields whose key holds a value
    for (const ProfileKey& k : kKeys) {
        const SettingsField& f = FieldOf(k);
        double value = 0;
        switch (k.kind) {
        case K::Integer: {
            const std::optional<int32_t> read = store.ReadInt(k.key);
            if (read) stored.push_back(k.field);
            const int32_t v = read.value_or(static_cast<int32_t>(k.fallback));
            value = v;
            f.setInteger(s, v);  // narrower fields keep their low bytes
            break;
        }
        case K::Real: {
            auto text = store.ReadString(k.key);
            if (text) stored.push_back(k.field);
            value = text ? ParseProfileReal(*text) : k.fallback;
            f.setDecimal(s, value);
            break;
        }
        case K::Text: f.setText(s, store.ReadString(k.key).value_or(k.text)); continue;
        }
        if (!InRange(k.check, value)) Replace(k.check, f, fallbacks);
    }
    // A missing key's default (0 for most reals) is no value the user stored:
    // it is brought into range without a word.
    std::vector<std::string> changed = ClampToValidValues(s);
    std::erase_if(changed, [&](const std::string& entry) {
        const std::string_view name = std::string_view(entry).substr(0, entry.find(' '));
        return std::find(stored.begin(), stored.end(), name) == stored.end();
    });
    return changed;
}

void SaveProfile(ProfileStore& store) {
    const SettingsRecord& s = SymbolSettings;
    for (const ProfileKey& k : kKeys) {
        const SettingsField& f = FieldOf(k);
        switch (k.kind) {
        case K::Integer: store.WriteInt(k.key, static_cast<int32_t>(f.getInteger(s))); break;
        case K::Real: store.WriteString(k.key, FormatProfileReal(f.getDecimal(s), k.decimals)); break;
        case K::Text: store.WriteString(k.key, std::string(f.getText(s))); break;
        }
    }
}

void LoadEnglishTextsSwitch(const ProfileStore& store) {
    SetEnglishTexts(store.ReadInt(kEnglishTextsKey).value_or(0) != 0);
}

void SaveEnglishTextsSwitch(ProfileStore& store) { store.WriteInt(kEnglishTextsKey, EnglishTexts() ? 1 : 0); }

}  // namespace vg
