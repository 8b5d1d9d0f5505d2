#include "eps/epsbody.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>

#include "model/catalogue.h"
#include "eps/epseantext.h"
#include "eps/psstring.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "device/fontservice.h"
#include "device/recordingdc.h"
#include "symbology/eanupc.h"
#include "render/drawingframe.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

constexpr double kNominalModule = 0.936;  // EAN/UPC digit positions
constexpr double kGuardPoints = 5.76;     // guard bars below the data bars
constexpr double kCropMargin = 12;        // page points on every side
constexpr double kSpecFontSize = 9;       // specification block: Arial 9
constexpr double kSpecLineStep = 11;      //   lines 11 points apart
constexpr int kSpecMargin = 3;

std::string SixPlaces(double v) { return FixedText(v == 0 ? 0.0 : v, 6); }
std::string FourPlaces(double v) { return FixedText(v == 0 ? 0.0 : v, 4); }
double Negated(double v) { return v == 0 ? 0.0 : -v; }


bool IsOcrFont(std::string_view font, OcrFont& which) {
    if (font == kOcrBFontName) {
        which = OcrFont::B;
        return true;
    }
    if (font == kOcrAFontName) {
        which = OcrFont::A;
        return true;
    }
    return false;
}

// Variations whose human-readable text may be drawn with OCR outlines.
bool OutlineClass(int v) {
    return IsUpcEanClass(v) || IsBearerFrameClass(v) || IsBooklandTextClass(v);
}

bool TextOnly(int v) { return IsBooklandTextClass(v); }

// The specification block's lines broken to fit the page width (Arial 9):
// at blanks where one falls inside, else between characters.
std::vector<std::string> WrappedSpecLines(const SettingsRecord& s, int pageWidth) {
    std::vector<std::string> wrapped;
    const int room = std::max(pageWidth - 2 * kSpecMargin, 20);
    auto width = [](std::string_view t) { return TextMetrics("Arial", kSpecFontSize, 0, t).width; };
    for (const SpecLine& line : SpecBlockLines(s)) {
        std::string_view rest = line.ansi;
        while (width(rest) > room && rest.size() > 1) {
            std::size_t fit = 1;
            while (fit < rest.size() && width(rest.substr(0, fit + 1)) <= room) ++fit;
            const std::size_t blank = rest.substr(0, fit + 1).rfind(' ');
            const std::size_t cut = blank != std::string_view::npos && blank > 0 ? blank : fit;
            wrapped.emplace_back(rest.substr(0, cut));
            rest.remove_prefix(cut);
            while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        }
        if (!rest.empty() || line.ansi.empty()) wrapped.emplace_back(rest);
    }
    return wrapped;
}

// Advance of one pattern element in body units; 0 for markers and unknown pairs.
double ElementAdvance(const EpsBodyLayout& l, char letter, char digit) {
    if (letter == '+' && digit == '+') return l.addOnGap;
    if (digit < '1' || digit > '9') return 0;
    const int d = digit - '0';
    double w = d == 2 ? l.elementWidth[2] : d * l.X0;
    const bool bar = letter == 'B' || letter == 'A' || letter == 'C';
    const bool space = letter == 'S' || letter == 'R' || letter == 'T';
    if (!bar && !space) return 0;
    if (l.pharmacode && letter == 'S' && d == 2) w = IsPharmacodeStandardClass(l.variation) ? 2 * l.X0 : 4 * l.X0;
    if (letter == 'A' || letter == 'R') w -= l.X13;
    if (letter == 'C' || letter == 'T') w += l.X13;
    return w;
}

struct PatternWidths {
    double total = 0;
    double main = 0;  // before the first "++"
    bool hasSecond = false;
};

PatternWidths MeasurePattern(const EpsBodyLayout& l, std::string_view p) {
    PatternWidths r;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        if (p[i] == '+' && p[i + 1] == '+' && !r.hasSecond) {
            r.hasSecond = true;
            r.main = r.total;
        }
        r.total += ElementAdvance(l, p[i], p[i + 1]);
    }
    if (!r.hasSecond) r.main = r.total;
    return r;
}

// Grows a box by the box of a text at (x, y) turned by angle degrees
// counter-clockwise around that point.
void GrowByTextBox(double x, double y, int angle, double width, double ascent, double descent, double& minX,
                   double& minY, double& maxX, double& maxY) {
    const double pts[4][2] = {{0, -descent}, {width, -descent}, {width, ascent}, {0, ascent}};
    for (const auto& p : pts) {
        double u = p[0], v = p[1], px = u, py = v;
        if (angle == 90) {
            px = -v;
            py = u;
        } else if (angle == 180) {
            px = -u;
            py = -v;
        } else if (angle == 270) {
            px = v;
            py = -u;
        }
        minX = std::min(minX, x + px);
        maxX = std::max(maxX, x + px);
        minY = std::min(minY, y + py);
        maxY = std::max(maxY, y + py);
    }
}

void Shift(EpsBodyLayout& l, double dx, double dy) {
    l.x0 += dx;
    l.y0 += dy;
    l.total += dx;
    l.vanticTotal += dx;
    l.symLeft += dx;
    l.symRight += dx;
    l.start += dy;
    l.h += dy;
    l.dataStart += dy;
    l.sepStart += dy;
    l.sepTop += dy;
    l.symBottom += dy;
    l.symTop += dy;
    for (BodyText& t : l.texts) {
        t.x += dx;
        t.y += dy;
    }
    for (BodyChar& c : l.digits) {
        c.x += dx;
        c.y += dy;
    }
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

BodyText MakeText(const std::string& text, const std::string& font, double size, int style, double x, double y) {
    BodyText t;
    t.text = text;
    t.font = font;
    t.size = size;
    t.style = style;
    t.x = x;
    t.y = y;
    return t;
}

void MarkOutlined(EpsBodyLayout& l, BodyText& t, bool allowed) {
    OcrFont ocr;
    if (!allowed || !IsOcrFont(t.font, ocr)) return;
    t.outlined = true;
    t.ocr = ocr;
    t.advance = TextMetrics(t.font, t.size, t.style).maxWidth;
    (ocr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;
    l.glyphChars += t.text;
}

// Standard-number lines of the current variation (the second only for 134).
void BookLines(std::string& line1, std::string& line2) {
    RecordingDC dc(72, 72);
    CBooklandSymbol symbol(dc, ClipRect{}, 1, 0, nullptr);
    symbol.BuildStandardNumberLine();
    line1 = symbol.m_numberLine;
    line2 = symbol.m_numberLine2;
}

// Generic, ITF and Vantic128 layout: bars, quiet zones and the text band.
void LinearLayout(EpsBodyLayout& l, std::string_view hrText) {
    const SettingsRecord& s = SymbolSettings;
    const int v = l.variation;
    const int style = FontStyle(s.Bold, s.Italic);
    std::string hr(hrText);
    if (l.family == kFamilyCode39) hr = Code39FileText(v, hr);
    // The framed variations place their own texts against the frame.
    if (l.bearerBox) hr.clear();
    const bool shown = !s.Hidden && !hr.empty();
    const FontMeasure fm = TextMetrics(s.FontName4humanreadable, s.Size, style, hr);
    const bool embedded = IsVantic128EmbeddedClass(v);
    const PatternWidths pw = MeasurePattern(l, BarPattern);
    l.patternWidth = pw.total;
    l.mainWidth = pw.main;
    if (pw.hasSecond && l.bearerBox) l.separator = "i4";

    double lq = LeftQuietZone(l.family, v), rq = RightQuietZone(l.family, v);
    double skew = 0, lead = 0;
    if (l.vantic) {
        lq = rq = s.CurBarXDimension * 10 / l.m;
        skew = l.barHeight * 0.414214;
        const EmbeddingFactors& e = CurrentEmbeddingFactors;
        lead = s.BarHeight * (e.p * 384 / 301 + e.q) / l.m;
    }
    const double tw = shown ? fm.width : 0;
    if (tw > l.patternWidth && !embedded) {
        // Vantic128 centred puts the excess on the right.
        SpreadExcess(tw - l.patternWidth, s.Align == 1 && l.vantic ? 0 : s.Align, lq, rq);
    }
    const double box = l.bearerBox ? l.bearerThickness : 0;
    l.total = l.x0 + box + lq + lead + skew;
    l.vanticTotal = l.total - skew;
    l.symLeft = l.x0;
    l.symRight = l.total + l.patternWidth + rq + box;

    const bool above = s.TextAbove != 0;
    double y = l.y0 + 2;
    double baseline = 0;
    if (shown && !above && !embedded) {
        baseline = y + fm.descent;
        y += fm.height + s.DistanceToBars;
    }
    l.start = y + box;
    l.h = l.start + l.barHeight + (l.bearerBox && l.bearerThickness > 0 ? l.bearerThickness * 0.25 : 0);
    double top = l.start + l.barHeight + box;
    if (shown && above && !embedded) {
        baseline = top + s.DistanceToBars + fm.descent;
        top += s.DistanceToBars + fm.height;
    }
    if (embedded) baseline = l.start + fm.descent + 1;
    l.symBottom = l.y0;
    l.symTop = top + 2;
    l.dataStart = l.start;
    l.sepStart = l.start;
    l.sepTop = l.h;

    if (shown && IsVantic128BesideClass(v)) {
        // Beside the symbol, 2 points to the right of it.
        const double y = VanticSideBaseline(l, fm, s.Size);
        l.texts.push_back(MakeText(hr, s.FontName4humanreadable, s.Size, style, l.symRight + 2, y));
    } else if (shown) {
        double x = l.total;
        if (s.Align == 1)
            x += (l.patternWidth - tw) / 2;
        else if (s.Align == 2)
            x += l.patternWidth - tw;
        BodyText t = MakeText(hr, s.FontName4humanreadable, s.Size, style, x, baseline);
        MarkOutlined(l, t, OutlineClass(v));
        l.texts.push_back(t);
    }
    if (l.bearerBox)
        for (FrameText& f : ItfFrameTexts(l.symLeft, l.start + l.barHeight + l.bearerThickness, l.m)) {
            BodyText& t = f.text;
            MarkOutlined(l, t, OutlineClass(v));
            // PostScript sizes the font by its em, the drawing by its cell: keep
            // the drawing's alignment under the bars with the width written here.
            const double n = static_cast<double>(t.text.size());
            const double width = t.outlined ? n * t.advance : TextMetrics(t.font, t.size, t.style, t.text).width;
            t.x = RealignedStart(t.x, f.drawnWidth, width, s.Align);
            l.texts.push_back(t);
        }
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
    if (lineWidth > l.patternWidth) SpreadExcess(lineWidth - l.patternWidth, s.Align, lq, rq);
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
            if (IsUpcANdcClass(v)) {
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
        if (IsAdjustedBookClass(v) && !line.empty())
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

// The additional text, or the human-readable number when it stands for it.
std::string AdditionalTextOf(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (!s.UseHumanReadablesAsText) return s.AdditionalText;
    std::string text;
    char check = static_cast<char>(s.CheckCharacter1);
    if (IsCouponClass(v)) {
        text = std::string(TextOf(s.CouponFormatUPCpartText));
    } else if (IsItf14PairClass(v) && !s.MainText[0]) {
        text = std::string(TextOf(s.AddOnText));
        check = static_cast<char>(s.CheckCharacter2);
    } else {
        text = std::string(TextOf(s.OriginalMainText));
        if (s.Family == kFamilyCode93) check = 0;
    }
    if (check) text += check;
    return text;
}

void AdditionalTextLayout(EpsBodyLayout& l, double& minX, double& minY, double& maxX, double& maxY) {
    const SettingsRecord& s = SymbolSettings;
    if (s.AdditionalText.empty()) return;
    const int style = FontStyle(s.BoldAT, s.ItalicAT);
    const std::string text = AdditionalTextOf(l.variation);
    if (text.empty()) return;
    const FontMeasure fm = TextMetrics(s.FontName4AdditionalText, s.SizeAT, style, text);
    const int r = s.Rotation4AdditionalText;
    const int angle = (r == 90 || r == 180 || r == 270) ? 360 - r : 0;
    const double bars = l.patternWidth;
    double x = l.total;
    BodyText t = MakeText(text, s.FontName4AdditionalText, s.SizeAT, style, x, 0);
    switch (s.AlignAT) {
    case 1: x += (bars - fm.width) / 2; break;
    case 2: x += bars - fm.width; break;
    case 3:
        if (!text.empty()) {
            t.cellPitch = bars / static_cast<double>(text.size());
            t.cellWidth = TextMetrics(s.FontName4AdditionalText, s.SizeAT, style, "0").width;
        }
        break;
    case 4: x = l.symLeft + std::trunc(s.H); break;
    default: break;
    }
    t.x = x;
    t.y = l.symTop - std::trunc(s.V) + fm.descent;
    t.angle = angle;
    l.texts.push_back(t);
    l.additionalText = true;
    const double width = t.cellPitch > 0 ? bars : fm.width;
    GrowByTextBox(t.x, t.y, angle, width, fm.ascent, fm.descent, minX, minY, maxX, maxY);
}

// Whole points of a layout length, kept within what a page can hold.
double WholePoints(double v) {
    if (!std::isfinite(v) || v <= 0) return 0;
    return std::min(std::ceil(v - 1e-6), 1e6);
}

}  // namespace

FontMeasure TextMetrics(std::string_view font, double size, int style, std::string_view text) {
    FontMeasure r;
    if (!(size > 0) || size > 10000) return r;
    const int weight = (style == 1 || style == 3) ? 700 : 400;
    const bool italic = style == 2 || style == 3;
    FontService& fonts = FontService::Instance();
    const FontFace* face = fonts.Resolve(font, weight, italic);
    if (!face) face = fonts.Resolve("Arial", weight, italic);
    if (!face) return r;
    // Measured at 1000 units per point, rounded to whole points.
    const int em = -static_cast<int>(std::lround(size * 1000));
    const FontMetrics m = face->Metrics(em);
    auto points = [](long long units) { return static_cast<int>(std::lround(units / 1000.0)); };
    r.ascent = points(m.ascent);
    r.descent = points(m.descent);
    r.height = r.ascent + r.descent;
    r.maxWidth = points(m.maxCharWidth);
    r.width = points(face->Extent(text, em).cx);
    return r;
}

EpsBodyLayout ComputeEpsLayout(std::string_view hrText, bool levelOne) {
    const SettingsRecord& s = SymbolSettings;
    EpsBodyLayout l;
    l.levelOne = levelOne;
    l.family = s.Family;
    l.variation = s.Variation;
    const int v = l.variation;
    l.m = s.Family == kFamilyFim ? 1.0 : s.Magnification / 100.0;
    if (!(l.m > 0) || !std::isfinite(l.m)) l.m = 1.0;
    l.X0 = DefaultXDimension(s.Family, v);
    l.X13 = l.X0 / 13;
    l.barHeight = s.BarHeight / l.m;
    l.bearerPoints = s.BearerBar < 0.45 ? 0 : s.BearerBar < 1 ? 1 : s.BearerBar;
    l.bearerThickness = l.bearerPoints / l.m;
    const double bwr = BwrInPoints(s);
    l.barWidthReduction = std::isfinite(bwr) ? bwr / l.m : 0;
    l.elementWidth[1] = l.X0;
    l.elementWidth[2] = l.X0 * s.CurRatio;
    l.elementWidth[3] = 3 * l.X0;
    l.elementWidth[4] = 4 * l.X0;
    for (int i = 1; i <= 4; ++i) l.barWidth[i] = l.elementWidth[i] - l.barWidthReduction;
    l.eanUpc = IsUpcEanClass(v) && !TextOnly(v);
    l.vantic = IsVantic128Class(v);
    l.pharmacode = IsPharmacodeClass(v);
    l.bearerBox = IsBearerFrameClass(v);
    if (l.pharmacode) l.barWidth[2] = l.elementWidth[2];
    l.widths = (l.eanUpc || OneOf(s.Family, {kFamilyCode128, kFamilyCode93, kFamilyUccEan128})) ? 4 : 2;
    l.transparent = s.TransparentBackground != 0;
    l.registrationBar = s.CMYKcyanBarsText == 99 && s.CMYKmagentaBarsText == 99 && s.CMYKyellowBarsText == 99 &&
                        s.CMYKblackBarsText == 100;
    l.addOnGap = AddOnGap(s.Family, v);

    const double crop = s.bCropMarks ? kCropMargin / l.m : 0;
    l.x0 = l.y0 = crop;
    if (TextOnly(v))
        TextOnlyLayout(l);
    else if (s.Family == kFamilyPostnet)
        PostnetLayout(l);
    else if (s.Family == kFamilyFim)
        FimLayout(l);
    else if (l.eanUpc)
        EanUpcLayout(l);
    else
        LinearLayout(l, hrText);
    // The glyph procedures are defined whenever the text would be outlined, shown or not.
    OcrFont hrOcr, bookOcr;
    l.humanReadableOutlined = OutlineClass(v) && IsOcrFont(s.FontName4humanreadable, hrOcr);
    l.bookNumberOutlined = IsBooklandEan13Class(v) && IsOcrFont(s.FontName4ISBN_ISSN_SPCNs, bookOcr);
    if (l.humanReadableOutlined) {
        (hrOcr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;
        l.glyphChars += TextOf(s.OriginalMainText);
    }
    if (l.bookNumberOutlined) (bookOcr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;

    // Bearer bars: the box classes carry them inside their layout, the others around the symbol.
    if (l.bearerThickness > 0 && l.bearerBox) {
        l.bearerLeft = l.symLeft;
        l.bearerRight = l.symRight;
        l.bearerBottom = l.start - l.bearerThickness;
        l.bearerTop = l.start + l.barHeight + l.bearerThickness;
    } else if (l.bearerThickness > 0) {
        Shift(l, l.bearerThickness, l.bearerThickness);
        l.x0 -= l.bearerThickness;
        l.y0 -= l.bearerThickness;
        l.bearerLeft = l.symLeft - l.bearerThickness;
        l.bearerBottom = l.symBottom - l.bearerThickness;
        l.bearerRight = l.symRight + l.bearerThickness;
        l.bearerTop = l.symTop + l.bearerThickness;
    }

    // Verification mark room above and to the right of the symbol.
    const bool marked = s.Prufmark != 0 && !TextOnly(v) && s.Family != kFamilyPostnet && s.Family != kFamilyFim;
    if (marked) {
        l.prufRoomX = s.Prufmark == 1 ? 2 : 12;
        l.prufRoomY = s.Prufmark == 3 ? 12 : 8;
    }
    const double outer = l.bearerBox ? 0 : l.bearerThickness;
    double minX = l.symLeft - outer, minY = l.symBottom - outer;
    double maxX = l.symRight + outer + l.prufRoomX / l.m, maxY = l.symTop + outer + l.prufRoomY / l.m;
    // Texts wider than the bars widen the group.
    for (const BodyText& t : l.texts) {
        const FontMeasure fm = TextMetrics(t.font, t.size, t.style, t.text);
        const double n = static_cast<double>(t.text.size());
        const double width = t.outlined ? n * t.advance : t.cellPitch > 0 ? n * t.cellPitch : fm.width;
        GrowByTextBox(t.x, t.y, 0, width, fm.ascent, fm.descent, minX, minY, maxX, maxY);
    }
    FontMeasure fm;
    double measured = -1;  // the size fm is for: the digits share a few sizes
    for (const BodyChar& c : l.digits) {
        if (c.size != measured) {
            fm = TextMetrics(l.digitFont, c.size, l.digitStyle);
            measured = c.size;
        }
        GrowByTextBox(c.x, c.y, 0, fm.maxWidth, fm.ascent, fm.descent, minX, minY, maxX, maxY);
    }
    AdditionalTextLayout(l, minX, minY, maxX, maxY);
    const double dx = minX < crop ? crop - minX : 0;
    const double dy = minY < crop ? crop - minY : 0;
    if (dx || dy) {
        Shift(l, dx, dy);
        l.bearerLeft += dx;
        l.bearerRight += dx;
        l.bearerBottom += dy;
        l.bearerTop += dy;
    }
    l.groupWidth = (maxX + dx) + crop;
    l.groupHeight = (maxY + dy) + crop;

    EpsLayout& page = l.page;
    page.groupWidth = WholePoints(l.groupWidth * l.m);
    page.groupHeight = WholePoints(l.groupHeight * l.m);
    const bool turned = s.Rotation == 90 || s.Rotation == 270;
    page.pageWidth = static_cast<int>(turned ? page.groupHeight : page.groupWidth);
    page.pageHeight = static_cast<int>(turned ? page.groupWidth : page.groupHeight);
    if (AnySpecBlockSwitch(s)) {
        page.pageWidth = std::max(page.pageWidth, 108);
        l.specLines = WrappedSpecLines(s, page.pageWidth);
    }
    if (!l.specLines.empty()) {
        page.specBlockHeight = kSpecLineStep * static_cast<double>(l.specLines.size()) + 3;
        page.pageHeight += static_cast<int>(page.specBlockHeight);
    }
    return l;
}

// ---- Procedures ----

namespace {

std::string Painter(const char* name, const char* width, bool vantic) {
    std::string p = std::string("/") + name + " {newpath total start m total " + width + " add start l ";
    if (vantic)
        p += std::string("vantictotal ") + width + " add h l vantictotal h l total start l closepath";
    else
        p += std::string("total ") + width + " add h l total h l total start l closepath";
    return p;
}

void PutPainter(EpsOutput& out, const char* name, const char* width, bool vantic, ColourSide side, bool levelOne) {
    out.PutLine(Painter(name, width, vantic));
    out.PutLine(ColourOperator(side, levelOne) + " fill}bdef");
}

// The procedures every glyph block of a set (OCR-B, OCR-A, notice) starts
// with, built when the set is first used.
const std::string& FixedGlyphProcedures(int set) {
    static std::array<std::string, 3> sets;
    static std::array<std::once_flag, 3> built;
    std::call_once(built[set], [set] {
        constexpr std::string_view kChars[3] = {"^->:<()SMNPRXIBN978-:", "ISBMNCPRX-:", "ADEGINPSTXY"};
        for (char c : kChars[set])
            sets[set] += set == 2 ? NoticeGlyphProcedure(c) : OcrGlyphProcedure(set == 0 ? OcrFont::B : OcrFont::A, c);
    });
    return sets[set];
}

// The procedure of one digit or letter A to J of a font, made once; a font's
// set is made when the font is first used.
const std::string& CharGlyphProcedure(OcrFont font, char c) {
    static std::array<std::array<std::string, 20>, 2> sets;
    static std::array<std::once_flag, 2> made;
    const int f = font == OcrFont::A ? 1 : 0;
    std::call_once(made[f], [font, f] {
        for (int i = 0; i < 20; ++i)
            sets[f][i] = OcrGlyphProcedure(font, static_cast<char>(i < 10 ? '0' + i : 'A' + i - 10));
    });
    const int i = IsDigit(c) ? c - '0' : c - 'A' + 10;
    return sets[f][i];
}

void PutCharGlyphProcedure(EpsOutput& out, OcrFont font, char c) {
    if (IsDigit(c) || (c >= 'A' && c <= 'J'))
        out.Put(CharGlyphProcedure(font, c));
    else
        out.Put(OcrGlyphProcedure(font, c));
}

// The glyph procedures of a set of glyphs, put one by one: a series asks for
// ever new orders of the same few glyphs, so no block is kept.
void PutGlyphProcedureBlock(EpsOutput& out, bool ocrB, bool ocrA, bool notice, std::string_view bChars,
                            std::string_view aChars) {
    out.Put("/pre {-9 -709 translate newpath}bdef\r\n"
            "/dra {closepath 0 setlinewidth fill 9 709 translate}bdef\r\n");
    if (ocrB) {
        out.Put(FixedGlyphProcedures(0));
        for (char c : bChars) PutCharGlyphProcedure(out, OcrFont::B, c);
    }
    if (ocrA) {
        out.Put(FixedGlyphProcedures(1));
        for (char c : aChars) PutCharGlyphProcedure(out, OcrFont::A, c);
    }
    if (notice) out.Put(FixedGlyphProcedures(2));
}

void WriteGlyphProcedures(EpsOutput& out, const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    const bool notice = s.Prufmark != 0;
    if (!l.ocrBGlyphs && !l.ocrAGlyphs && !notice) return;
    auto distinct = [&](auto keep) {
        std::string chars;
        for (char c : l.glyphChars)
            if (keep(c) && chars.find(c) == std::string::npos) chars += c;
        return chars;
    };
    const std::string bChars =
        l.ocrBGlyphs ? distinct([](char ch) { return IsDigit(ch) || (ch >= 'A' && ch <= 'J'); }) : std::string();
    const std::string aChars = l.ocrAGlyphs ? distinct([](char ch) { return IsDigit(ch); }) : std::string();

    PutGlyphProcedureBlock(out, l.ocrBGlyphs, l.ocrAGlyphs, notice, bChars, aChars);
}

void WriteBarProcedures(EpsOutput& out, const EpsBodyLayout& l) {
    const bool bars = !TextOnly(l.variation) && l.family != kFamilyPostnet && l.family != kFamilyFim;
    const bool lv1 = l.levelOne;
    out.PutLine("/total " + SixPlaces(l.total) + " def");
    if (l.vantic) out.PutLine("/vantictotal " + SixPlaces(l.vanticTotal) + " def");
    out.PutLine("/start " + SixPlaces(l.start) + " def");
    out.PutLine("/h " + SixPlaces(l.h) + " def");
    if (l.eanUpc) {
        out.PutLine("/LL {/start " + SixPlaces(l.start) + " def/h " + SixPlaces(l.h) + " def}bdef");
        out.PutLine("/ss {/start " + SixPlaces(l.dataStart) + " def/h " + SixPlaces(l.h) + " def}bdef");
    }
    if (!l.separator.empty())
        out.PutLine("/" + l.separator + " {/start " + SixPlaces(l.sepStart) + " def/h " + SixPlaces(l.sepTop) +
                    " def/total total " + SixPlaces(l.addOnGap) + " add def}bdef");
    if (bars) {
        out.PutLine("/bw " + SixPlaces(l.barWidth[1]) + " def");
        out.PutLine("/sw " + SixPlaces(l.elementWidth[1]) + " def");
        PutPainter(out, "db", "bw", l.vantic, ColourSide::Bars, lv1);
        if (!l.transparent) PutPainter(out, "ds", "sw", l.vantic, ColourSide::Spaces, lv1);
        if (l.registrationBar) {
            out.PutLine("/godown " + SixPlaces(l.start - 3 * l.barWidth[1]) + " def");
            out.PutLine("/gb {newpath total start m total bw add start l total bw add godown l total godown l "
                        "total start l closepath");
            out.PutLine(ColourOperator(ColourSide::Bars, lv1) + " fill}bdef");
            out.PutLine("/G1 {/bw " + SixPlaces(l.barWidth[1]) +
                        " def gb/total total 0 add def total start m/total total 0 add def}bdef");
        }
        for (int i = 1; i <= l.widths; ++i) {
            // A wide Pharmacode bar keeps its full width.
            const double after = l.pharmacode && i == 2 ? 0.0 : l.barWidthReduction;
            std::string line = "/B" + IntText(i) + " {/bw " + SixPlaces(l.barWidth[i]) + " def db/total total " +
                               SixPlaces(l.barWidth[i]) + " add def total start m/total total " + SixPlaces(after);
            if (l.vantic)
                line += " add def/vantictotal vantictotal " + SixPlaces(l.barWidth[i]) +
                        " add def/vantictotal vantictotal " + SixPlaces(after);
            out.PutLine(line + " add def}bdef");
        }
        for (int i = 1; i <= l.widths; ++i) {
            double w = l.elementWidth[i];
            if (l.pharmacode && i == 2) w = IsPharmacodeStandardClass(l.variation) ? 2 * l.X0 : 4 * l.X0;
            const std::string head = "/S" + IntText(i) + " {" + SixPlaces(w) + " w/total total " + SixPlaces(w);
            if (!l.vantic) {
                out.PutLine(head + "  add def total start m }bdef");
                continue;
            }
            switch (i) {
            case 1:
                out.PutLine(head + " add def total start m");
                out.PutLine(" /vantictotal vantictotal " + SixPlaces(w) + " add def}bdef");
                break;
            case 2:
                out.PutLine(head + "  add def total start m");
                out.PutLine("/vantictotal vantictotal " + SixPlaces(w) + " add def}bdef");
                break;
            case 3:
                out.PutLine(head + "  add def total start m ");
                out.PutLine("/vantictotal vantictotal " + SixPlaces(w) + "  add def}bdef");
                break;
            default:
                out.PutLine(head + "  add def total start m");
                out.PutLine("/vantictotal vantictotal " + SixPlaces(w) + "  add def}bdef");
                break;
            }
        }
    }
    if (l.eanUpc) {
        out.PutLine("/aw " + SixPlaces(l.barWidth[1] - l.X13) + " def");
        out.PutLine("/rw " + SixPlaces(l.elementWidth[1] - l.X13) + " def");
        PutPainter(out, "da", "aw", false, ColourSide::Bars, lv1);
        if (!l.transparent) PutPainter(out, "dr", "rw", false, ColourSide::Spaces, lv1);
        for (int i = 1; i <= 3; ++i) {
            const std::string a = SixPlaces(l.barWidth[i] - l.X13);
            out.PutLine("/A" + IntText(i) + " {/aw " + a + " def da/total total " + a +
                        " add def total start m/total total " + SixPlaces(l.barWidthReduction) + " add def}bdef");
        }
        for (int i = 1; i <= 3; ++i) {
            const std::string r = SixPlaces(l.elementWidth[i] - l.X13);
            out.PutLine("/R" + IntText(i) + " {" + r + " w/total total " + r + "  add def total start m }bdef");
        }
        out.PutLine("/cw " + SixPlaces(l.barWidth[1] + l.X13) + " def");
        out.PutLine("/tw " + SixPlaces(l.elementWidth[1] + l.X13) + " def");
        PutPainter(out, "dc", "cw", false, ColourSide::Bars, lv1);
        if (!l.transparent) PutPainter(out, "dt", "tw", false, ColourSide::Spaces, lv1);
        for (int i = 1; i <= 3; ++i) {
            const std::string c = SixPlaces(l.barWidth[i] + l.X13);
            out.PutLine("/C" + IntText(i) + " {/cw " + c + " def dc/total total " + c +
                        " add def total start m/total total " + SixPlaces(l.barWidthReduction) + " add def}bdef");
        }
        for (int i = 1; i <= 3; ++i) {
            const std::string t = SixPlaces(l.elementWidth[i] + l.X13);
            out.PutLine("/T" + IntText(i) + " {" + t + " w/total total " + t + "  add def total start m }bdef");
        }
    }
}

template <class T>
void AppendRaw(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Everything the bar procedures are made of: the layout's numbers and switches
// they read and the colours their painters fill with.
std::string BarProcedureKey(const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    std::string key;
    key.reserve(256);
    for (double v : {l.total, l.vanticTotal, l.start, l.h, l.dataStart, l.sepStart, l.sepTop, l.addOnGap, l.X0,
                     l.X13, l.barWidthReduction})
        AppendRaw(key, v);
    for (double v : l.barWidth) AppendRaw(key, v);
    for (double v : l.elementWidth) AppendRaw(key, v);
    for (int v : {l.family, l.variation, l.widths, int(l.eanUpc), int(l.vantic), int(l.pharmacode),
                  int(l.transparent), int(l.registrationBar), int(l.levelOne), s.ProcessRadio})
        AppendRaw(key, v);
    for (int v : {s.CMYKcyanBarsText, s.CMYKmagentaBarsText, s.CMYKyellowBarsText, s.CMYKblackBarsText,
                  s.CMYKcyanSpacesQuietZone, s.CMYKmagentaSpacesQuietZone, s.CMYKyellowSpacesQuietZone,
                  s.CMYKblackSpacesQuietZone})
        AppendRaw(key, v);
    for (const std::string* text : {&l.separator, &s.BarsTextColorName, &s.SpacesQuietZoneColorName}) {
        AppendRaw(key, text->size());
        key += *text;
    }
    return key;
}

}  // namespace

void WriteSymbolProcedures(EpsOutput& out, const EpsBodyLayout& l) {
    // The files of a series share their procedures: the text of the last
    // layout is kept and put again while nothing it is made of changes.
    static std::mutex mutex;
    static std::string lastKey, lastText;
    std::string key = BarProcedureKey(l);
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (key != lastKey) {
            std::string text;
            EpsOutput capture;
            capture.SetCapture(&text);
            WriteBarProcedures(capture, l);
            lastKey = std::move(key);
            lastText = std::move(text);
        }
        out.Put(lastText);
    }
    WriteGlyphProcedures(out, l);
}

// ---- Body ----

namespace {

// (x, y) in the frame turned by angle degrees counter-clockwise.
void ToTurnedFrame(int angle, double& x, double& y) {
    const double ox = x, oy = y;
    if (angle == 90) {
        x = oy;
        y = -ox;
    } else if (angle == 180) {
        x = -ox;
        y = -oy;
    } else if (angle == 270) {
        x = -oy;
        y = ox;
    }
}

void AppendSixPlaces(std::string& out, double v) { AppendFixed(out, v == 0 ? 0.0 : v, 6); }

// The texts around a glyph's name in a call: the move and scale before it and
// their inverses after it.
struct GlyphCallFrame {
    bool made = false;
    uint64_t key[3] = {};
    std::string before, after;
};

void BuildGlyphCallFrame(GlyphCallFrame& f, double x, double y, double scale) {
    const bool moved = x != 0 || y != 0;
    const bool scaled = scale != 1;
    auto pair = [](std::string& r, double a, double b, const char* op) {
        AppendSixPlaces(r, a);
        r += ' ';
        AppendSixPlaces(r, b);
        r += op;
    };
    f.before.clear();
    f.after.clear();
    if (moved) pair(f.before, x, y, " translate ");
    if (scaled) pair(f.before, scale, scale, " scale ");
    f.after += ' ';
    if (scaled) pair(f.after, 1 / scale, 1 / scale, " scale ");
    if (moved) pair(f.after, Negated(x), Negated(y), " translate ");
}

void AppendGlyphCall(std::string& r, std::string_view name, double x, double y, double scale) {
    // The files of a series put their glyphs at the same few places: the
    // frames are kept by the exact bits of their numbers. Made on first use, so
    // that no thread carries them in its static storage.
    static thread_local std::unique_ptr<std::array<GlyphCallFrame, 64>> kept;
    if (!kept) kept = std::make_unique<std::array<GlyphCallFrame, 64>>();
    std::array<GlyphCallFrame, 64>& frames = *kept;
    uint64_t key[3];
    std::memcpy(&key[0], &x, 8);
    std::memcpy(&key[1], &y, 8);
    std::memcpy(&key[2], &scale, 8);
    uint64_t h = key[0] * 0x9E3779B97F4A7C15ull ^ key[1] * 0xC2B2AE3D27D4EB4Full ^ key[2] * 0x165667B19E3779F9ull;
    GlyphCallFrame& f = frames[(h ^ (h >> 29) ^ (h >> 47)) & (frames.size() - 1)];
    if (!f.made || std::memcmp(f.key, key, sizeof key) != 0) {
        BuildGlyphCallFrame(f, x, y, scale);
        std::memcpy(f.key, key, sizeof key);
        f.made = true;
    }
    r += f.before;
    r += name;
    r += f.after;
}

// "(text) show" with the text escaped.
void PutShow(EpsOutput& out, std::string_view text) {
    out.PutLine(PostScriptString(text) + " show");
}

void PutFontLines(EpsOutput& out, const std::string& ps, double size, double x, double y) {
    out.PutLine("%%IncludeFont: " + ps);
    out.PutLine("/" + ps + " findfont " + SixPlaces(size) + " scalefont setfont " + SixPlaces(x) + ' ' + SixPlaces(y) +
                " m");
}

void PutText(EpsOutput& out, const BodyText& t, bool levelOne) {
    if (t.text.empty()) return;
    const std::string colour = ColourOperator(ColourSide::Bars, levelOne);
    if (t.outlined) {
        std::string line;
        const double scale = t.size / 10;
        for (std::size_t i = 0; i < t.text.size(); ++i) {
            std::string_view name = OcrGlyphName(t.ocr, t.text[i]);
            if (name.empty()) continue;  // blanks and characters without an outline draw nothing
            AppendGlyphCall(line, name, t.x + static_cast<double>(i) * t.advance, t.y, scale);
        }
        if (!line.empty()) out.PutLine(line);
        return;
    }
    double x = t.x, y = t.y;
    if (t.angle) {
        out.PutLine(IntText(t.angle) + " rotate");
        ToTurnedFrame(t.angle, x, y);
    }
    const std::string ps = PostScriptFontName(t.font, t.style);
    if (t.cellPitch > 0) {
        for (std::size_t i = 0; i < t.text.size(); ++i) {
            double cx = x + static_cast<double>(i) * t.cellPitch + (t.cellPitch - t.cellWidth) / 2;
            if (i == 0)
                PutFontLines(out, ps, t.size, cx, y);
            else
                out.PutLine(SixPlaces(cx) + ' ' + SixPlaces(y) + " m");
            out.PutLine(colour);
            PutShow(out, std::string_view(&t.text[i], 1));
        }
    } else {
        PutFontLines(out, ps, t.size, x, y);
        out.PutLine(colour);
        PutShow(out, t.text);
    }
    if (t.angle) out.PutLine("-" + IntText(t.angle) + " rotate");
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

std::string BarStream(const EpsBodyLayout& l) {
    const std::string& p = BarPattern;
    std::string line;
    line.reserve(p.size() * 3 / 2 + 16);
    auto add = [&line](std::string_view call) {
        if (call.empty()) return;
        if (!line.empty()) line += ' ';
        line += call;
    };
    auto name = [&](std::size_t i) {
        const std::string_view e(p.data() + i, 2);
        return e == "++" ? std::string_view(l.separator) : e;
    };
    bool first = true;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        if (p.compare(i, 2, "ss") == 0 && i < 15 && i + 3 < p.size()) {
            add(name(i + 2));
            add("ss");
            i += 2;
        } else {
            add(name(i));
        }
        if (l.registrationBar && first) add("G1");
        first = false;
    }
    return line;
}

// A minimal calibration strip: a zig-zag row of squares over the bars, the
// notice in outline letters and the printer resolution.
void PutVerificationMark(EpsOutput& out, const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    if (!l.prufRoomY) return;
    const double room = l.prufRoomY / l.m;
    const double step = std::max(l.X0, 0.5);
    const double base = std::max(l.symTop, l.bearerTop) + room * 0.2;
    const double end = l.total + l.patternWidth;
    std::string path;
    int k = 0;
    for (double x = l.total; x + step <= end + 1e-9; x += step, ++k) {
        const double y = base + (k % 2 ? step : 0);
        out.PutLine("newpath " + FourPlaces(x) + ' ' + FourPlaces(y) + " m " + FourPlaces(x + step) + ' ' +
                    FourPlaces(y) + " l " + FourPlaces(x + step) + ' ' + FourPlaces(y + step) + " l " + FourPlaces(x) +
                    ' ' + FourPlaces(y + step) + " l closepath fill");
    }
    const double size = std::min(room * 0.4, 4.0);
    double nx = l.total;
    const double ny = base + 2 * step + 0.5;
    std::string line;
    for (char c : std::string_view("DPI")) {
        AppendGlyphCall(line, NoticeGlyphName(c), nx, ny, size / 10);
        nx += size * 0.7;
    }
    out.PutLine(line);
    PutFontLines(out, "Geneva", size, nx + size * 0.5, ny);
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne));
    out.PutLine("(" + IntText(s.PrinterDpi) + ") show");
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne));
}

void PutClosing(EpsOutput& out, const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    const double m = l.m;
    if (m != 1) out.PutLine(SixPlaces(100 / s.Magnification) + ' ' + SixPlaces(100 / s.Magnification) + " scale");
    if (l.bearerThickness > 0) {
        // POSTNET and FIM lines are stroked with their own width first.
        if (l.family == kFamilyPostnet || l.family == kFamilyFim) out.PutLine("stroke");
        out.PutLine(SixPlaces(l.bearerPoints) + " setlinewidth");
        const double half = l.bearerPoints / 2;
        const int L = static_cast<int>(std::lround(l.bearerLeft * m + half));
        const int R = static_cast<int>(std::lround(l.bearerRight * m - half));
        const int B = static_cast<int>(std::lround(l.bearerBottom * m + half));
        const int T = static_cast<int>(std::lround(l.bearerTop * m - half));
        if (IsItf14OpenFrameClass(l.variation))
            out.PutLine("newpath " + FourPlaces(L + 2) + ' ' + FourPlaces(T) + " m " + FourPlaces(R - 2) + ' ' +
                        FourPlaces(T) + " l " + IntText(L + 2) + ' ' + IntText(B) + " m " + IntText(R - 2) + ' ' +
                        IntText(B) + " l");
        else
            out.PutLine(RectanglePath(L, T, R, B));
        out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne));
    }
    if (s.bCropMarks) {
        out.PutLine("stroke");
        out.PutLine("0.12 setlinewidth");
        const double x0 = kCropMargin, y0 = kCropMargin;
        const double x1 = l.page.groupWidth - kCropMargin, y1 = l.page.groupHeight - kCropMargin;
        auto mark = [&](double ax, double ay, double bx, double by) {
            out.PutLine(FourPlaces(ax) + ' ' + FourPlaces(ay) + " m " + FourPlaces(bx) + ' ' + FourPlaces(by) + " l");
        };
        mark(x0 - 12, y0, x0 - 4, y0);
        mark(x0, y0 - 11, x0, y0 - 3);
        mark(x1 + 4, y0, x1 + 12, y0);
        mark(x1, y0 - 11, x1, y0 - 3);
        mark(x0 - 12, y1, x0 - 4, y1);
        mark(x0, y1 + 3, x0, y1 + 11);
        mark(x1 + 4, y1, x1 + 12, y1);
        mark(x1, y1 + 3, x1, y1 + 11);
    }
    const long long turn = 360LL - s.Rotation;  // any stored int
    const int r = turn == 90 || turn == 180 || turn == 270 ? static_cast<int>(turn) : 0;
    if (r) out.PutLine("-" + IntText(r) + " rotate");
    const double S = l.page.specBlockHeight, W = l.page.groupWidth, H = l.page.groupHeight;
    double tx = 0, ty = -S;
    if (r == 90) {
        tx = -H;
        ty = -S;
    } else if (r == 180) {
        tx = -W;
        ty = -(S + H);
    } else if (r == 270) {
        tx = 0;
        ty = -(S + W);
    }
    if (tx != 0 || ty != 0) {
        out.PutLine(SixPlaces(tx) + ' ' + SixPlaces(ty) + " translate");
        out.PutLine("stroke");
    }
    // The specification block in the band at the page's foot, first line on top.
    double y = S - kSpecFontSize;
    for (const std::string& line : l.specLines) {
        BodyText t;
        t.text = line;
        t.font = "Arial";
        t.size = kSpecFontSize;
        t.x = kSpecMargin;
        t.y = y;
        PutText(out, t, l.levelOne);
        y -= kSpecLineStep;
    }
}

}  // namespace

void WriteSymbolBody(EpsOutput& out, const EpsBodyLayout& l) {
    const int v = l.variation;
    const std::size_t ownTexts = l.texts.size() - (l.additionalText ? 1 : 0);
    // Hidden text was left out of the layout; the standard-number line stays.
    auto putOwnTexts = [&] {
        for (std::size_t i = 0; i < ownTexts; ++i) PutText(out, l.texts[i], l.levelOne);
        PutDigits(out, l);
    };

    if (TextOnly(v)) {
        putOwnTexts();
    } else if (l.family == kFamilyPostnet) {
        PutPostnet(out, l);
    } else if (l.family == kFamilyFim) {
        PutFim(out, l);
    } else if (IsVantic128EmbeddedClass(v)) {
        putOwnTexts();
        if (ownTexts) {
            const BodyText& t = l.texts.front();
            const FontMeasure fm = TextMetrics(t.font, t.size, t.style, t.text);
            const double right = l.symRight, top = l.symTop, textTop = t.y - fm.descent + fm.height;
            out.PutLine("/wd " + PostScriptString(t.text) + " stringwidth pop def");
            out.PutLine("gsave");
            out.PutLine("newpath " + SixPlaces(l.symLeft) + ' ' + SixPlaces(top) + " m " + SixPlaces(right) + ' ' +
                        SixPlaces(top) + " l " + SixPlaces(right) + " 0 l " + SixPlaces(t.x) + " wd add 0 l " +
                        SixPlaces(t.x) + " wd add " + SixPlaces(textTop) + " l " + SixPlaces(t.x) + ' ' +
                        SixPlaces(textTop) + " l " + SixPlaces(t.x) + " 0 l " + SixPlaces(l.symLeft) +
                        " 0 l closepath clip");
            out.PutLine(BarStream(l));
            out.PutLine("grestore");
        } else {
            out.PutLine(BarStream(l));
        }
    } else {
        out.PutLine(BarStream(l));
        putOwnTexts();
    }
    if (l.vantic) {
        PutVanticEndPieces(out, l);
        PutVanticPicture(out, l);
    }
    PutVerificationMark(out, l);
    if (l.additionalText) PutText(out, l.texts.back(), l.levelOne);
    PutClosing(out, l);
}

// ---- Parts ----

namespace {

// Draws the current symbol on a recording context in file output.
struct Recording {
    RecordingDC dc{1000, 1000};
    bool drawn = false;
};

void Draw(Recording& r) {
    r.drawn = DrawSymbol(r.dc, ClipRect{}, 1, 0, nullptr);
}

}  // namespace

namespace {

// The symbol's own texts from a drawing without extras, unrotated. What the
// drawing itself changes in the record stays, as after a screen draw.
std::string DrawPlain() {
    SettingsRecord& s = SymbolSettings;
    int* switches[] = {&s.Rotation, &s.bCropMarks, &s.Prufmark, &s.bSymbology, &s.bEncodedData,
                       &s.bBarWidthReduction, &s.bWideNarrowRatio, &s.bBarHeight, &s.bMagnification,
                       &s.bXDimension, &s.bNBW, &s.bPrinterDpi, &s.bFilm, &s.bCompany, &s.bClient,
                       &s.bJob, &s.bDate, &s.bComments};
    int saved[std::size(switches)];
    for (std::size_t i = 0; i < std::size(switches); ++i) {
        saved[i] = *switches[i];
        *switches[i] = 0;
    }
    std::string additional;
    additional.swap(s.AdditionalText);
    Recording r;
    Draw(r);
    for (std::size_t i = 0; i < std::size(switches); ++i) *switches[i] = saved[i];
    s.AdditionalText.swap(additional);
    return r.dc.AllText();
}

// The file's drawing, made once: the symbol's own texts (the extras' texts
// left out) and the drawing's extent.
struct FileDrawing {
    std::string text;
    bool drawn = false;
    std::vector<RecordedExtent> windowExtents;
};

FileDrawing DrawForFile() {
    Recording r;
    Draw(r);
    return {r.dc.SymbolText(), r.drawn, r.dc.WindowExtents()};
}

}  // namespace

std::string DrawnHumanReadable() { return DrawPlain(); }

namespace {

EpsSymbolParts PartsOf(const std::shared_ptr<const EpsBodyLayout>& layout) {
    EpsSymbolParts parts;
    parts.layout = layout->page;
    parts.humanReadableOutlined = layout->humanReadableOutlined;
    parts.bookNumberOutlined = layout->bookNumberOutlined;
    parts.writeProcedures = [layout](EpsOutput& out) { WriteSymbolProcedures(out, *layout); };
    parts.writeBody = [layout](EpsOutput& out) { WriteSymbolBody(out, *layout); };
    return parts;
}

// Extent of the file's drawing: the drawing's own when the caller made it, else
// the measure pass gives it.
SymbolExtent ExtentFor(const EpsBodyLayout& l, const FileDrawing* drawing = nullptr) {
    SymbolExtent e;
    if (drawing != nullptr) {
        if (drawing->drawn && !drawing->windowExtents.empty()) {
            e.right = std::max(0, drawing->windowExtents.back().cx);
            e.bottom = std::max(0, drawing->windowExtents.back().cy);
        }
    } else if (const DrawingFrame frame = MeasureDrawingFrame(); frame.drawn) {
        e.right = std::max(0, frame.width);
        e.bottom = std::max(0, frame.height);
    }
    // The page may hold more than the drawing (crop marks, the block band).
    const int w = static_cast<int>(std::ceil(l.page.pageWidth * 1000.0 / 72.0));
    const int h = static_cast<int>(std::ceil(l.page.pageHeight * 1000.0 / 72.0));
    e.right = std::max(e.right, w);
    e.bottom = std::max(e.bottom, h);
    return e;
}

}  // namespace

EpsSymbolParts CurrentSymbolParts(bool levelOne) {
    return PartsOf(std::make_shared<const EpsBodyLayout>(ComputeEpsLayout(DrawnHumanReadable(), levelOne)));
}

SymbolExtent CurrentSymbolExtent() { return ExtentFor(ComputeEpsLayout(DrawnHumanReadable())); }

bool WriteCurrentSymbolEps(const std::string& path, bool withPreview, bool levelOne, const std::string& title,
                           std::string* reason) {
    const FileDrawing drawing = DrawForFile();
    auto layout = std::make_shared<EpsBodyLayout>(ComputeEpsLayout(drawing.text, levelOne));
    EpsOptions options;
    options.WithPreview = withPreview;
    options.LevelOneOutput = levelOne;
    options.Title = title;
    options.Extent = ExtentFor(*layout, &drawing);
    // The background covers the whole bounding box.
    layout->page.pageWidth = std::max(layout->page.pageWidth, ExtentWidthPoints(options.Extent));
    layout->page.pageHeight = std::max(layout->page.pageHeight, ExtentHeightPoints(options.Extent));
    options.symbolParts = [layout](const EpsOptions&) { return PartsOf(layout); };
    return WriteEpsFile(path, options, reason);
}

}  // namespace vg
