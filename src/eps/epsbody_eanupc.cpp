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
    if (v == 134) size = addOnLength == 2 ? 7.5 : addOnLength == 5 ? 8.5 : 5.5;
    return size;
}

bool AdjustedBookVariation(int v) { return (v >= 105 && v <= 113) || OneOf(v, {141, 145, 146}); }

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

void EanUpcLayout(EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    const int v = l.variation;
    const int style = FontStyle(s.Bold, s.Italic);
    const std::string& font = s.FontName4humanreadable;
    const PatternWidths pw = MeasurePattern(l, BarPattern);
    l.patternWidth = pw.total;
    l.mainWidth = pw.main;

    bool differs = false;
    const std::string number = EanUpcNumber(v, differs);
    const FontMeasure fm = TextMetrics(font, s.Size, style, "0123456789");
    std::string plain = number;
    plain.erase(std::remove(plain.begin(), plain.end(), ' '), plain.end());
    const bool shown = !s.Hidden;
    const bool above = s.TextAbove != 0;
    const bool below = shown && !above;
    // A number wider than the main symbol is drawn as one line instead of the digit places.
    const bool oneLine = shown && EanUpcDoesNotFit(v, font, s.Size, style, l.X0);
    const bool narrow = fm.width <= 70 && !differs && AllDigits(plain) && !oneLine;
    // Guard bars reach below the data bars only over digits in their places.
    const bool guards = below && !oneLine;
    OcrFont ocr = OcrFont::B;
    const bool outlined = IsOcrFont(font, ocr);
    const bool second = pw.hasSecond && !s.HideAddonText;

    BodyText lineText;
    double lineWidth = 0;
    if (shown && (above || oneLine)) {
        // Every character advances by the widest character of the font.
        lineText = MakeText(EanUpcOneLine(v, oneLine), font, s.Size, style, 0, 0);
        MarkOutlined(l, lineText, true);
        if (!lineText.outlined) lineText.cellPitch = lineText.cellWidth = fm.maxWidth;
        lineWidth = static_cast<double>(lineText.text.size()) *
                    (lineText.outlined ? lineText.advance : lineText.cellPitch);
    }

    double lq = 9 * l.X0, rq = 9 * l.X0;
    // A line wider than the bars takes its room from the quiet zones.
    const double excess = lineWidth - l.patternWidth;
    if (excess > 0) {
        if (s.Align == 1) {
            lq += excess / 2;
            rq += excess / 2;
        } else if (s.Align == 2) {
            lq += excess;
        } else {
            rq += excess;
        }
    }
    l.total = l.x0 + lq;
    l.symLeft = l.x0;
    l.symRight = l.total + l.patternWidth + rq;
    const double bottom = below ? l.X0 + fm.height + s.DistanceToBars - (narrow ? kGuardPoints : 0) : l.X0;
    l.start = l.y0 + bottom;
    l.h = l.start + l.barHeight;
    l.dataStart = guards ? l.start + kGuardPoints : l.start;
    double top = l.h + l.X0;
    l.symBottom = l.y0;

    if (pw.hasSecond) {
        l.sepStart = l.start;
        l.sepTop = l.h;
        if (IsCouponClass(v)) {
            l.separator = "co";
            l.sepStart = l.dataStart;
        } else if (!s.AddonTextDown) {
            l.separator = "ta";
            if (!s.TextAbove && !s.Hidden && !oneLine) l.sepTop = l.start + l.barHeight - 0.5 - 7.0 - s.DistanceToBars;
        } else {
            l.separator = "at";
            l.sepStart = l.dataStart;
        }
    }

    // Digits.
    l.digitFont = font;
    l.digitStyle = style;
    l.digitsOutlined = outlined;
    l.digitOcr = ocr;
    const double M = kNominalModule;
    const double x1 = l.total, s0 = l.start, L = l.mainWidth;
    const double size = s.Size;
    auto put = [&](char c, double x, double y, double sz) {
        if (c && c != ' ') l.digits.push_back({c, x, y, sz});
    };
    if (shown && (above || oneLine)) {
        // Above: the line's foot a gap over the bars; below: its top a gap under them.
        const double base = above ? l.h + s.DistanceToBars + fm.descent : l.start - s.DistanceToBars - fm.ascent;
        // Aligned over the main symbol when the add-on's digits stand beside it.
        const double span = second && !oneLine ? L : l.patternWidth;
        double x = x1;
        if (s.Align == 1) x += (span - lineWidth) / 2;
        if (s.Align == 2) x += span - lineWidth;
        lineText.x = x;
        lineText.y = base;
        if (!lineText.text.empty()) l.texts.push_back(lineText);
        const bool mark = (IsEan13Class(v) || IsBooklandEan13Class(v) || IsUpcAClass(v)) &&
                          s.QuietZoneIndicators && !s.AddOnText[0];
        if (mark) {
            // At size 0.9, centred after the main symbol, level with the line's top.
            const double sz = size * 0.9;
            const FontMeasure small = TextMetrics(font, sz, style, ">");
            const double centre = x1 + L + 2 * l.X0 + 0.4 * TextMetrics(font, size, style, ">").width;
            put('>', centre - small.width / 2.0, base + fm.ascent - small.ascent, sz);
        }
        if (above && !oneLine && second) {
            // Over the add-on (or the coupon's second symbol), on the line's baseline.
            const std::string text = EanUpcSecondText(v);
            const std::vector<double> at = SecondPartCharOffsets(BarPattern, text.size(), s.CurRatio, v);
            const double first = x1 + L + l.addOnGap;
            for (std::size_t i = 0; i < at.size(); ++i) put(text[i], first + at[i] * l.X0, base, size);
            if (!IsCouponClass(v) && s.QuietZoneIndicators) put('>', x1 + l.patternWidth + 2 * l.X0, base, size);
        }
        if (above) top += s.DistanceToBars + fm.height;
    } else if (below) {
        double base = s0 - 1.8 + (narrow ? (9 - size) * 0.8 : (10 - 5.76 - size)) - s.DistanceToBars + 0.864;
        if (outlined) base -= 0.25;
        const double shift = narrow && size < 9 ? (9 - size) * 0.4 : 0;
        auto at = [&](std::size_t i) { return i >= 1 && i <= number.size() ? number[i - 1] : '\0'; };
        const std::size_t n = number.size();
        const double outY = s.CenterSysChk ? base + l.barHeight / 2 : base;
        if (IsUpcAClass(v) || IsUccEan128CouponClass(v) || IsUpcEClass(v)) {
            const std::size_t count = IsUpcEClass(v) ? 8 : 12;
            if (v == 73) {
                // The NDC mark: the digit 3 with the letter N above it, its top where
                // the outside characters stand on the device context.
                const double down = s.CenterSysChk
                                        ? l.barHeight / 2 - kGuardPoints / 2
                                        : l.barHeight + s.DistanceToBars + size * 0.1 - (narrow ? kGuardPoints : 0);
                for (const BodyChar& c : NdcMarkChars(font, style, size > 4 ? size - 2 : size, l.X0, x1, l.h - down))
                    put(c.c, c.x, c.y, c.size);
            } else {
                put(at(1), x1 - 7, outY, size - 2);
            }
            for (std::size_t i = 2; i < count; ++i) {
                double x;
                if (narrow && IsUpcEClass(v))
                    x = x1 + (7.0 * i - 10.25) * M + shift;
                else if (narrow)
                    x = x1 + (i < 7 ? 7.0 * i - 3.25 : 7.0 * i + 1.75) * M + shift;
                else
                    x = x1 + 5 + (i - 2.0) * (L - 5) / (count - 2.0);
                put(at(i), x, base, size);
            }
            put(at(count), x1 + L + 2, outY, size - 2);
        } else if (IsEan8Class(v)) {
            if (s.QuietZoneIndicators) put('<', x1 - 7, base, size);
            for (std::size_t i = 1; i <= 8; ++i) {
                double x = narrow ? x1 + (i < 5 ? 7.0 * (i + 1) - 10.25 : 7.0 * (i + 1) - 5.25) * M + shift
                                  : x1 + (i - 1.0) * L / 8.0;
                put(at(i), x, base, size);
            }
        } else {
            put(at(1), x1 - 7, base, size);
            const std::size_t count = std::max<std::size_t>(n, 13);
            for (std::size_t i = 2; i <= count; ++i) {
                double x = narrow ? x1 + (i < 8 ? 7.0 * i - 10.25 : 7.0 * i - 5.25) * M + shift
                                  : x1 + (i - 2.0) * (L - 5) / (count - 1.0);
                put(at(i), x, base, size);
            }
        }
        const std::string_view addOn = TextOf(s.AddOnText);
        const double g = l.addOnGap;
        if (!addOn.empty() && !s.HideAddonText && !IsCouponClass(v)) {
            const double ab = s.AddonTextDown ? base : s0 + l.barHeight - 7.0;
            for (std::size_t j = 1; j <= addOn.size(); ++j)
                put(addOn[j - 1], x1 + L + g + 4.3 + (j - 1.0) * 8.7 * M, ab, size);
            if (s.QuietZoneIndicators)
                put('>', x1 + L + g + 4.3 + static_cast<double>(addOn.size()) * 8.7 * M - 2, ab, size);
        } else if (addOn.empty() && s.QuietZoneIndicators && (IsEan13Class(v) || IsEan8Class(v))) {
            put('>', x1 + L + 1, base, size);
        }
        if (IsCouponClass(v) && second) {
            // The coupon's second part is read under its own bars.
            BodyText t = MakeText(EanUpcSecondText(v), font, size, style, x1 + L + g, base);
            MarkOutlined(l, t, true);
            if (!t.text.empty()) l.texts.push_back(t);
        }
    }
    for (const BodyChar& c : l.digits) l.glyphChars += c.c;
    if (outlined && !l.digits.empty()) (ocr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;

    // Standard-number line above the symbol.
    if (IsBooklandEan13Class(v)) {
        std::string line, line2;
        BookLines(line, line2);
        const std::string& bookFont = s.FontName4ISBN_ISSN_SPCNs;
        double bs = BookLineSize(v, bookFont, static_cast<int>(TextLength(s.AddOnText)));
        if (AdjustedBookVariation(v) && !line.empty())
            for (int i = 0; i < 200 && TextMetrics(bookFont, bs, 0, line).width < l.patternWidth; ++i) bs += 1;
        if (!line.empty()) {
            const FontMeasure bm = TextMetrics(bookFont, bs, 0, line);
            double base = top + 2 * l.X0 + bm.descent;
            BodyText t = MakeText(line, bookFont, bs, 0, l.total, base);
            MarkOutlined(l, t, true);
            l.texts.push_back(t);
            top = base - bm.descent + bm.height;
            if (!line2.empty()) {
                BodyText t2 = MakeText(line2, bookFont, bs, 0, l.total, base + 8.64);
                MarkOutlined(l, t2, true);
                l.texts.push_back(t2);
                top = base + 8.64 - bm.descent + bm.height;
            }
        }
    }
    l.symTop = top;
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
