// EAN/UPC body of the EPS file: the layout of the bars and the number (in the
// digit places, as one line, over the add-on), the standard-number lines of the
// book numbers, and the digits as drawn. The texts are placed as the symbol
// object places them on a device context; x is measured from the first bar.
#include "eps/epsbody.h"

#include <algorithm>

#include "eps/epsbody_internal.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "device/fontservice.h"
#include "device/recordingdc.h"
#include "geometry/variationdefaults.h"
#include "symbology/eanupc.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

constexpr double kNominalModule = 0.936;  // EAN/UPC digit positions
constexpr double kGuardPoints = 5.76;     // guard bars below the data bars

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

// The EAN/UPC number with its check digit as the digits under the bars show it.
std::string EanUpcNumber(int v, bool& differs) {
    const SettingsRecord& s = SymbolSettings;
    differs = false;
    const char check = static_cast<char>(s.CheckCharacter1);
    std::string number;
    std::string encoded = EncodedText.substr(0, EncodedText.find(' '));
    if (IsCouponClass(v)) {
        number = std::string(TextOf(s.CouponFormatUPCpartText));
        if (!s.HideCheckDigits && check) number += check;
    } else if (IsBooklandEan13Class(v)) {
        number = encoded;
    } else if (IsUpcEClass(v)) {
        number = encoded;
        if (s.HideCheckDigits && !number.empty()) number.back() = ' ';
    } else {
        number = std::string(TextOf(s.OriginalMainText));
        differs = number != TextOf(s.MainText);
        if (!s.HideCheckDigits && check) number += check;
    }
    return number;
}

double BookLineSize(int v, const std::string& font, int addOnLength) {
    if (TextOnly(v)) return SymbolSettings.Size;
    OcrFont ocr;
    double size = IsOcrFont(font, ocr) ? 8 : 9;
    if (OneOf(v, {135, 136, 138})) size = 7;
    if (OneOf(v, {141, 145, 146})) size = addOnLength ? 8.5 : 6.5;
    if (IsIsbnDualClass(v)) size = addOnLength == 2 ? 7.5 : addOnLength == 5 ? 8.5 : 5.5;
    return size;
}

// Standard-number lines of the current variation (the second only for 134).
void BookLines(std::string& line1, std::string& line2) {
    RecordingDC dc(72, 72);
    CBooklandSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
    symbol.BuildStandardNumberLine();
    line1 = symbol.m_numberLine;
    line2 = symbol.m_numberLine2;
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

std::vector<double> SecondPartCharOffsets(std::string_view pattern, std::size_t count, double ratio, int variation) {
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

void TextOnlyLayout(EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    std::string line, line2;
    BookLines(line, line2);
    const int style = FontStyle(s.Bold, s.Italic);
    const FontMeasure fm = TextMetrics(s.FontName4humanreadable, s.Size, style, line);
    const double lq = LeftQuietZone(l.family, l.variation), rq = RightQuietZone(l.family, l.variation);
    l.total = l.x0 + lq;
    l.start = l.y0 + 2;
    l.h = l.start;
    l.symLeft = l.x0;
    l.symRight = l.total + fm.width + rq;
    l.symBottom = l.y0;
    l.symTop = l.y0 + 4 + fm.height;
    if (line.empty()) return;
    BodyText t = MakeText(line, s.FontName4humanreadable, s.Size, style, l.total, l.start + fm.descent);
    MarkOutlined(l, t, true);
    l.texts.push_back(t);
}

namespace {

// How the number is shown: in the digit places under the bars, or as one line
// (above the bars, or below them when it is too wide for the places).
struct EanUpcTextForm {
    std::string number;  // with its check digit, as the digits show it
    FontMeasure fm;      // the human-readable font over the ten digits
    bool shown = false;
    bool above = false;
    bool below = false;
    bool oneLine = false;  // the number as one line instead of the digit places
    bool narrow = false;   // the digits in their places at the nominal module
    bool guards = false;   // guard bars below the data bars
    bool outlined = false;
    OcrFont ocr = OcrFont::B;
    bool hasSecond = false;  // an add-on or the coupon's second symbol
    bool second = false;     // and its text is shown
};

EanUpcTextForm EanUpcTextFormOf(EpsBodyLayout& l, const SettingsRecord& s, std::string_view pattern) {
    const int v = l.variation;
    const int style = FontStyle(s.Bold, s.Italic);
    const std::string& font = s.FontName4humanreadable;
    const PatternWidths pw = MeasurePattern(l, pattern);
    l.patternWidth = pw.total;
    l.mainWidth = pw.main;

    EanUpcTextForm f;
    bool differs = false;
    f.number = EanUpcNumber(v, differs);
    f.fm = TextMetrics(font, s.Size, style, "0123456789");
    std::string plain = f.number;
    plain.erase(std::remove(plain.begin(), plain.end(), ' '), plain.end());
    f.shown = !s.Hidden;
    f.above = s.TextAbove != 0;
    f.below = f.shown && !f.above;
    // A number wider than the main symbol is drawn as one line instead of the digit places.
    f.oneLine = f.shown && EanUpcDoesNotFit(v, font, s.Size, style, l.X0);
    f.narrow = f.fm.width <= 70 && !differs && AllDigits(plain) && !f.oneLine;
    // Guard bars reach below the data bars only over digits in their places.
    f.guards = f.below && !f.oneLine;
    f.outlined = IsOcrFont(font, f.ocr);
    f.hasSecond = pw.hasSecond;
    f.second = pw.hasSecond && !s.HideAddonText;
    return f;
}

// The one line, not yet placed: every character advances by the widest
// character of the font. No text when the number stands in its places.
BodyText EanUpcLine(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f) {
    BodyText lineText;
    if (f.shown && (f.above || f.oneLine)) {
        lineText = MakeText(EanUpcOneLine(l.variation, f.oneLine), s.FontName4humanreadable, s.Size,
                            FontStyle(s.Bold, s.Italic), 0, 0);
        MarkOutlined(l, lineText, true);
        if (!lineText.outlined) lineText.cellPitch = lineText.cellWidth = f.fm.maxWidth;
    }
    return lineText;
}

double LineWidth(const BodyText& lineText) {
    return static_cast<double>(lineText.text.size()) * (lineText.outlined ? lineText.advance : lineText.cellPitch);
}

// The quiet zones, the first bar, the bar bottoms and tops, and the symbol
// rectangle up to the bar tops' margin.
void PlaceEanUpcBars(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f, double lineWidth) {
    double lq = 9 * l.X0, rq = 9 * l.X0;
    // A line wider than the bars takes its room from the quiet zones.
    if (lineWidth > l.patternWidth) SpreadExcess(lineWidth - l.patternWidth, s.Align, lq, rq);
    l.total = l.x0 + lq;
    l.symLeft = l.x0;
    l.symRight = l.total + l.patternWidth + rq;
    const double bottom = f.below ? l.X0 + f.fm.height + s.DistanceToBars - (f.narrow ? kGuardPoints : 0) : l.X0;
    l.start = l.y0 + bottom;
    l.h = l.start + l.barHeight;
    l.dataStart = f.guards ? l.start + kGuardPoints : l.start;
    l.symBottom = l.y0;
    l.symTop = l.h + l.X0;
}

// The procedure that starts the second part: its name and the bars it draws.
void SetEanUpcSeparator(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f) {
    if (!f.hasSecond) return;
    l.sepStart = l.start;
    l.sepTop = l.h;
    if (IsCouponClass(l.variation)) {
        l.separator = "co";
        l.sepStart = l.dataStart;
    } else if (!s.AddonTextDown) {
        l.separator = "ta";
        if (!s.TextAbove && !s.Hidden && !f.oneLine) l.sepTop = l.start + l.barHeight - 0.5 - 7.0 - s.DistanceToBars;
    } else {
        l.separator = "at";
        l.sepStart = l.dataStart;
    }
}

void AddDigit(EpsBodyLayout& l, char c, double x, double y, double size) {
    if (c && c != ' ') l.digits.push_back({c, x, y, size});
}

// The one line placed: above the bars, or below them when it stands for the
// digit places; with the quiet zone mark and the second part's characters.
void PlaceEanUpcLine(EpsBodyLayout& l, const SettingsRecord& s, std::string_view pattern, const EanUpcTextForm& f,
                     BodyText lineText, double lineWidth) {
    const int v = l.variation;
    const int style = FontStyle(s.Bold, s.Italic);
    const std::string& font = s.FontName4humanreadable;
    const double x1 = l.total, L = l.mainWidth;
    const double size = s.Size;
    // Above: the line's foot a gap over the bars; below: its top a gap under them.
    const double base = f.above ? l.h + s.DistanceToBars + f.fm.descent : l.start - s.DistanceToBars - f.fm.ascent;
    // Aligned over the main symbol when the add-on's digits stand beside it.
    const double span = f.second && !f.oneLine ? L : l.patternWidth;
    double x = x1;
    if (s.Align == 1) x += (span - lineWidth) / 2;
    if (s.Align == 2) x += span - lineWidth;
    lineText.x = x;
    lineText.y = base;
    if (!lineText.text.empty()) l.texts.push_back(lineText);
    const bool mark =
        (IsEan13Class(v) || IsBooklandEan13Class(v) || IsUpcAClass(v)) && s.QuietZoneIndicators && !s.AddOnText[0];
    if (mark) {
        // At size 0.9, centred after the main symbol, level with the line's top.
        const double sz = size * 0.9;
        const FontMeasure small = TextMetrics(font, sz, style, ">");
        const double centre = x1 + L + 2 * l.X0 + 0.4 * TextMetrics(font, size, style, ">").width;
        AddDigit(l, '>', centre - small.width / 2.0, base + f.fm.ascent - small.ascent, sz);
    }
    if (f.above && !f.oneLine && f.second) {
        // Over the add-on (or the coupon's second symbol), on the line's baseline.
        const std::string text = EanUpcSecondText(v);
        const std::vector<double> at = SecondPartCharOffsets(pattern, text.size(), s.CurRatio, v);
        const double first = x1 + L + l.addOnGap;
        for (std::size_t i = 0; i < at.size(); ++i) AddDigit(l, text[i], first + at[i] * l.X0, base, size);
        if (!IsCouponClass(v) && s.QuietZoneIndicators) AddDigit(l, '>', x1 + l.patternWidth + 2 * l.X0, base, size);
    }
    if (f.above) l.symTop += s.DistanceToBars + f.fm.height;
}

// Baseline of the digits in their places under the bars.
double EanUpcDigitBaseline(const EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f) {
    const double size = s.Size;
    double base = l.start - 1.8 + (f.narrow ? (9 - size) * 0.8 : (10 - 5.76 - size)) - s.DistanceToBars + 0.864;
    if (f.outlined) base -= 0.25;
    return base;
}

// How far the digits of a narrow number move right at sizes below 9.
double EanUpcDigitShift(const SettingsRecord& s, const EanUpcTextForm& f) {
    const double size = s.Size;
    return f.narrow && size < 9 ? (9 - size) * 0.4 : 0;
}

// Character i of the number, counted from 1; none past its end.
char DigitAt(const std::string& number, std::size_t i) { return i >= 1 && i <= number.size() ? number[i - 1] : '\0'; }

// UPC-A, UPC-E and the UCC/EAN-128 coupons: the outside characters smaller,
// the NDC mark in place of the number system digit for 73.
void PlaceUpcDigits(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f, double base) {
    const int v = l.variation;
    const double M = kNominalModule;
    const double x1 = l.total, L = l.mainWidth;
    const double size = s.Size;
    const double shift = EanUpcDigitShift(s, f);
    const double outY = s.CenterSysChk ? base + l.barHeight / 2 : base;
    const std::size_t count = IsUpcEClass(v) ? 8 : 12;
    if (IsUpcANdcClass(v)) {
        // The NDC mark: the digit 3 with the letter N above it, its top where
        // the outside characters stand on the device context.
        const double down = s.CenterSysChk
                                ? l.barHeight / 2 - kGuardPoints / 2
                                : l.barHeight + s.DistanceToBars + size * 0.1 - (f.narrow ? kGuardPoints : 0);
        for (const BodyChar& c : NdcMarkChars(s.FontName4humanreadable, FontStyle(s.Bold, s.Italic),
                                              size > 4 ? size - 2 : size, l.X0, x1, l.h - down))
            AddDigit(l, c.c, c.x, c.y, c.size);
    } else {
        AddDigit(l, DigitAt(f.number, 1), x1 - 7, outY, size - 2);
    }
    for (std::size_t i = 2; i < count; ++i) {
        double x;
        if (f.narrow && IsUpcEClass(v))
            x = x1 + (7.0 * i - 10.25) * M + shift;
        else if (f.narrow)
            x = x1 + (i < 7 ? 7.0 * i - 3.25 : 7.0 * i + 1.75) * M + shift;
        else
            x = x1 + 5 + (i - 2.0) * (L - 5) / (count - 2.0);
        AddDigit(l, DigitAt(f.number, i), x, base, size);
    }
    AddDigit(l, DigitAt(f.number, count), x1 + L + 2, outY, size - 2);
}

void PlaceEan8Digits(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f, double base) {
    const double M = kNominalModule;
    const double x1 = l.total, L = l.mainWidth;
    const double size = s.Size;
    const double shift = EanUpcDigitShift(s, f);
    if (s.QuietZoneIndicators) AddDigit(l, '<', x1 - 7, base, size);
    for (std::size_t i = 1; i <= 8; ++i) {
        double x = f.narrow ? x1 + (i < 5 ? 7.0 * (i + 1) - 10.25 : 7.0 * (i + 1) - 5.25) * M + shift
                            : x1 + (i - 1.0) * L / 8.0;
        AddDigit(l, DigitAt(f.number, i), x, base, size);
    }
}

// EAN-13, the book numbers and the EAN-99 coupons.
void PlaceEan13Digits(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f, double base) {
    const double M = kNominalModule;
    const double x1 = l.total, L = l.mainWidth;
    const double size = s.Size;
    const double shift = EanUpcDigitShift(s, f);
    const std::size_t n = f.number.size();
    AddDigit(l, DigitAt(f.number, 1), x1 - 7, base, size);
    const std::size_t count = std::max<std::size_t>(n, 13);
    for (std::size_t i = 2; i <= count; ++i) {
        double x = f.narrow ? x1 + (i < 8 ? 7.0 * i - 10.25 : 7.0 * i - 5.25) * M + shift
                            : x1 + (i - 2.0) * (L - 5) / (count - 1.0);
        AddDigit(l, DigitAt(f.number, i), x, base, size);
    }
}

// The add-on's digits with their quiet zone mark, or the coupon's second text
// under its own bars.
void PlaceSecondPartDigits(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f, double base) {
    const int v = l.variation;
    const double M = kNominalModule;
    const double x1 = l.total, s0 = l.start, L = l.mainWidth;
    const double size = s.Size;
    const std::string_view addOn = TextOf(s.AddOnText);
    const double g = l.addOnGap;
    if (!addOn.empty() && !s.HideAddonText && !IsCouponClass(v)) {
        const double ab = s.AddonTextDown ? base : s0 + l.barHeight - 7.0;
        for (std::size_t j = 1; j <= addOn.size(); ++j)
            AddDigit(l, addOn[j - 1], x1 + L + g + 4.3 + (j - 1.0) * 8.7 * M, ab, size);
        if (s.QuietZoneIndicators)
            AddDigit(l, '>', x1 + L + g + 4.3 + static_cast<double>(addOn.size()) * 8.7 * M - 2, ab, size);
    } else if (addOn.empty() && s.QuietZoneIndicators && (IsEan13Class(v) || IsEan8Class(v))) {
        AddDigit(l, '>', x1 + L + 1, base, size);
    }
    if (IsCouponClass(v) && f.second) {
        // The coupon's second part is read under its own bars.
        BodyText t = MakeText(EanUpcSecondText(v), s.FontName4humanreadable, size, FontStyle(s.Bold, s.Italic),
                              x1 + L + g, base);
        MarkOutlined(l, t, true);
        if (!t.text.empty()) l.texts.push_back(t);
    }
}

// The digits in their places under the bars.
void PlaceEanUpcDigits(EpsBodyLayout& l, const SettingsRecord& s, const EanUpcTextForm& f) {
    const int v = l.variation;
    const double base = EanUpcDigitBaseline(l, s, f);
    if (IsUpcAClass(v) || IsUccEan128CouponClass(v) || IsUpcEClass(v))
        PlaceUpcDigits(l, s, f, base);
    else if (IsEan8Class(v))
        PlaceEan8Digits(l, s, f, base);
    else
        PlaceEan13Digits(l, s, f, base);
    PlaceSecondPartDigits(l, s, f, base);
}

// The standard-number lines above the symbol of the book-number EAN-13s.
void PlaceBookNumberLines(EpsBodyLayout& l, const SettingsRecord& s) {
    const int v = l.variation;
    std::string line, line2;
    BookLines(line, line2);
    const std::string& bookFont = s.FontName4ISBN_ISSN_SPCNs;
    double bs = BookLineSize(v, bookFont, static_cast<int>(TextLength(s.AddOnText)));
    if (IsAdjustedBookClass(v) && !line.empty())
        for (int i = 0; i < 200 && TextMetrics(bookFont, bs, 0, line).width < l.patternWidth; ++i) bs += 1;
    if (line.empty()) return;
    const FontMeasure bm = TextMetrics(bookFont, bs, 0, line);
    double base = l.symTop + 2 * l.X0 + bm.descent;
    BodyText t = MakeText(line, bookFont, bs, 0, l.total, base);
    MarkOutlined(l, t, true);
    l.texts.push_back(t);
    l.symTop = base - bm.descent + bm.height;
    if (!line2.empty()) {
        BodyText t2 = MakeText(line2, bookFont, bs, 0, l.total, base + 8.64);
        MarkOutlined(l, t2, true);
        l.texts.push_back(t2);
        l.symTop = base + 8.64 - bm.descent + bm.height;
    }
}

}  // namespace

void EanUpcLayout(EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view pattern = BarPattern;
    const EanUpcTextForm f = EanUpcTextFormOf(l, s, pattern);
    const BodyText lineText = EanUpcLine(l, s, f);
    const double lineWidth = LineWidth(lineText);
    PlaceEanUpcBars(l, s, f, lineWidth);
    SetEanUpcSeparator(l, s, f);

    l.digitFont = s.FontName4humanreadable;
    l.digitStyle = FontStyle(s.Bold, s.Italic);
    l.digitsOutlined = f.outlined;
    l.digitOcr = f.ocr;
    if (f.shown && (f.above || f.oneLine))
        PlaceEanUpcLine(l, s, pattern, f, lineText, lineWidth);
    else if (f.below)
        PlaceEanUpcDigits(l, s, f);
    for (const BodyChar& c : l.digits) l.glyphChars += c.c;
    if (f.outlined && !l.digits.empty()) (f.ocr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;

    if (IsBooklandEan13Class(l.variation)) PlaceBookNumberLines(l, s);
}

void PutDigits(EpsOutput& out, const EpsBodyLayout& l) {
    if (l.digits.empty()) return;
    if (l.digitsOutlined) {
        std::string line;
        line.reserve(l.digits.size() * 128);
        for (const BodyChar& c : l.digits) {
            std::string_view name = OcrGlyphName(l.digitOcr, c.c);
            if (!name.empty()) AppendGlyphCall(line, name, c.x, c.y, c.size / 10);
        }
        if (!line.empty()) out.PutLine(line);
        return;
    }
    const std::string ps = PostScriptFontName(l.digitFont, l.digitStyle);
    const std::string colour = ColourOperator(ColourSide::Bars, l.levelOne);
    double runSize = -1;
    for (const BodyChar& c : l.digits) {
        if (c.size != runSize) {
            PutFontLines(out, ps, c.size, c.x, c.y);
            runSize = c.size;
        } else {
            out.PutLine(SixPlaces(c.x) + ' ' + SixPlaces(c.y) + " m");
        }
        out.PutLine(colour);
        PutShow(out, std::string_view(&c.c, 1));
    }
}

}  // namespace vg
