#include "eps/epswriter.h"

#include <cerrno>
#include <ctime>
#include <vector>

#include "eps/psstring.h"
#include "eps/settingsblock.h"
#include "model/regularfile.h"
#include "eps/tiffpreview.h"
#include "model/catalogue.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

struct FontRow {
    const char* key;
    const char* names[4];
};

// Tried top to bottom; longer keys stand before the keys they contain.
constexpr FontRow kFontRows[] = {
    {"AvantGarde", {"AvantGarde-Book", "AvantGarde-Demi", "AvantGarde-BookOblique", "AvantGarde-DemiOblique"}},
    {"Bookman", {"Bookman-Light", "Bookman-Demi", "Bookman-LightItalic", "Bookman-DemiItalic"}},
    {"Courier", {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"}},
    {"Tahoma", {"Tahoma", "Tahoma-Bold", "Tahoma-Italic", "Tahoma-BoldItalic"}},
    {"Times New Roman",
     {"TimesNewRomanPSMT", "TimesNewRomanPS-BoldMT", "TimesNewRomanPS-ItalicMT", "TimesNewRomanPS-BoldItalicMT"}},
    {"Helvetica Narrow",
     {"Helvetica-Narrow", "Helvetica-Narrow-Bold", "Helvetica-Narrow-Oblique", "Helvetica-Narrow-BoldOblique"}},
    {"Helvetica", {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"}},
    {"Palatino", {"Palatino", "Palatino-Bold", "Palatino-Italic", "Palatino-BoldItalic"}},
    {"Century",
     {"NewCenturySchlbk-Roman", "NewCenturySchlbk-Bold", "NewCenturySchlbk-Italic", "NewCenturySchlbk-BoldItalic"}},
    {"Symbol", {"Symbol", "Symbol", "Symbol", "Symbol"}},
    {"Times", {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"}},
    {"ZapfDingbats", {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"}},
    {"ZapfHumnst", {"ZapfDingbats", "ZapfDingbats", "ZapfDingbats", "ZapfDingbats"}},
    {"ZapfChancery",
     {"ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic", "ZapfChancery-MediumItalic",
      "ZapfChancery-MediumItalic"}},
};
constexpr const char* kOtherFont[4] = {"Arial", "Arial-Bold", "Arial-Italic", "Arial-BoldItalic"};

bool ProcessColour(const SettingsRecord& s) { return s.ProcessRadio == 1; }

std::string Percent4(uint8_t percent) { return FixedText(percent / 100.0, 4); }

std::string Cmyk(uint8_t c, uint8_t m, uint8_t y, uint8_t k) {
    return Percent4(c) + ' ' + Percent4(m) + ' ' + Percent4(y) + ' ' + Percent4(k);
}

std::string BarCmyk(const SettingsRecord& s) {
    return Cmyk(s.CMYKcyanBarsText, s.CMYKmagentaBarsText, s.CMYKyellowBarsText, s.CMYKblackBarsText);
}

std::string SpaceCmyk(const SettingsRecord& s) {
    return Cmyk(s.CMYKcyanSpacesQuietZone, s.CMYKmagentaSpacesQuietZone, s.CMYKyellowSpacesQuietZone,
                s.CMYKblackSpacesQuietZone);
}

std::string CreationDate() {
    // The files of a series written within one second share the text.
    static thread_local std::time_t last = -1;
    static thread_local std::string lastDate;
    std::time_t now = std::time(nullptr);
    if (now == last && now != -1) return lastDate;
    std::tm local{};
    char text[32] = {};
    if (!localtime_r(&now, &local) || !asctime_r(&local, text)) return std::string();
    std::string date(text);
    while (!date.empty() && (date.back() == '\n' || date.back() == '\r')) date.pop_back();
    last = now;
    lastDate = date;
    return date;
}

std::string TitleOf(std::string_view name) {
    std::string title;
    for (char c : name)
        if (c != '(' && c != ')') title += c;
    return title;
}

// Fonts of the font lists, in order and without repeats.
std::vector<std::string> DocumentFonts(const SettingsRecord& s, const EpsSymbolParts& parts) {
    std::vector<std::string> fonts;
    auto add = [&fonts](const std::string& name) {
        if (name.empty()) return;
        for (const auto& f : fonts)
            if (f == name) return;
        fonts.push_back(name);
    };
    if (AnySpecBlockLine(s)) add("Arial");
    if (!s.Hidden && !parts.humanReadableOutlined)
        add(PostScriptFontName(s.FontName4humanreadable, FontStyle(s.Bold, s.Italic)));
    if (IsBooklandEan13Class(s.Variation) && !parts.bookNumberOutlined)
        add(PostScriptFontName(s.FontName4ISBN_ISSN_SPCNs, 0));
    if (!s.AdditionalText.empty()) add(PostScriptFontName(s.FontName4AdditionalText, FontStyle(s.BoldAT, s.ItalicAT)));
    return fonts;
}

void PutFontList(EpsOutput& out, const char* keyword, const std::vector<std::string>& fonts) {
    for (std::size_t i = 0; i < fonts.size(); ++i) out.PutLine((i ? std::string("%%+ ") : keyword) + fonts[i]);
}

void PutColourComments(EpsOutput& out, const SettingsRecord& s) {
    if (ProcessColour(s)) {
        std::string line = "%%DocumentProcessColors: ";
        if (s.CMYKcyanBarsText > 0 || s.CMYKcyanSpacesQuietZone > 0) line += "Cyan ";
        if (s.CMYKmagentaBarsText > 0 || s.CMYKmagentaSpacesQuietZone > 0) line += "Magenta ";
        if (s.CMYKyellowBarsText > 0 || s.CMYKyellowSpacesQuietZone > 0) line += "Yellow ";
        out.PutLine(line + "Black");
        return;
    }
    const std::string bars = PostScriptString(s.BarsTextColorName);
    const std::string spaces = PostScriptString(s.SpacesQuietZoneColorName);
    out.PutLine("%%DocumentCustomColors: " + bars);
    if (!s.TransparentBackground) out.PutLine("%%+ " + spaces);
    out.PutLine("%%CMYKCustomColor: " + BarCmyk(s) + " " + bars);
    if (!s.TransparentBackground) out.PutLine("%%+ " + SpaceCmyk(s) + " " + spaces);
}

struct Document {
    const EpsOptions& options;
    const EpsSymbolParts& parts;
    std::string date;
    int width;
    int height;
};

constexpr std::size_t kHeaderSize = 30;

// The length field is patched once the document is written.
void PutHeader(EpsOutput& out) {
    uint32_t length = out.BytesCounted();
    char header[kHeaderSize] = {'\xC5', '\xD0', '\xD3', '\xC6', 30};
    for (int i = 0; i < 4; ++i) header[8 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    header[28] = '\xFF';
    header[29] = '\xFF';
    out.Put(std::string_view(header, sizeof header));
}

void PutDocument(EpsOutput& out, const Document& doc) {
    const SettingsRecord& s = SymbolSettings;
    const EpsOptions& opt = doc.options;
    const EpsLayout& lay = doc.parts.layout;
    const bool levelOne = opt.LevelOneOutput;

    if (!out.Counting()) PutHeader(out);
    out.PutLine("%!PS-Adobe-2.0 EPSF-1.2");
    out.PutLine(std::string("%%Creator: Vornel Glyph (R) ") + kVersionText);
    out.PutLine("%%Title: " + TitleOf(opt.Title));
    out.PutLine("%%CreationDate: " + doc.date);
    out.PutLine(levelOne ? "%%LanguageLevel: 1" : "%%LanguageLevel: 2");
    if (!levelOne) PutColourComments(out, s);
    out.PutLine("%%BoundingBox: 0 0 " + IntText(doc.width) + ' ' + IntText(doc.height));
    bool fontless = (s.Family == kFamilyPostnet || s.Family == kFamilyFim) && !AnySpecBlockLine(s);
    if (!fontless) {
        std::vector<std::string> fonts = DocumentFonts(s, doc.parts);
        PutFontList(out, "%%DocumentFonts: ", fonts);
        PutFontList(out, "%%DocumentNeededFonts: ", fonts);
    }
    out.PutLine("%%EndComments");
    out.PutLine("%%BeginProlog");
    out.PutLine("");
    if (!out.Counting()) WriteSettingsComments(out);
    static constexpr const char* kProlog[] = {
        "/gudict 100 dict def gudict begin",
        "/bdef{bind def}bind def",
        "/_R{0 sub round 0 add}bdef",
        "/_r{transform _R exch _R exch itransform}bdef",
        "/l{_r lineto}bdef",
        "/m{_r moveto}bdef",
        "/c{_r curveto}bdef",
        "/w{0 _r pop setlinewidth}bdef",
        "/X{exch def}bdef",
        "/stovp0/setoverprint where{/setoverprint get}{{pop}}ifelse def",
        "/stovp{dup/ovp X stovp0}bdef",
        "/custar 5 array def",
        "/setcustomcolor where{pop}{/setcustomcolor{exch aload pop pop 4{4 index mul 4 1 roll}repeat",
        "setcmykcolor pop}bdef}ifelse",
    };
    for (const char* line : kProlog) out.PutLine(line);
    if (doc.parts.writeProcedures) doc.parts.writeProcedures(out);
    out.PutLine("%%EndProlog");
    out.PutLine("%%BeginSetup");
    if (!levelOne) out.PutLine(s.Overprint ? "true stovp" : "false stovp");
    out.PutLine("%%EndSetup");
    out.PutLine("gsave");
    if (!s.TransparentBackground) {
        out.PutLine(RectanglePath(0, 0, lay.pageWidth, lay.pageHeight));
        out.PutLine(ColourOperator(ColourSide::Spaces, levelOne) + " fill");
    }

    const long long turn = 360LL - s.Rotation;  // any stored int
    const int r = turn == 90 || turn == 180 || turn == 270 ? static_cast<int>(turn) : 0;
    if (r) out.PutLine(IntText(r) + " rotate");
    const double S = lay.specBlockHeight, W = lay.groupWidth, H = lay.groupHeight;
    double tx = 0, ty = S;
    if (r == 90) {
        tx = S;
        ty = -H;
    } else if (r == 180) {
        tx = -W;
        ty = -(S + H);
    } else if (r == 270) {
        tx = -(S + W);
        ty = 0;
    }
    if (tx != 0 || ty != 0) out.PutLine(FixedText(tx, 6) + ' ' + FixedText(ty, 6) + " translate");
    double m = s.Family == kFamilyFim ? 1.0 : s.Magnification / 100.0;
    if (m != 1) out.PutLine(FixedText(m, 6) + ' ' + FixedText(m, 6) + " scale");
    out.PutLine(ColourOperator(ColourSide::Bars, levelOne));
    if (doc.parts.writeBody) doc.parts.writeBody(out);
    out.PutLine("stroke");
    out.PutLine("end");
    out.PutLine("grestore");
    out.PutLine("showpage");
    out.PutLine("%%EOF");
}

}  // namespace

std::string PostScriptFontName(std::string_view screenName, int style) {
    if (style < 0 || style > 3) style = 0;
    for (const FontRow& row : kFontRows)
        if (screenName.find(row.key) != std::string_view::npos) return row.names[style];
    return kOtherFont[style];
}

std::string ColourOperator(ColourSide side, bool levelOneOutput) {
    const SettingsRecord& s = SymbolSettings;
    const bool bars = side == ColourSide::Bars;
    if (levelOneOutput) return bars ? "0 setgray" : "1 setgray";
    std::string cmyk = bars ? BarCmyk(s) : SpaceCmyk(s);
    if (ProcessColour(s)) return cmyk + " setcmykcolor";
    const std::string& name = bars ? s.BarsTextColorName : s.SpacesQuietZoneColorName;
    return cmyk + " " + PostScriptString(name) + " custar astore 1 dup /custsh X setcustomcolor";
}

std::string RectanglePath(int left, int top, int right, int bottom) {
    std::string path = "newpath ";
    path += FixedText(left, 4) + ' ' + FixedText(top, 4) + " m ";
    path += FixedText(right, 4) + ' ' + FixedText(top, 4) + " l ";
    path += IntText(right) + ' ' + IntText(bottom) + " l ";
    path += IntText(left) + ' ' + IntText(bottom) + " l ";
    path += IntText(left) + ' ' + IntText(top) + " l closepath";
    return path;
}

bool AnySpecBlockLine(const SettingsRecord& s) {
    return s.bSymbology || s.bEncodedData || s.bBarWidthReduction || s.bWideNarrowRatio || s.bBarHeight ||
           s.bMagnification || s.bXDimension || s.bNBW || s.bPrinterDpi || s.bFilm || s.bCompany || s.bClient ||
           s.bJob || s.bDate || s.bComments;
}

int ExtentWidthPoints(const SymbolExtent& e) {
    return static_cast<int>((static_cast<long long>(e.right) - e.left) * 72 / 1000);
}

int ExtentHeightPoints(const SymbolExtent& e) {
    return static_cast<int>((static_cast<long long>(e.bottom) - e.top) * 72 / 1000);
}

EpsSymbolParts PlainSymbolParts(const SymbolExtent& extent, int rotation) {
    EpsSymbolParts parts;
    EpsLayout& lay = parts.layout;
    lay.pageWidth = ExtentWidthPoints(extent);
    lay.pageHeight = ExtentHeightPoints(extent);
    bool turned = rotation == 90 || rotation == 270;
    lay.groupWidth = turned ? lay.pageHeight : lay.pageWidth;
    lay.groupHeight = turned ? lay.pageWidth : lay.pageHeight;
    return parts;
}

uint32_t WriteSettingsComments(EpsOutput& out) {
    if (out.Counting()) return 0;
    const SettingsRecord& s = SymbolSettings;
    std::string block = "%_VornelGlyph Prefs\r\n";
    AppendBlockLines(block, s);
    block += "%_Fine\r\n\r\n";
    out.Put(block);
    const auto bytes = static_cast<uint32_t>(block.size());
    // A two-pass caller counted the document without this block.
    out.PatchU32(8, out.BytesCounted() + bytes);
    return bytes;
}

bool WriteEpsFile(const std::string& path, const EpsOptions& options, std::string* reason) {
    // A block that would not read back whole is refused before the file is touched.
    std::string problem = SettingsBlockProblem(SymbolSettings);
    if (!problem.empty()) {
        if (reason) *reason = std::move(problem);
        return false;
    }
    EpsSymbolParts parts =
        options.symbolParts ? options.symbolParts(options) : PlainSymbolParts(options.Extent, SymbolSettings.Rotation);
    Document doc{options, parts, CreationDate(), ExtentWidthPoints(options.Extent), ExtentHeightPoints(options.Extent)};

    EpsOutput out;
    bool written = out.Open(path.c_str());
    if (written) {
        PutDocument(out, doc);
        // The whole PostScript section is known now: its length goes into the header.
        out.PatchU32(8, static_cast<uint32_t>(out.Position() - kHeaderSize));
        if (options.WithPreview) AppendTiffPreview(out);
        written = out.Close();
    }
    if (!written) {
        // Callers that only look at errno see the first failure too.
        errno = out.Error() ? out.Error() : EIO;
        if (reason) *reason = SystemReason(errno);
    }
    return written;
}

}  // namespace vg
