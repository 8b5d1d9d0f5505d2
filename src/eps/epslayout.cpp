// The page layout of the EPS body: the numbers every group shares, the generic
// linear families' bars and texts, the additional text, the bearer bars and the
// page that holds them.
#include "eps/epsbody.h"

#include <algorithm>
#include <cmath>

#include "eps/epsbody_internal.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "device/fontservice.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

// Variations whose human-readable text may be drawn with OCR outlines.
bool OutlineClass(int v) { return IsUpcEanClass(v) || IsBearerFrameClass(v) || IsBooklandTextClass(v); }

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

namespace {

// The module, the element and bar widths and the switches of the variation.
void SetModuleNumbers(EpsBodyLayout& l, const SettingsRecord& s) {
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
}

// The glyph procedures are defined whenever the text would be outlined, shown or not.
void NoteOutlinedFonts(EpsBodyLayout& l, const SettingsRecord& s) {
    const int v = l.variation;
    OcrFont hrOcr, bookOcr;
    l.humanReadableOutlined = OutlineClass(v) && IsOcrFont(s.FontName4humanreadable, hrOcr);
    l.bookNumberOutlined = IsBooklandEan13Class(v) && IsOcrFont(s.FontName4ISBN_ISSN_SPCNs, bookOcr);
    if (l.humanReadableOutlined) {
        (hrOcr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;
        l.glyphChars += TextOf(s.OriginalMainText);
    }
    if (l.bookNumberOutlined) (bookOcr == OcrFont::B ? l.ocrBGlyphs : l.ocrAGlyphs) = true;
}

// Bearer bars: the box classes carry them inside their layout, the others around the symbol.
void PlaceBearerBars(EpsBodyLayout& l) {
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
}

// The symbol group: the symbol with its bearer bars, the verification mark's
// room, every text and the crop margin, moved up and right until nothing
// stands in the margin.
void FitGroup(EpsBodyLayout& l, const SettingsRecord& s, double crop) {
    // Verification mark room above and to the right of the symbol.
    const bool marked =
        s.Prufmark != 0 && !TextOnly(l.variation) && s.Family != kFamilyPostnet && s.Family != kFamilyFim;
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
}

// The page: the group turned, and the specification block's band below it.
void SetPage(EpsBodyLayout& l, const SettingsRecord& s) {
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
}

}  // namespace

EpsBodyLayout ComputeEpsLayout(std::string_view hrText, bool levelOne) {
    const SettingsRecord& s = SymbolSettings;
    EpsBodyLayout l;
    l.levelOne = levelOne;
    l.family = s.Family;
    l.variation = s.Variation;
    const int v = l.variation;
    SetModuleNumbers(l, s);

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
    NoteOutlinedFonts(l, s);
    PlaceBearerBars(l);
    FitGroup(l, s, crop);
    SetPage(l, s);
    return l;
}

}  // namespace vg
