// The page body of the EPS file and the entry points that lay out and write
// the current symbol.
#include "eps/epsbody.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

#include "eps/epsbody_internal.h"
#include "eps/psstring.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "device/recordingdc.h"
#include "render/drawingframe.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

std::string FourPlaces(double v) { return FixedText(v == 0 ? 0.0 : v, 4); }
double Negated(double v) { return v == 0 ? 0.0 : -v; }

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

}  // namespace

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
void PutShow(EpsOutput& out, std::string_view text) { out.PutLine(PostScriptString(text) + " show"); }

void PutFontLines(EpsOutput& out, const std::string& ps, double size, double x, double y) {
    out.PutLine("%%IncludeFont: " + ps);
    out.PutLine("/" + ps + " findfont " + SixPlaces(size) + " scalefont setfont " + SixPlaces(x) + ' ' + SixPlaces(y) +
                " m");
}

namespace {

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

void Draw(Recording& r) { r.drawn = DrawSymbol(r.dc, ClipRect{}, 1, 0, nullptr); }

}  // namespace

namespace {

// The symbol's own texts from a drawing without extras, unrotated. What the
// drawing itself changes in the record stays, as after a screen draw.
std::string DrawPlain() {
    SettingsRecord& s = SymbolSettings;
    int* switches[] = {&s.Rotation,
                       &s.bCropMarks,
                       &s.Prufmark,
                       &s.bSymbology,
                       &s.bEncodedData,
                       &s.bBarWidthReduction,
                       &s.bWideNarrowRatio,
                       &s.bBarHeight,
                       &s.bMagnification,
                       &s.bXDimension,
                       &s.bNBW,
                       &s.bPrinterDpi,
                       &s.bFilm,
                       &s.bCompany,
                       &s.bClient,
                       &s.bJob,
                       &s.bDate,
                       &s.bComments};
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
