#include "eps/epseantext.h"

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "device/recordingdc.h"
#include "symbology/eanupc.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

bool IsOcr(const std::string& font) { return font == kOcrBFontName || font == kOcrAFontName; }

std::string EncodedNumber() { return EncodedText.substr(0, EncodedText.find(' ')); }

// The number as the line shows it, check digit included where the line has one.
std::string LineNumber(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (IsBooklandEan13Class(v)) return EncodedNumber();  // all thirteen digits, always
    std::string number = EanUpcFitNumber(v);
    if (!s.HideCheckDigits && s.CheckCharacter1) number += static_cast<char>(s.CheckCharacter1);
    return number;
}

}  // namespace

std::string EanUpcFitNumber(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (IsCouponClass(v)) return std::string(TextOf(s.CouponFormatUPCpartText));
    if (IsBooklandEan13Class(v)) return EncodedNumber();
    if (IsUpcEClass(v)) {
        const std::string encoded = EncodedNumber();
        return encoded.size() >= 7 ? encoded.substr(1, 6) : std::string();
    }
    return std::string(TextOf(s.OriginalMainText));
}

bool EanUpcDoesNotFit(int v, const std::string& font, double size, int style, double module) {
    const int modules = IsEan8Class(v) ? kEan8Modules : IsUpcEClass(v) ? kUpcEModules : kEan13Modules;
    return TextMetrics(font, size, style, EanUpcFitNumber(v)).width > modules * module;
}

std::string EanUpcSecondText(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (!IsCouponClass(v)) return std::string(TextOf(s.AddOnText));
    if (!s.CouponFormat128partText[0]) return {};
    // The symbol object builds the coupon's text; its whole line is the number
    // and that text (the number alone while HideAddonText is set).
    RecordingDC dc(72, 72);
    CUccCouponSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
    const std::string whole = symbol.TextLine(true), number = symbol.TextLine(false);
    return whole.size() > number.size() ? whole.substr(number.size()) : std::string();
}

std::string EanUpcOneLine(int v, bool withSecond) {
    std::string line = LineNumber(v);
    if (withSecond && !SymbolSettings.HideAddonText) line += EanUpcSecondText(v);
    return line;
}

std::vector<double> SecondPartCharOffsets(std::string_view pattern, std::size_t count, double ratio,
                                          int variation) {
    std::vector<double> offsets;
    const std::size_t at = pattern.find("++");
    if (count == 0 || at == std::string_view::npos || at % 2) return offsets;
    // The start pattern and the first two elements of the first character take
    // the first twelve pattern characters; the rest is shared evenly.
    double rest = 0;
    for (std::size_t i = at + 12; i + 1 < pattern.size(); i += 2)
        rest += ElementModules(pattern[i], pattern[i + 1], ratio, variation);
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(4 + static_cast<double>(i) * rest / static_cast<double>(count));
    return offsets;
}

std::vector<BodyChar> NdcMarkChars(const std::string& font, int style, double size, double module, double firstBar,
                                   double top) {
    const FontMeasure n = TextMetrics(font, size, style, "N");
    const FontMeasure three = TextMetrics(font, size, style, "3");
    const double centre = firstBar - 0.4 * n.width - module;
    const double raise = n.height * (IsOcr(font) ? 1.0 : 0.7);
    return {BodyChar{'3', centre - three.width / 2.0, top - three.ascent, size},
            BodyChar{'N', centre - n.width / 2.0, top + raise - n.ascent, size}};
}

}  // namespace vg
