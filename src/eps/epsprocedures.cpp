// The prolog procedures of the EPS body: positions, guards, the bar and space
// painters with their width variants, and the glyph outlines.
#include "eps/epsbody.h"

#include <array>
#include <mutex>

#include "eps/epsbody_internal.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"

namespace vg {
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
    out.Put(
        "/pre {-9 -709 translate newpath}bdef\r\n"
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
            out.PutLine(
                "/gb {newpath total start m total bw add start l total bw add godown l total godown l "
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
    for (double v : {l.total, l.vanticTotal, l.start, l.h, l.dataStart, l.sepStart, l.sepTop, l.addOnGap, l.X0, l.X13,
                     l.barWidthReduction})
        AppendRaw(key, v);
    for (double v : l.barWidth) AppendRaw(key, v);
    for (double v : l.elementWidth) AppendRaw(key, v);
    for (int v : {l.family, l.variation, l.widths, int(l.eanUpc), int(l.vantic), int(l.pharmacode), int(l.transparent),
                  int(l.registrationBar), int(l.levelOne), s.ProcessRadio})
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

}  // namespace vg
