// Code 128 symbol classes: human-readable texts and the Vantic128 end pieces,
// side text and picture.
#include <algorithm>

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "device/picture.h"
#include "symbology/code128.h"

namespace vg {

namespace {

std::string WithoutControls(std::string_view text) {
    std::string r;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b != 127) r += c;
    }
    return r;
}

// A space check character is shown as an underscore.
char Shown(char check) { return check == ' ' ? '_' : check; }

int Truncated(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, -1e8, 1e8));
}

int Left(const Point box[4]) { return std::min({box[0].x, box[1].x, box[2].x, box[3].x}); }
int Right(const Point box[4]) { return std::max({box[0].x, box[1].x, box[2].x, box[3].x}); }
int Top(const Point box[4]) { return std::min({box[0].y, box[1].y, box[2].y, box[3].y}); }

// Grows a box (corner 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right)
// to hold a rectangle.
void Unite(Point box[4], int left, int top, int right, int bottom) {
    left = std::min(left, Left(box));
    right = std::max(right, Right(box));
    top = std::min(top, Top(box));
    bottom = std::max({bottom, box[0].y, box[1].y, box[2].y, box[3].y});
    box[0] = {left, top};
    box[1] = {left, bottom};
    box[2] = {right, bottom};
    box[3] = {right, top};
}

}  // namespace

std::string Code128HumanReadable(int v) {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view typed = TextOf(s.OriginalMainText);
    const auto check = static_cast<char>(s.CheckCharacter1);
    std::string text;
    if (IsVantic128Class(v)) {
        std::string digits;
        for (char c : WithoutControls(typed))
            if (c != ' ' && c != '-') digits += c;
        text = "C";
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
            text += ' ';
            text.append(digits, i, 2);
        }
    } else if (IsCode128HibcClass(v)) {
        text = "*";
        text.append(typed);
        if (!s.HideCheckDigits && check) text += Shown(check);
        text += '*';
    } else if (IsIsbtClass(v)) {
        for (char c : typed)
            if (std::string_view("=%&*>)<(").find(c) == std::string_view::npos) text += c;
        if (!s.HideCheckDigits && check) text += Shown(check);
    } else if (IsUccEan128Class(v)) {
        for (char c : typed)
            if (!s.HideParentheses || (c != '(' && c != ')')) text += c;
        if (!s.HideCheckDigits && check) text += check;
    } else {
        text = WithoutControls(typed);
    }
    return text;
}

void CCode128Symbol::BuildText() { HumanReadable = Code128HumanReadable(SymbolSettings.Variation); }

void CUccEan128Symbol::BuildText() { HumanReadable = Code128HumanReadable(SymbolSettings.Variation); }

}  // namespace vg

namespace vg {

void CCode128Symbol::DrawEndPieces(DeviceContext& dc) {
    const SettingsRecord& s = SymbolSettings;
    if (!IsVantic128Class(s.Variation)) return;
    const double mag = m_magnification;
    const int a = Truncated(m_skewOffset * mag * 1000);
    const int t = Truncated(Top(m_symbolBox) + m_topMargin * mag * 1000);
    const int u = Truncated(t + s.BarHeight / 72.0 * 1000);
    const int x0 = Truncated(Left(m_symbolBox) + m_skewLead * 1000);
    const int x1 = Right(m_symbolBox);
    dc.SetBrushColour(m_barColour);
    const Point left[3] = {{x0, t}, {x0, u}, {x0 + a, u}};
    const Point right[3] = {{x1 - a, t}, {x1, u}, {x1, t}};
    dc.Polygon(left, 3);
    dc.Polygon(right, 3);
}

bool CCode128Symbol::PlaceSideText(Point& at, std::vector<TextExtent>& extents) {
    const SettingsRecord& s = SymbolSettings;
    if (!IsVantic128BesideClass(s.Variation)) return false;
    BuildText();
    if (HumanReadable.empty()) return false;
    SelectHumanReadableFont(1.0);
    const FontMetrics fm = m_dc.GetTextMetrics();
    extents.clear();
    for (char c : HumanReadable) extents.push_back(m_dc.GetTextExtent(std::string_view(&c, 1)));

    // Corners 2 and 3 of the reference box: bottom-right and top-right at 0 degrees.
    const Point* box = m_bearer > 0 ? m_bearerBox : m_symbolBox;
    const Point c2 = box[2], c3 = box[3];
    at.x = Truncated(c3.x + 1000.0 / 36.0 * s.Magnification / 100.0);
    const int a = fm.ascent, l = fm.internalLeading, h = fm.height;
    const int c = Truncated(s.BarHeight * 1000.0 / 72.0);
    if (c < a - l)
        at.y = c3.y - (a - l - c) / 2;
    else
        at.y = c3.y + (c2.y - c3.y - h) / 2 - ((a - l) / 2 + l);
    return true;
}

void CCode128Symbol::MeasureSideText(DeviceContext&) {
    Point at;
    std::vector<TextExtent> extents;
    if (!PlaceSideText(at, extents)) return;
    int width = 0, height = m_dc.GetTextMetrics().height;
    for (const TextExtent& e : extents) {
        width += e.cx;
        height = std::max(height, e.cy);
    }
    Unite(m_backgroundBox, at.x, at.y, at.x + width, at.y + height);
    RestoreSelectedFont();
}

void CCode128Symbol::DrawSideText(DeviceContext& dc) {
    Point at;
    std::vector<TextExtent> extents;
    if (!PlaceSideText(at, extents)) return;
    dc.SetTextColour(m_barColour);
    dc.SetBackground(false, m_spaceColour);
    dc.SetTextAlign(kAlignLeftTop);
    for (std::size_t i = 0; i < HumanReadable.size(); ++i) {
        dc.TextOut(at, std::string_view(&HumanReadable[i], 1));
        at.x += extents[i].cx;
    }
}

void CCode128Symbol::DrawPicture(DeviceContext& dc) {
    const SettingsRecord& s = SymbolSettings;
    if (!IsVantic128Class(s.Variation)) return;
    const EmbeddingFactors f = CurrentEmbeddingFactors;
    const double bars = s.BarHeight / 72.0 * 1000;
    const int height = Truncated(bars * f.p);
    const int width = Truncated(height * 384.0 / 301.0);
    const int top = Truncated(Top(m_symbolBox) + bars * (1 - f.p) / 2 + m_topMargin * m_magnification * 1000);
    ThePictureProvider().DrawPicture(dc, Left(m_symbolBox), top, Rgb{255, 255, 255}, width, height, m_outputFlag);
}

}  // namespace vg
