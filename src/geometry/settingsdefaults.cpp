// Factory defaults of the settings record.
#include "model/catalogue.h"
#include "model/fontnames.h"
#include "geometry/dimensionmodel.h"
#include "geometry/settingsdefaults.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"

namespace vg {

namespace {

constexpr const char* kOcrB = kOcrBFontName.data();
constexpr const char* kOcrA = kOcrAFontName.data();
constexpr const char* kArial = "Arial";
constexpr int kDefaultDpi = 2400;

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Step 1: initial main text, or data a Kitlet carried in the ISSN slot.
void InitialTexts(SettingsRecord& s) {
    if (s.Family == kFamilyUpcA && !s.VariationName.empty() && s.VariationName[0] == '$' &&
        !s.ISSNExtraDigits.empty()) {
        SetText(s.MainText, s.ISSNExtraDigits);
        s.ISSNExtraDigits.clear();
    } else if (s.Family == kFamilyCode39 && s.Derived == 1 && !s.ISSNExtraDigits.empty()) {
        SetText(s.FACTdataIDtext, s.ISSNExtraDigits);
        s.ISSNExtraDigits.clear();
        SetText(s.MainText, "");
    } else {
        const char* initial = InitialMainText(s.Variation);
        SetText(s.MainText, initial ? initial : "");
    }
}

void CouponParts(SettingsRecord& s) {
    int v = s.Variation;
    const char* upc = "";
    if (In(v, 61, 65))
        upc = "5";
    else if (In(v, 81, 85))
        upc = "99";
    SetText(s.CouponFormatUPCpartText, upc);

    const char* part128 = "";
    switch (v) {
    case 61:
    case 63:
    case 81:
    case 83: part128 = "(8100)"; break;
    case 62:
    case 64:
    case 82:
    case 84: part128 = "(8101)"; break;
    case 65:
    case 85: part128 = "(8102)"; break;
    default: break;
    }
    SetText(s.CouponFormat128partText, part128);
}

void TextOptions(SettingsRecord& s) {
    int v = s.Variation;
    s.HideAddonText = 0;
    s.UseHumanReadablesAsText = 0;
    s.AlignAT = 4;
    s.H = 0;
    s.V = 0;
    s.Hidden = DefaultHidden(s.Family, v);
    s.HideCheckDigits = 0;
    s.HideParentheses = 0;
    s.IgnoreHyphens = DefaultIgnoreHyphens(v);
    s.IgnoreSpaces = 1;
    s.TextAbove = 0;
    s.CenterSysChk = 0;
    s.AddonTextDown = 0;
    s.QuietZoneIndicators = 0;
    s.ShowStartStop = 0;
    s.ShowFactDataID = 0;
    s.ShowAsterisks = DefaultShowAsterisks(v);
}

void Colours(SettingsRecord& s) {
    s.RGB_Radio = 0;
    s.CMYK_Radio = 1;
    s.BarsTextRadio = 1;
    s.SpacesQuietZoneRadio = 0;
    s.SpotRadio = 1;
    s.ProcessRadio = 0;

    s.BarsTextColorName = kBarsColourName;
    s.SpacesQuietZoneColorName = kSpacesColourName;

    s.TransparentBackground = 1;
    s.Overprint = 0;
    s.redSpacesQuietZone = 100;
    s.greenSpacesQuietZone = 100;
    s.blueSpacesQuietZone = 100;
    s.blackSpacesQuietZone = 0;
    s.redBarsText = 0;
    s.greenBarsText = 0;
    s.blueBarsText = 0;
    s.blackBarsText = 100;
    s.CMYKcyanSpacesQuietZone = 0;
    s.CMYKmagentaSpacesQuietZone = 0;
    s.CMYKyellowSpacesQuietZone = 0;
    s.CMYKblackSpacesQuietZone = 0;
    s.CMYKcyanBarsText = 0;
    s.CMYKmagentaBarsText = 0;
    s.CMYKyellowBarsText = 0;
    s.CMYKblackBarsText = 100;
    s.Hueproof = 3;
}

}  // namespace

FontDefault DefaultFontFor(int v) {
    if (In(v, 26, 29) || v == 35 || v == 36 || v == 38 || In(v, 61, 65) || In(v, 72, 75) || In(v, 77, 85) || v == 101 ||
        v == 102 || In(v, 105, 111) || v == 114 || In(v, 134, 136) || v == 138 || v == 141 || v == 145 || v == 146)
        return {kOcrB, 9};
    if (In(v, 41, 45)) return {kOcrB, 24};
    if (v == 34 || v == 37 || v == 86 || v == 87) return {kOcrA, 12};
    if (v == 25 || In(v, 118, 123)) return {kArial, 5};
    if (v == 116 || v == 117 || v == 98) return {kArial, 9};
    return {kArial, 12};
}

double DefaultDistanceToBars(int v) {
    if (v == 25) return 5.0;
    if (v == 116) return 2.0;
    if (IsUpcEanClass(v)) return 0.864;
    return 0;
}

int DefaultUnitOfMeasure(int v) {
    switch (v) {
    case 21:
    case 22:
    case 23:
    case 25:
    case 28:
    case 29:
    case 43:
    case 44:
    case 45: return 1;
    default: return 0;
    }
}

int DefaultHidden(int family, int v) { return family == kFamilyPostnet || v == 49 || v == 50 || v == 97 ? 1 : 0; }

int DefaultShowAsterisks(int v) { return In(v, 17, 19) ? 1 : 0; }

int DefaultIgnoreHyphens(int v) { return v == 13 ? 0 : 1; }

int DefaultAlign(int v) { return v == 25 || In(v, 88, 96) ? 0 : 1; }

void RatioDefault() { SymbolSettings.CurRatio = DefaultRatio(SymbolSettings.Family, SymbolSettings.Variation); }

void XDimensionDefault() {
    SettingsRecord& s = SymbolSettings;
    // Outside EPS a valid X is kept, but an out-of-range one never stays.
    if (s.Format == 1 || !kXDimensionRange.Contains(s.CurBarXDimension))
        s.CurBarXDimension = DefaultXDimension(s.Family, s.Variation);
}

void BarHeightDefault() {
    SymbolSettings.BarHeight = DefaultBarHeight(SymbolSettings.Family, SymbolSettings.Variation);
}

void BearerBarDefault() {
    SymbolSettings.BearerBar = DefaultBearerBar(SymbolSettings.Family, SymbolSettings.Variation);
}

void TextFontDefault() {
    FontDefault f = DefaultFontFor(SymbolSettings.Variation);
    SymbolSettings.FontName4humanreadable = f.face;
    SymbolSettings.Size = f.size;
    SymbolSettings.FontName4ISBN_ISSN_SPCNs = kOcrB;
}

void AdditionalTextFontDefault() {
    SymbolSettings.FontName4AdditionalText = kArial;
    SymbolSettings.SizeAT = 12;
}

void DistanceDefault() { SymbolSettings.DistanceToBars = DefaultDistanceToBars(SymbolSettings.Variation); }

void MethodDefault() { SymbolSettings.LastMethod = DefaultMethod(SymbolSettings.Family); }

void ResolutionDefault() {
    SettingsRecord& s = SymbolSettings;
    s.PrinterDpi = kDefaultDpi;
    s.BarWidthReduction = DefaultBarWidthReduction(s.Family, s.LastMethod, kDefaultDpi);
}

void AlignmentDefault() { SymbolSettings.Align = DefaultAlign(SymbolSettings.Variation); }

void TextStyleDefault() {
    SymbolSettings.Bold = 0;
    SymbolSettings.Italic = 0;
    SymbolSettings.Hidden = 0;
}

void AdditionalTextStyleDefault() {
    SymbolSettings.BoldAT = 0;
    SymbolSettings.ItalicAT = 0;
}

void ApplyVariationDefaults() {
    SettingsRecord& s = SymbolSettings;
    const bool fresh = s.Derived == 0;

    InitialTexts(s);

    SetText(s.OriginalMainText, TextOf(s.MainText));
    SetText(s.AddOnText, "");
    if (fresh) SetText(s.FACTdataIDtext, "");

    CouponParts(s);

    s.CheckCharacter1 = 0;
    s.CheckCharacter2 = 0;

    SetEmbeddingFactors(s.Variation);
    if (IsVantic128Class(s.Variation)) s.bCropMarks = 0;

    if (fresh) {
        s.Rotation = 0;
        s.Prufmark = 0;
        MethodDefault();
        s.FileName = 4;
        s.Format = 1;
        s.UnitOfMeasure = DefaultUnitOfMeasure(s.Variation);
        s.AdditionalText.clear();

        RatioDefault();
        s.SymbolWidth = 0;
        s.Magnification = 100.0;
        BarHeightDefault();
        BearerBarDefault();
        XDimensionDefault();
        ResolutionDefault();

        // Sets Bold and Italic for the whole step; Hidden follows with the options.
        TextFontDefault();
        TextStyleDefault();
        AlignmentDefault();
        s.Rotation4AdditionalText = 0;
        AdditionalTextFontDefault();
        AdditionalTextStyleDefault();

        TextOptions(s);

        DistanceDefault();
        if (s.Family == kFamilyIssn)
            s.ISSNExtraDigits = "00";
        else
            s.ISSNExtraDigits.clear();

        Colours(s);
    }
}

}  // namespace vg
