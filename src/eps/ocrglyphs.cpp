#include "eps/ocrglyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <charconv>
#include <cmath>
#include <map>

#include "device/fontservice.h"

namespace vg {
namespace {

constexpr double kDesignSize = 10.0;  // points per em of the design space
constexpr double kOriginX = 9.0;
constexpr double kOriginY = 709.0;
constexpr int kOpsPerLine = 4;

// The OCR-B digit 1, as the prolog has always carried it.
constexpr const char* kOcrBOne =
    "/_yi{pre 13.5 716.491 m\r\n"
    "13.5 716.631 13.1491 716.755 13.027 716.755 c 12.9401 716.755 12.6446 716.709 12.5814 716.656 c "
    "10.7375 715.083 l 10.6503 715.009 10.6158 714.896 10.6158 714.784 c\r\n"
    "10.6158 714.541 10.8232 714.334 11.0662 714.334 c 11.3348 714.334 12.2472 715.207 12.499 715.413 c\r\n"
    "12.5004 709.458 l 12.5004 709.196 12.7628 709 13.0119 709 c 13.2619 709 13.4973 709.199 13.4974 "
    "709.457 c 13.5 716.491 l\r\n"
    "dra}bdef\r\n";

constexpr const char* kDigitNames[10] = {"ling", "yi", "er", "san", "si", "wu", "liu", "qi", "ba", "jiu"};

// Six significant digits, C locale ("716.491", "709", "13.5").
std::string Num(double v) {
    if (std::fabs(v) < 5e-7) v = 0;
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

struct Decomposer {
    double scale = 0;
    std::string text;
    int opsOnLine = 0;
    bool firstOp = true;
    double lastX = 0, lastY = 0;

    double X(const FT_Vector* p) const { return kOriginX + p->x * scale; }
    double Y(const FT_Vector* p) const { return kOriginY + p->y * scale; }

    void Op(const std::string& op) {
        if (firstOp) {
            text += op;
            text += "\r\n";
            firstOp = false;
            return;
        }
        if (opsOnLine == kOpsPerLine) {
            text += "\r\n";
            opsOnLine = 0;
        }
        if (opsOnLine) text += ' ';
        text += op;
        ++opsOnLine;
    }
};

int MoveTo(const FT_Vector* to, void* user) {
    auto* d = static_cast<Decomposer*>(user);
    d->lastX = d->X(to);
    d->lastY = d->Y(to);
    d->Op(Num(d->lastX) + ' ' + Num(d->lastY) + " m");
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    auto* d = static_cast<Decomposer*>(user);
    d->lastX = d->X(to);
    d->lastY = d->Y(to);
    d->Op(Num(d->lastX) + ' ' + Num(d->lastY) + " l");
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* d = static_cast<Decomposer*>(user);
    d->lastX = d->X(to);
    d->lastY = d->Y(to);
    d->Op(Num(d->X(c1)) + ' ' + Num(d->Y(c1)) + ' ' + Num(d->X(c2)) + ' ' + Num(d->Y(c2)) + ' ' + Num(d->lastX) + ' ' +
          Num(d->lastY) + " c");
    return 0;
}

// A quadratic segment as the cubic with control points 2/3 of the way to the conic one.
int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* d = static_cast<Decomposer*>(user);
    const double cx = d->X(control), cy = d->Y(control);
    const double x = d->X(to), y = d->Y(to);
    const double x1 = d->lastX + 2.0 / 3.0 * (cx - d->lastX), y1 = d->lastY + 2.0 / 3.0 * (cy - d->lastY);
    const double x2 = x + 2.0 / 3.0 * (cx - x), y2 = y + 2.0 / 3.0 * (cy - y);
    d->lastX = x;
    d->lastY = y;
    d->Op(Num(x1) + ' ' + Num(y1) + ' ' + Num(x2) + ' ' + Num(y2) + ' ' + Num(x) + ' ' + Num(y) + " c");
    return 0;
}

}  // namespace

std::string_view OcrGlyphName(OcrFont font, char c) {
    static const std::map<char, std::string> ocrB = [] {
        std::map<char, std::string> t;
        for (int i = 0; i < 10; ++i) t['0' + i] = std::string("_") + kDigitNames[i];
        t['-'] = "_heng";
        t[':'] = "_bMao";
        t['('] = "_zuo";
        t[')'] = "_you";
        t['<'] = "_xiao";
        t['>'] = "_dayu";
        t['^'] = "_en";
        for (char l = 'A'; l <= 'J'; ++l) t[l] = std::string("_b") + l;
        for (char l : {'M', 'N', 'P', 'R', 'S', 'X'}) t[l] = std::string("_b") + l;
        return t;
    }();
    static const std::map<char, std::string> ocrA = [] {
        std::map<char, std::string> t;
        for (int i = 0; i < 10; ++i) t['0' + i] = std::string("_a") + kDigitNames[i];
        t['-'] = "_aheng";
        t[':'] = "_aMao";
        for (char l : {'B', 'C', 'I', 'M', 'N', 'P', 'R', 'S'}) t[l] = std::string("_a") + l;
        t['X'] = "_ax";
        return t;
    }();
    const auto& table = font == OcrFont::B ? ocrB : ocrA;
    auto it = table.find(c);
    return it == table.end() ? std::string_view() : std::string_view(it->second);
}

std::string_view NoticeGlyphName(char c) {
    static const std::map<char, std::string> names = [] {
        std::map<char, std::string> t;
        for (char l : {'A', 'D', 'E', 'G', 'I', 'N', 'P', 'S', 'T', 'X', 'Y'})
            t[l] = std::string("_pp") + static_cast<char>(l - 'A' + 'a');
        return t;
    }();
    auto it = names.find(c);
    return it == names.end() ? std::string_view() : std::string_view(it->second);
}

std::string GlyphProcedureText(std::string_view name, std::string_view face, char c) {
    if (name.empty()) return std::string();
    if (name == "_yi") return kOcrBOne;
    std::string outline = GlyphOutlineText(face, c);
    if (outline.empty()) return std::string();
    std::string text;
    text.reserve(name.size() + outline.size() + 20);
    text.push_back('/');
    text.append(name);
    text.append("{pre ");
    text.append(outline);
    if (text.compare(text.size() - 2, 2, "\r\n") != 0) text.append("\r\n");
    text += "dra}bdef\r\n";
    return text;
}

std::string GlyphOutlineText(std::string_view faceName, char c) {
    const FontFace* face = FontService::Instance().Resolve(faceName);
    if (!face || !face->Face() || face->UnitsPerEm() <= 0) return std::string();
    unsigned index = face->GlyphIndex(static_cast<unsigned char>(c));
    if (index == 0) return std::string();
    FT_Face ft = face->Face();
    if (FT_Load_Glyph(ft, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return std::string();
    if (ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE || ft->glyph->outline.n_contours <= 0) return std::string();
    Decomposer d;
    d.scale = kDesignSize / face->UnitsPerEm();
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    if (FT_Outline_Decompose(&ft->glyph->outline, &funcs, &d) != 0) return std::string();
    if (!d.text.empty() && d.text.compare(d.text.size() - 2, 2, "\r\n") != 0) d.text += "\r\n";
    return d.text;
}

}  // namespace vg
