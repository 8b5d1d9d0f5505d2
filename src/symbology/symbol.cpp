#include "symbology/symbol.h"

#include <algorithm>
#include <cmath>

#include "geometry/settingsdefaults.h"
#include "model/catalogue.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/charset.h"
#include "model/symbolsettings.h"

namespace vg {

std::string BarPattern;
std::string EncodedText;

namespace {

constexpr double kPi = 3.1415926;

int ClampInt(double v, double lo, double hi) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, lo, hi));
}

}  // namespace

int ToOutputUnits(double inches) { return OutputUnits(inches * 1000.0); }

int OutputUnits(double v) {
    if (!(v == v)) return 0;
    if (v > 1e8) return 100000000;
    if (v < -1e8) return -100000000;
    return static_cast<int>(v);
}

void SetEncodedText(std::string_view text) {
    EncodedText.assign(text.substr(0, std::min(text.size(), kMaxEncodedText)));
}

void AppendElement(std::string_view element) { BarPattern.append(element); }

void ApplySymbolDefaults() {
    ApplyVariationDefaults();
    BarPattern.clear();
}

bool IsBarLetter(char c) { return c == 'B' || c == 'A' || c == 'C' || c == 'b' || c == 'a' || c == 'c'; }

bool IsSpaceLetter(char c) { return c == 'S' || c == 'R' || c == 'T' || c == 's' || c == 'r' || c == 't'; }

double ElementModules(char letter, char digit, double ratio, int variation) {
    if (!IsDigit(digit) && digit != '+') return 0;
    if (letter == '+') return AddOnGapModules(variation);
    if (!IsBarLetter(letter) && !IsSpaceLetter(letter)) return 0;
    if (digit == '+') return 0;
    if (digit == '2') {
        if (IsSpaceLetter(letter)) {
            if (IsPharmacodeWideSpaceClass(variation)) return 4;
            if (IsPharmacodeStandardClass(variation)) return 2;
        }
        return ratio;
    }
    return digit - '0';
}

double PatternModules(std::string_view pattern, double ratio, int variation) {
    double modules = 0;
    for (std::size_t i = 0; i + 1 < pattern.size(); i += 2)
        modules += ElementModules(pattern[i], pattern[i + 1], ratio, variation);
    return modules;
}

void SpreadExcess(double excess, int align, double& left, double& right) {
    if (align == 1) {
        left += excess / 2;
        right += excess / 2;
    } else if (align == 2) {
        left += excess;
    } else {
        right += excess;
    }
}

// ---- CSymbol ----

CSymbol::CSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* previewHandle)
    : m_dc(dc), m_clip(clip), m_outputFlag(outputFlag), m_previewFlag(previewFlag), m_previewHandle(previewHandle) {}

void CSymbol::Reset(DeviceContext&) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    m_originX = m_originY = 0;
    m_barBottomOffset = m_barTopOffset = 0;
    m_textScaleX = m_scaleY = 1.0;
    m_angle = s.Rotation;
    m_rotationRad = m_angle * kPi / 180.0;
    m_sin = std::sin(m_rotationRad);
    m_cos = std::cos(m_rotationRad);

    m_magnification = s.Magnification / 100.0;
    // A record without a usable magnification draws at 100 %.
    if (!(m_magnification > 0) || !std::isfinite(m_magnification)) m_magnification = 1.0;
    m_module = s.CurBarXDimension / m_magnification / 72.0;
    m_barHeight = s.BarHeight / 72.0 / m_magnification;

    m_skewOffset = m_skewLead = 0;
    m_cursorX = 0;
    if (IsVantic128Class(v)) {
        m_skewOffset = std::fabs(m_barHeight / std::tan(112.5 * kPi / 180.0));
        EmbeddingFactors f = CurrentEmbeddingFactors;
        m_skewLead = s.BarHeight / 72.0 * (f.p * 384.0 / 301.0 + f.q);
        m_cursorX = m_skewLead;
        m_originY = (IsVantic128BesideClass(v) ? 0.05 : 2.6 / 72.0) * m_magnification;
    }

    m_textGap = s.DistanceToBars / 72.0;

    if (s.BearerBar < 0.45 || !std::isfinite(s.BearerBar))
        m_bearer = 0;
    else if (s.BearerBar < 1)
        m_bearer = 1.0 / 72.0;
    else
        m_bearer = s.BearerBar / 72.0;

    m_barWidthReduction = BwrInPoints(s);

    m_patternWidth = m_module * PatternModules(BarPattern, s.CurRatio, v);
    if (IsItf14PairClass(v) && s.MainText[0] && s.AddOnText[0]) {
        m_patternWidth += 8 * m_module;
        if (m_bearer > 0) m_patternWidth += s.BearerBar / 72.0 / m_magnification;
    }

    m_barColour = {ColourComponent(s.redBarsText), ColourComponent(s.greenBarsText), ColourComponent(s.blueBarsText)};
    m_spaceColour = {ColourComponent(s.redSpacesQuietZone), ColourComponent(s.greenSpacesQuietZone),
                     ColourComponent(s.blueSpacesQuietZone)};
}

void CSymbol::DrawSpecialText(DeviceContext&, int) {}
void CSymbol::AdjustSpecialBox(DeviceContext&) {}
void CSymbol::DrawAddOnText(DeviceContext&) {}
void CSymbol::MeasureStandardNumberLine(DeviceContext&) {}
void CSymbol::DrawStandardNumberLine(DeviceContext&) {}
void CSymbol::DrawEndPieces(DeviceContext&) {}
void CSymbol::DrawPicture(DeviceContext&) {}

void CSymbol::RotateRectangle() {
    double w = (m_leftMargin + m_patternWidth + m_rightMargin + m_skewOffset) * m_magnification + m_skewLead;
    double h = (m_topMargin + m_barHeight + m_bottomMargin) * m_scaleY * m_magnification;
    const DPoint corners[4] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
    for (int i = 0; i < 4; ++i) {
        m_corner[i].x = corners[i].x * m_cos - corners[i].y * m_sin;
        m_corner[i].y = corners[i].x * m_sin + corners[i].y * m_cos;
    }
    m_minX = m_maxX = m_corner[0].x;
    m_minY = m_maxY = m_corner[0].y;
    for (const DPoint& c : m_corner) {
        m_minX = std::min(m_minX, c.x);
        m_maxX = std::max(m_maxX, c.x);
        m_minY = std::min(m_minY, c.y);
        m_maxY = std::max(m_maxY, c.y);
    }
}

Point CSymbol::MapInches(double x, double y) const {
    return {ToOutputUnits(x * m_cos - y * m_sin + m_originX), ToOutputUnits(x * m_sin + y * m_cos + m_originY)};
}

Point CSymbol::MapSymbol(double sx, double sy) const {
    return MapInches(sx * m_magnification, sy * m_scaleY * m_magnification);
}

void CSymbol::GrowBoxTop(Point box[4], double amount) {
    // The top edge runs from corner 0 to corner 3; move both away from the
    // bottom edge (corners 1 and 2). Huge amounts stay inside the int range.
    const long long step = ToOutputUnits(amount / 1000.0);
    auto moved = [](int v, long long by) {
        return static_cast<int>(std::clamp<long long>(v + by, -1000000000LL, 1000000000LL));
    };
    long long dx = static_cast<long long>(box[0].x) - box[1].x;
    long long dy = static_cast<long long>(box[0].y) - box[1].y;
    int sx = (dx > 0) - (dx < 0);
    int sy = (dy > 0) - (dy < 0);
    box[0].x = moved(box[0].x, sx * step);
    box[3].x = moved(box[3].x, sx * step);
    box[0].y = moved(box[0].y, sy * step);
    box[3].y = moved(box[3].y, sy * step);
}

void CSymbol::ShiftDrawing(int dx, int dy) {
    for (Point* box : {m_symbolBox, m_bearerBox, m_bearerInner, m_backgroundBox}) {
        for (int i = 0; i < 4; ++i) {
            box[i].x += dx;
            box[i].y += dy;
        }
    }
}

FontSpec CSymbol::MakeFont(const std::string& face, double points, bool forDrawing, int weight, bool italic) const {
    FontSpec f;
    f.face = face;
    double height = points / 72.0 * 1000.0;
    if (forDrawing) height *= m_magnification * m_scaleY;
    f.height = ClampInt(height, -1e6, 1e6);
    f.escapement = 0;
    if (forDrawing) {
        long long e = (3600 - 10LL * SymbolSettings.Rotation) % 3600;
        if (e < 0) e += 3600;
        f.escapement = static_cast<int>(e);
    }
    f.weight = weight;
    f.italic = italic;
    return f;
}

FontSpec CSymbol::DrawingFont(double sizeFactor) const {
    const SettingsRecord& s = SymbolSettings;
    return MakeFont(s.FontName4humanreadable, s.Size * sizeFactor, true, s.Bold ? 700 : 400, s.Italic != 0);
}

FontSpec CSymbol::MeasuringFont() const {
    const SettingsRecord& s = SymbolSettings;
    return MakeFont(s.FontName4humanreadable, s.Size, false, s.Bold ? 700 : 400, s.Italic != 0);
}

bool CSymbol::SelectWithFallback(FontSpec font) {
    if (m_dc.SelectFont(font)) return true;
    if (font.face == "Arial") return false;
    SymbolSettings.FontName4humanreadable = "Arial";
    font.face = "Arial";
    return m_dc.SelectFont(font);
}

void CSymbol::SelectHumanReadableFont(double sizeFactor) {
    m_selectedFont = DrawingFont(sizeFactor);
    if (!SelectWithFallback(m_selectedFont)) {
        m_hasSelectedFont = false;
        return;
    }
    m_selectedFont.face = SymbolSettings.FontName4humanreadable;
    m_hasSelectedFont = true;
}

void CSymbol::RestoreSelectedFont() {
    if (m_hasSelectedFont) m_dc.SelectFont(m_selectedFont);
}

TextExtent CSymbol::MeasureText(std::string_view text) {
    bool ok = m_measureArial ? m_dc.SelectFont(MakeFont("Arial", 9.0, false, 400, false))
                             : SelectWithFallback(MeasuringFont());
    TextExtent e = ok ? m_dc.GetTextExtent(text) : TextExtent{};
    RestoreSelectedFont();
    return e;
}

TextExtent CSymbol::MeasureText() {
    bool ok = m_measureArial ? m_dc.SelectFont(MakeFont("Arial", 9.0, false, 400, false))
                             : SelectWithFallback(MeasuringFont());
    TextExtent e;
    if (ok) {
        FontMetrics m = m_dc.GetTextMetrics();
        e.cx = m.maxCharWidth;
        e.cy = m.height;
    }
    RestoreSelectedFont();
    return e;
}

void CSymbol::DrawBar(double x, double width, double reduction, int pass) {
    if (pass == 1) {
        double r = m_outputFlag == 1 ? reduction : 0;
        double left = m_leftMargin + x;
        double y0 = m_topMargin + m_barTopOffset;
        double y1 = m_topMargin + m_barHeight + m_barBottomOffset;
        double s = m_skewOffset;
        Point p[4] = {MapSymbol(left, y0), MapSymbol(left + width - r, y0), MapSymbol(left + width - r + s, y1),
                      MapSymbol(left + s, y1)};
        m_dc.Polygon(p, 4);
        std::copy(p, p + 4, m_lastBar);
    }
    m_cursorX += width;
}

void CSymbol::DrawString(double x, double y, std::string_view text, double sizeFactor, int align) {
    if (sizeFactor != 1.0) SelectHumanReadableFont(sizeFactor);
    bool opaque = IsVantic128Class(SymbolSettings.Variation);
    if (opaque) m_dc.SetBackground(true, m_spaceColour);
    m_dc.SetTextColour(m_barColour);
    m_dc.SetTextAlign(align);
    m_dc.TextOut(MapSymbol(m_leftMargin + x * m_textScaleX, m_topMargin + y), text);
    if (opaque) m_dc.SetBackground(false, m_spaceColour);
    if (sizeFactor != 1.0) SelectHumanReadableFont(1.0);
    m_textScaleX = 1.0;
}

void CSymbol::DrawChar(double x, double y, char c, double sizeFactor, int align) {
    if (sizeFactor != 1.0) SelectHumanReadableFont(sizeFactor);
    m_dc.SetTextColour(m_barColour);
    m_dc.SetTextAlign(align);
    m_dc.TextOut(MapSymbol(m_leftMargin + x * m_textScaleX, m_topMargin + y), std::string_view(&c, 1));
    if (sizeFactor != 1.0) SelectHumanReadableFont(1.0);
    m_textScaleX = 1.0;
}

bool CSymbol::TextFits() const { return true; }

// ---- CLinearSymbol ----

void CLinearSymbol::Layout(DeviceContext&, int) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    if (IsVantic128Class(v)) {
        m_leftMargin = m_rightMargin = s.CurBarXDimension * 10.0 / 72.0 / m_magnification;
    } else {
        m_leftMargin = LeftQuietZone(s.Family, v) / 72.0;
        m_rightMargin = RightQuietZone(s.Family, v) / 72.0;
    }
    if (IsItfSpecialTextClass(v)) {
        m_topMargin = m_bottomMargin = 0;
        return;
    }
    m_topMargin = m_bottomMargin = m_module;
    if (s.Hidden) return;

    BuildText();
    TextExtent e = MeasureText(HumanReadable);
    double tw = e.cx / 1000.0;
    double th = e.cy / 1000.0;
    if (tw > m_patternWidth) {
        // Vantic128 centred keeps its margins.
        if (s.Align != 1 || !IsVantic128Class(v))
            SpreadExcess(tw - m_patternWidth, s.Align, m_leftMargin, m_rightMargin);
    }
    if (s.TextAbove)
        m_topMargin += th + s.DistanceToBars / 72.0;
    else
        m_bottomMargin += th + s.DistanceToBars / 72.0;
}

void CLinearSymbol::DrawBars(DeviceContext&, int pass) {
    const SettingsRecord& s = SymbolSettings;
    const std::string& p = BarPattern;
    const double reduction = m_barWidthReduction / 72.0;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        char letter = p[i];
        char digit = p[i + 1];
        if (letter == '+' && digit == '+') {
            m_cursorX += 10 * m_module;
            if (m_bearer > 0) DrawBar(m_cursorX, s.BearerBar / 72.0 / m_magnification, 0, pass);
            m_cursorX += 10 * m_module;
        } else if (IsDigit(digit) && IsBarLetter(letter)) {
            DrawBar(m_cursorX, ElementModules(letter, digit, s.CurRatio, s.Variation) * m_module, reduction, pass);
        } else if (IsDigit(digit) && IsSpaceLetter(letter)) {
            m_cursorX += ElementModules(letter, digit, s.CurRatio, s.Variation) * m_module;
        }
    }
}

void CLinearSymbol::DrawText(DeviceContext&, int) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    BuildText();
    if (IsItfSpecialTextClass(v)) HumanReadable.clear();
    TextExtent e = MeasureText(HumanReadable);
    double tw = e.cx / 1000.0;
    double th = e.cy / 1000.0;

    double y;
    if (IsVantic128EmbeddedClass(v))
        y = m_barHeight - th + m_topMargin;
    else if (s.TextAbove)
        y = -th - m_textGap;
    else
        y = m_textGap + m_barHeight;

    double h = 0;
    if (s.Align == 1)
        h = (m_patternWidth - tw) / 2 +
            (IsVantic128EmbeddedClass(v) ? m_skewLead / m_magnification + m_skewOffset : m_skewOffset / 2);
    else if (s.Align == 2)
        h = m_patternWidth - tw;

    if (IsVantic128BesideClass(v) || HumanReadable.empty()) return;
    if (IsVantic128Class(v)) {
        DrawString(h, y, HumanReadable, 1.0, kAlignLeftTop);
        return;
    }
    const std::vector<double> lefts = CharacterLefts(HumanReadable, tw);
    for (std::size_t i = 0; i < HumanReadable.size(); ++i)
        DrawChar(h + lefts[i], y, HumanReadable[i], 1.0, kAlignLeftTop);
}

std::vector<double> CSymbol::CharacterLefts(std::string_view text, double width) {
    // Each character starts where the advances of the ones before it end, in
    // the selected font, spread over the measured width. The TIFF preview and
    // a font whose characters are all equally wide keep equal cells.
    const std::size_t n = text.size();
    std::vector<double> lefts(n);
    for (std::size_t i = 0; i < n; ++i) lefts[i] = static_cast<double>(i) * width / static_cast<double>(n);
    if (m_previewFlag || n < 2) return lefts;
    bool equal = true;
    const int first = m_dc.GetTextExtent(text.substr(0, 1)).cx;
    for (std::size_t i = 1; i < n && equal; ++i) equal = m_dc.GetTextExtent(text.substr(i, 1)).cx == first;
    const int whole = m_dc.GetTextExtent(text).cx;
    if (equal || whole <= 0) return lefts;
    for (std::size_t i = 1; i < n; ++i) lefts[i] = width * m_dc.GetTextExtent(text.substr(0, i)).cx / whole;
    return lefts;
}

void CLinearSymbol::BuildText() {
    const SettingsRecord& s = SymbolSettings;
    HumanReadable.assign(TextOf(s.OriginalMainText));
    if (!s.HideCheckDigits && s.CheckCharacter1) HumanReadable += static_cast<char>(s.CheckCharacter1);
    if (s.ShowStartStop) {
        // Start and stop letters A..D.
        HumanReadable.insert(HumanReadable.begin(), static_cast<char>('A' + (s.StartCharacter & 3)));
        HumanReadable += static_cast<char>('A' + (s.StopCharacter & 3));
    }
}

}  // namespace vg
