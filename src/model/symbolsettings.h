// The one process-wide record of the current symbol and its factory defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace vg {

// The colour names that RIPs and separation devices map to the process plates.
inline constexpr const char* kBarsColourName = "Black";
inline constexpr const char* kSpacesColourName = "White";

struct SettingsRecord {
    // Identity and data texts
    int16_t Family = 0;
    int32_t Variation = 0;
    std::string VariationName;
    int32_t Derived = 0;
    char MainText[62] = {};
    char OriginalMainText[62] = {};
    char AddOnText[7] = {};
    char FACTdataIDtext[7] = {};
    char CouponFormatUPCpartText[13] = {};
    char CouponFormat128partText[30] = {};
    uint8_t CheckCharacter1 = 0;
    uint8_t CheckCharacter2 = 0;
    int32_t ProfileInvalid = 0;

    // Dimensions (lengths in points)
    double CurRatio = 0;
    double CurBarXDimension = 0;
    double SymbolWidth = 0;
    double BarHeight = 0;
    double BearerBar = 0;
    double BarWidthReduction = 0;  // dots when LastMethod is 0, points when 1
    double Magnification = 0;      // percent
    double DistanceToBars = 0;

    // Options and preferences
    int32_t Rotation = 0;
    int32_t ElephantSound = 0;
    int32_t FileName = 0;
    int32_t Format = 0;  // 0 WMF, 1 EPS, 2 EMF
    int32_t UnitOfMeasure = 0;
    int32_t Prufmark = 0;
    int32_t GSCalibration = 0;
    int32_t LastMethod = 0;  // 0 printer dpi, 1 custom
    int32_t DpiListCount = 0;
    int32_t PrinterDpi = 0;

    // Human-readable text
    int32_t Size = 0;
    int32_t SizeListCount = 0;
    int32_t Align = 0;
    int32_t StartCharacter = 0;
    int32_t StopCharacter = 0;
    int32_t Bold = 0;
    int32_t Italic = 0;
    int32_t Hidden = 0;
    int32_t ShowFactDataID = 0;
    int32_t ShowAsterisks = 0;
    int32_t HideCheckDigits = 0;
    int32_t HideParentheses = 0;
    int32_t IgnoreHyphens = 0;
    int32_t IgnoreSpaces = 0;
    int32_t TextAbove = 0;
    int32_t ShowStartStop = 0;
    int32_t CenterSysChk = 0;
    int32_t HideAddonText = 0;
    int32_t AddonTextDown = 0;
    int32_t QuietZoneIndicators = 0;
    std::string ISSNExtraDigits;
    std::string FontName4humanreadable;
    std::string FontName4ISBN_ISSN_SPCNs;

    // Additional text
    std::string AdditionalText;
    int32_t UseHumanReadablesAsText = 0;
    std::string FontName4AdditionalText;
    int32_t SizeAT = 0;
    int32_t SizeListCountAT = 0;
    int32_t AlignAT = 0;
    int32_t BoldAT = 0;
    int32_t ItalicAT = 0;
    int16_t Rotation4AdditionalText = 0;
    double H = 0;
    double V = 0;

    // Colours (percentages)
    std::string BarsTextColorName;         // factory default kBarsColourName
    std::string SpacesQuietZoneColorName;  // factory default kSpacesColourName
    uint8_t Hueproof = 0;
    uint8_t redSpacesQuietZone = 0;
    uint8_t greenSpacesQuietZone = 0;
    uint8_t blueSpacesQuietZone = 0;
    uint8_t blackSpacesQuietZone = 0;
    uint8_t redBarsText = 0;
    uint8_t greenBarsText = 0;
    uint8_t blueBarsText = 0;
    uint8_t blackBarsText = 0;
    uint8_t CMYKcyanSpacesQuietZone = 0;
    uint8_t CMYKmagentaSpacesQuietZone = 0;
    uint8_t CMYKyellowSpacesQuietZone = 0;
    uint8_t CMYKblackSpacesQuietZone = 0;
    uint8_t CMYKcyanBarsText = 0;
    uint8_t CMYKmagentaBarsText = 0;
    uint8_t CMYKyellowBarsText = 0;
    uint8_t CMYKblackBarsText = 0;
    int32_t BarsTextRadio = 0;
    int32_t SpacesQuietZoneRadio = 0;
    int32_t SpotRadio = 0;
    int32_t ProcessRadio = 0;
    int32_t RGB_Radio = 0;
    int32_t CMYK_Radio = 0;
    int32_t Overprint = 0;
    int32_t TransparentBackground = 0;

    // Serialization
    std::string SerialBefore;
    std::string SerialStart;
    std::string SerialAfter;
    std::string SerialStop;
    int32_t SerialIncrement = 0;
    int32_t SerialMain = 0;
    int32_t SerialAddOn = 0;

    // Specification block
    int32_t bBarWidthReduction = 0;
    int32_t bCropMarks = 0;
    int32_t bEncodedData = 0;
    int32_t bSymbology = 0;
    int32_t bWideNarrowRatio = 0;
    int32_t bBarHeight = 0;
    int32_t bMagnification = 0;
    int32_t bXDimension = 0;
    int32_t bNBW = 0;
    int32_t bPrinterDpi = 0;
    int32_t bFilm = 0;
    int32_t bCompany = 0;
    int32_t bClient = 0;
    int32_t bJob = 0;
    int32_t bDate = 0;
    int32_t bComments = 0;
    int32_t Film = 0;
    std::string Company;
    std::string Client;
    std::string Job;
    std::string Date;
    std::string Comments;
};

// The current symbol. Zero-initialised at process start.
extern SettingsRecord SymbolSettings;

// Set while the program itself fills the record and the input bar.
extern int ProgrammaticInput;
// Full-settings item of the last applied Kitlet.
extern int KitletFull;

// Puts every field back to its zero state (process start).
void ResetSettingsRecord();

// Copies text into a fixed field, cut to N-1 characters and terminated.
template <std::size_t N>
void SetText(char (&field)[N], std::string_view text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n) std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// Length of a fixed field's text, never reading past the array.
template <std::size_t N>
std::size_t TextLength(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    return end ? static_cast<const char*>(end) - field : N;
}

template <std::size_t N>
std::string_view TextOf(const char (&field)[N]) {
    return std::string_view(field, TextLength(field));
}

// Valid ranges (inclusive) enforced by the loaders.
struct Range {
    double lo, hi;
    bool Contains(double v) const { return v >= lo && v <= hi; }
};
inline constexpr Range kFamilyRange{1, 19};
inline constexpr Range kVariationRange{1, 199};
inline constexpr Range kRatioRange{1.8, 4.2};
inline constexpr Range kXDimensionRange{0.13, 11.52};
inline constexpr Range kBarHeightRange{2.25, 864};
inline constexpr Range kBearerBarRange{0, 36};
inline constexpr Range kDistanceRange{-6, 32};
inline constexpr Range kSizeRange{2, 200};
inline constexpr Range kHueproofRange{1, 3};
inline constexpr Range kPrinterDpiRange{30, 20000};

}  // namespace vg
