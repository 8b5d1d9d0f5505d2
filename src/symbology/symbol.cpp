#include "symbology/symbol.h"

#include <algorithm>
#include <cmath>

#include "geometry/settingsdefaults.h"
#include "model/catalogue.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"
#include "symbology/code128.h"
#include "device/rasterdc.h"
#include "symbology/code39.h"
#include "symbology/code93.h"
#include "symbology/eanupc.h"
#include "symbology/linear.h"

namespace vg {

std::string BarPattern;
std::string EncodedText;
DrawingSize ViewScrollSize;
DrawingSize LastDrawingExtent;

namespace {

constexpr double kPi = 3.1415926;

// Output units from inches: times 1000, truncated; huge or undefined values
// are held inside the int range.
int ToOutputUnits(double inches) {
    double v = inches * 1000.0;
    if (!(v == v)) return 0;
    if (v > 1e8) return 100000000;
    if (v < -1e8) return -100000000;
    return static_cast<int>(v);
}

int ClampInt(double v, double lo, double hi) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, lo, hi));
}

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void SetEncodedText(std::string_view text) {
    EncodedText.assign(text.substr(0, std::min(text.size(), kMaxEncodedText)));
}

void AppendElement(std::string_view element) { BarPattern.append(element); }

void InstallSymbologyHooks() {
    DefaultsHooks.emptyBarPattern = [] { BarPattern.clear(); };
}

bool IsBarLetter(char c) {
    return c == 'B' || c == 'A' || c == 'C' || c == 'b' || c == 'a' || c == 'c';
}

bool IsSpaceLetter(char c) {
    return c == 'S' || c == 'R' || c == 'T' || c == 's' || c == 'r' || c == 't';
}

double ElementModules(char letter, char digit, double ratio, int variation) {
    if (!IsDigit(digit) && digit != '+') return 0;
    if (letter == '+') return 12;
    if (!IsBarLetter(letter) && !IsSpaceLetter(letter)) return 0;
    if (digit == '+') return 0;
    if (digit == '2') {
        if (IsSpaceLetter(letter)) {
            if (variation == 49 || variation == 50) return 4;
            if (variation == 97) return 2;
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

int EncodeCurrentVariation() {
    // The encoders are the only writers of BarPattern: once one has run the
    // defaults can empty it.
    if (!DefaultsHooks.emptyBarPattern) InstallSymbologyHooks();
    int v = SymbolSettings.Variation;
    // Code 128, UCC/EAN-128 and the coupon codes (UPC-A/EAN-13 part first).
    if (IsCode128EncodedClass(v)) return EncodeCode128(v);
    // EAN/UPC and the standard-number EAN-13s.
    if (InRange(v, 26, 29) || v == 114 || v == 35 || v == 36 || v == 38 || InRange(v, 77, 80) ||
        InRange(v, 105, 111) || InRange(v, 134, 136) || v == 138 || v == 141 || v == 145 ||
        v == 146 || InRange(v, 72, 75) ||
        v == 101 || v == 102)
        return EncodeEanUpc(v);
    switch (GroupOf(v)) {
    case SymbolGroup::Code39:
    case SymbolGroup::Code39InItfFrame: return EncodeCode39();
    case SymbolGroup::Code93: return EncodeCode93();
    case SymbolGroup::Codabar: return EncodeCodabar(v);
    case SymbolGroup::Code25: return EncodeCode25();
    case SymbolGroup::Itf: return EncodeItf(v);
    case SymbolGroup::Msi: return EncodeMsi(v);
    case SymbolGroup::Postnet: return EncodePostnet();
    case SymbolGroup::Fim: return EncodeFim(v);
    case SymbolGroup::Pharmacode: return EncodePharmacode(v);
    default: break;
    }
    // No encoder (yet): nothing is left to draw from an earlier symbol.
    BarPattern.clear();
    EncodedText.clear();
    return 0;
}

// ---- Factory ----

namespace {

template <class T>
bool Run(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* handle) {
    T symbol(dc, clip, outputFlag, previewFlag, handle);
    symbol.RenderSymbol();
    return true;
}

}  // namespace

bool DrawSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag,
                void* previewHandle) {
    const int v = SymbolSettings.Variation;
    auto run = [&]<class T>() { return Run<T>(dc, clip, outputFlag, previewFlag, previewHandle); };
    if (IsVantic128Class(v) && ProgrammaticInput) SetEmbeddingFactors(v);

    if (InRange(v, 1, 5) || v == 115) return run.operator()<CCodabarSymbol>();
    if (InRange(v, 6, 9) || InRange(v, 88, 96) || InRange(v, 116, 123))
        return run.operator()<CCode128Symbol>();
    if (v == 10) return run.operator()<CCode25Symbol>();
    if (InRange(v, 11, 23) || v == 103 || v == 104) return run.operator()<CCode39Symbol>();
    if (v == 24 || v == 25) return run.operator()<CCode93Symbol>();
    if (v == 26 || v == 28 || v == 114) return run.operator()<CEan13Symbol>();
    if (v == 27 || v == 29) return run.operator()<CEan8Symbol>();
    if (InRange(v, 30, 33)) return run.operator()<CFimSymbol>();
    if (v == 34 || v == 37 || v == 86 || v == 87) return run.operator()<CStandardNumberSymbol>();
    if (v == 35 || v == 36 || v == 38 || InRange(v, 77, 80) || InRange(v, 105, 111) ||
        InRange(v, 134, 136) || v == 138 || v == 141 || v == 145 || v == 146)
        return run.operator()<CBooklandSymbol>();
    if (InRange(v, 39, 45) || v == 76 || InRange(v, 98, 100)) return run.operator()<CItfSymbol>();
    if (InRange(v, 46, 48)) return run.operator()<CMsiSymbol>();
    if (v == 49 || v == 50 || v == 97) return run.operator()<CPharmacodeSymbol>();
    if (InRange(v, 51, 56)) return run.operator()<CPostnetSymbol>();
    if (v == 60 || InRange(v, 66, 71) || InRange(v, 124, 132))
        return run.operator()<CUccEan128Symbol>();
    if (InRange(v, 61, 65)) return run.operator()<CUccCouponSymbol>();
    if (InRange(v, 81, 85)) return run.operator()<CEan99CouponSymbol>();
    if (v == 72 || v == 73) return run.operator()<CUpcASymbol>();
    if (InRange(v, 74, 75) || v == 101 || v == 102) return run.operator()<CUpcESymbol>();
    return false;
}

// ---- CSymbol ----

CSymbol::CSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag,
                 void* previewHandle)
    : m_dc(dc),
      m_clip(clip),
      m_outputFlag(outputFlag),
      m_previewFlag(previewFlag),
      m_previewHandle(previewHandle) {}

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
        m_originY = (v == 117 ? 0.05 : 2.6 / 72.0) * m_magnification;
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
    if ((v == 41 || v == 42) && s.MainText[0] && s.AddOnText[0]) {
        m_patternWidth += 8 * m_module;
        if (m_bearer > 0) m_patternWidth += s.BearerBar / 72.0 / m_magnification;
    }

    m_barColour = {ColourComponent(s.redBarsText), ColourComponent(s.greenBarsText),
                   ColourComponent(s.blueBarsText)};
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
    double w = (m_leftMargin + m_patternWidth + m_rightMargin + m_skewOffset) * m_magnification +
               m_skewLead;
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
    return {ToOutputUnits(x * m_cos - y * m_sin + m_originX),
            ToOutputUnits(x * m_sin + y * m_cos + m_originY)};
}

Point CSymbol::MapSymbol(double sx, double sy) const {
    return MapInches(sx * m_magnification, sy * m_scaleY * m_magnification);
}

namespace {

struct BoxBounds {
    int x0, y0, x1, y1;
};

BoxBounds BoundsOf(const Point box[4]) {
    BoxBounds b{box[0].x, box[0].y, box[0].x, box[0].y};
    for (int i = 1; i < 4; ++i) {
        b.x0 = std::min(b.x0, box[i].x);
        b.y0 = std::min(b.y0, box[i].y);
        b.x1 = std::max(b.x1, box[i].x);
        b.y1 = std::max(b.y1, box[i].y);
    }
    return b;
}

}  // namespace

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
    for (Point* box : {m_symbolBox, m_bearerBox, m_bearerInner, m_backgroundBox, m_textBox}) {
        for (int i = 0; i < 4; ++i) {
            box[i].x += dx;
            box[i].y += dy;
        }
    }
}

FontSpec CSymbol::MakeFont(const std::string& face, double points, bool forDrawing, int weight,
                           bool italic) const {
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
    return MakeFont(s.FontName4humanreadable, s.Size * sizeFactor, true, s.Bold ? 700 : 400,
                    s.Italic != 0);
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
        Point p[4] = {MapSymbol(left, y0), MapSymbol(left + width - r, y0),
                      MapSymbol(left + width - r + s, y1), MapSymbol(left + s, y1)};
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
    m_dc.TextOut(MapSymbol(m_leftMargin + x * m_textScaleX, m_topMargin + y),
                 std::string_view(&c, 1));
    if (sizeFactor != 1.0) SelectHumanReadableFont(1.0);
    m_textScaleX = 1.0;
}

bool CSymbol::TextFits() const { return true; }

void CSymbol::BearerBars(int pass) {
    if (pass == 0) {
        // The bearer box is the symbol box as it stands now, grown on every side.
        int t = ToOutputUnits(m_bearer);
        BoxBounds s = BoundsOf(m_symbolBox);
        BoxBounds b{s.x0 - t, s.y0 - t, s.x1 + t, s.y1 + t};
        std::copy(m_symbolBox, m_symbolBox + 4, m_bearerInner);
        for (int i = 0; i < 4; ++i) {
            m_bearerBox[i].x = m_symbolBox[i].x == s.x0 ? b.x0 : b.x1;
            m_bearerBox[i].y = m_symbolBox[i].y == s.y0 ? b.y0 : b.y1;
        }
        if (m_bearer > 0) std::copy(m_bearerBox, m_bearerBox + 4, m_backgroundBox);
        return;
    }
    if (m_bearer <= 0) return;
    BoxBounds s = BoundsOf(m_bearerInner);
    BoxBounds b = BoundsOf(m_bearerBox);
    auto band = [this](int x0, int y0, int x1, int y1) {
        Point p[4] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
        m_dc.Polygon(p, 4);
    };
    // Bars run vertically at 0 and 180 degrees: their ends face the top and bottom bands.
    int quarter = static_cast<int>(std::lround(m_angle / 90.0)) & 1;
    bool open = SymbolSettings.Variation == 42;
    if (quarter == 0) {
        band(b.x0, b.y0, b.x1, s.y0);
        band(b.x0, s.y1, b.x1, b.y1);
        if (!open) {
            band(b.x0, s.y0, s.x0, s.y1);
            band(s.x1, s.y0, b.x1, s.y1);
        }
    } else {
        band(b.x0, b.y0, s.x0, b.y1);
        band(s.x1, b.y0, b.x1, b.y1);
        if (!open) {
            band(s.x0, b.y0, s.x1, s.y0);
            band(s.x0, s.y1, s.x1, b.y1);
        }
    }
}

void CSymbol::RenderSymbol() {
    SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const bool screen = m_outputFlag == 0 && !m_previewFlag;
    // Everything selected from here on (the measuring fonts included) is undone at the end.
    m_dc.SaveState();
    BeginDraw();

    Reset(m_dc);
    Layout(m_dc, m_outputFlag);
    RotateRectangle();

    if (screen) {
        int ppx = m_dc.PixelsPerInchX() > 0 ? m_dc.PixelsPerInchX() : 96;
        int ppy = m_dc.PixelsPerInchY() > 0 ? m_dc.PixelsPerInchY() : 96;
        m_originX = -m_minX + (35.0 + m_clip.left) / ppx + m_bearer;
        m_originY = -m_minY + (35.0 + m_clip.top) / ppy + m_bearer;
    }

    for (int i = 0; i < 4; ++i)
        m_symbolBox[i] = {ToOutputUnits(m_originX + m_corner[i].x),
                          ToOutputUnits(m_originY + m_corner[i].y)};
    std::copy(m_symbolBox, m_symbolBox + 4, m_backgroundBox);
    std::copy(m_symbolBox, m_symbolBox + 4, m_bearerBox);

    // Measure pass.
    DrawBars(m_dc, 0);
    m_cursorX = 0;
    m_barBottomOffset = m_barTopOffset = 0;
    MeasureStandardNumberLine(m_dc);
    std::copy(m_symbolBox, m_symbolBox + 4, m_backgroundBox);
    BearerBars(0);
    const bool specialText = (InRange(v, 41, 45) || v == 76) && !s.Hidden;
    if (specialText) {
        DrawSpecialText(m_dc, 0);
        AdjustSpecialBox(m_dc);
    }
    MeasureExtras(m_dc);
    if (!s.Hidden) MeasureSideText(m_dc);

    if (screen) {
        // Scroll size: the near edge plus the far edge of the drawing (a margin
        // like the left/top one on the far side), plus 29 at 0 degrees.
        BoxBounds e = BoundsOf(m_backgroundBox);
        const int extra = (static_cast<int>(std::lround(m_angle / 90.0)) & 3) == 0 ? 29 : 0;
        int ppx = m_dc.PixelsPerInchX() > 0 ? m_dc.PixelsPerInchX() : 96;
        int ppy = m_dc.PixelsPerInchY() > 0 ? m_dc.PixelsPerInchY() : 96;
        long long clipW = (m_clip.right - m_clip.left) * 1000LL / ppx;
        long long clipH = (m_clip.bottom - m_clip.top) * 1000LL / ppy;
        long long w = std::max<long long>(0LL + e.x0 + e.x1 + extra, clipW);
        long long h = std::max<long long>(0LL + e.y0 + e.y1 + extra, clipH);
        m_drawingSize.cx = static_cast<int>(std::clamp<long long>(w, 0, 32767));
        m_drawingSize.cy = static_cast<int>(std::clamp<long long>(h, 0, 32767));
        ViewScrollSize = m_drawingSize;
    }

    BoxBounds bg = BoundsOf(m_backgroundBox);
    if (m_outputFlag == 1 && s.Format != 2) m_dc.SetWindowExtent(bg.x1 - bg.x0, bg.y1 - bg.y0);

    int dx = bg.x0 < 0 ? -bg.x0 : 0;
    int dy = bg.y0 < 0 ? -bg.y0 : 0;
    if (dx || dy) {
        // Bars and texts move with the boxes on every target, so that the
        // background stays under them.
        ShiftDrawing(dx, dy);
        m_originX += dx / 1000.0;
        m_originY += dy / 1000.0;
    }
    bg = BoundsOf(m_backgroundBox);
    m_extentMin = {bg.x0, bg.y0};
    m_extentMax = {bg.x1, bg.y1};
    LastDrawingExtent = {bg.x1 - bg.x0, bg.y1 - bg.y0};

    if (m_previewFlag && !PreparePreview()) {
        m_dc.RestoreState();
        EndDraw();
        return;
    }

    // Drawing pass.
    m_dc.SetBrushColour(m_spaceColour);
    SelectHumanReadableFont(1.0);
    const bool whiteSpaces =
        s.redSpacesQuietZone + s.greenSpacesQuietZone + s.blueSpacesQuietZone == 300;
    if (!s.TransparentBackground && !(m_previewFlag && whiteSpaces))
        m_dc.Polygon(m_backgroundBox, 4);
    if (!m_outputFlag && (s.Family == kFamilyFim || IsPostnetLowerRightClass(v))) {
        Point outline[5] = {m_symbolBox[0], m_symbolBox[1], m_symbolBox[2], m_symbolBox[3],
                            m_symbolBox[0]};
        m_dc.DottedOutline(outline, 5, m_barColour);
    }

    m_dc.SetBrushColour(m_barColour);
    m_cursorX = IsVantic128Class(v) ? m_skewLead / m_magnification : 0;
    DrawBars(m_dc, 1);
    DrawEndPieces(m_dc);

    m_dc.SetTextColour(m_barColour);
    m_dc.SetBackground(false, m_spaceColour);
    if (!s.Hidden) {
        DrawText(m_dc, m_outputFlag);
        if ((s.AddOnText[0] || s.CouponFormat128partText[0]) && !s.HideAddonText && TextFits())
            DrawAddOnText(m_dc);
    }

    DrawStandardNumberLine(m_dc);
    m_dc.SetBrushColour(m_barColour);
    BearerBars(1);
    m_dc.SetBackground(false, m_spaceColour);
    DrawVerificationMark(m_dc);
    if (specialText) DrawSpecialText(m_dc, 1);
    DrawExtras(m_dc);
    if (!s.Hidden) DrawSideText(m_dc);

    m_dc.RestoreState();
    DrawPicture(m_dc);
    if (m_previewFlag) FinishPreview();
    EndDraw();
}

bool CSymbol::PreparePreview() {
    auto* raster = dynamic_cast<RasterDC*>(&m_dc);
    if (raster == nullptr || m_previewHandle == nullptr) return false;
    const int w = raster->ToPixelsX(m_extentMax.x) - raster->ToPixelsX(m_extentMin.x);
    const int h = raster->ToPixelsY(m_extentMax.y) - raster->ToPixelsY(m_extentMin.y);
    raster->SetOrigin(m_extentMin);
    raster->SetPaperColour(m_spaceColour);
    return raster->Allocate(std::max(w, 1), std::max(h, 1));
}

void CSymbol::FinishPreview() {
    auto* raster = dynamic_cast<RasterDC*>(&m_dc);
    if (raster != nullptr && m_previewHandle != nullptr)
        *static_cast<MonoBitmap*>(m_previewHandle) = raster->TakeBitmap();
}

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
    if (InRange(v, 41, 45) || v == 76) {
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
        double excess = tw - m_patternWidth;
        if (s.Align == 1) {
            if (!IsVantic128Class(v)) {
                m_leftMargin += excess / 2;
                m_rightMargin += excess / 2;
            }
        } else if (s.Align == 2) {
            m_leftMargin += excess;
        } else {
            m_rightMargin += excess;
        }
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
            DrawBar(m_cursorX, ElementModules(letter, digit, s.CurRatio, s.Variation) * m_module,
                    reduction, pass);
        } else if (IsDigit(digit) && IsSpaceLetter(letter)) {
            m_cursorX += ElementModules(letter, digit, s.CurRatio, s.Variation) * m_module;
        }
    }
}

void CLinearSymbol::DrawText(DeviceContext&, int) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    BuildText();
    if (InRange(v, 41, 45) || v == 76) HumanReadable.clear();
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
            (IsVantic128EmbeddedClass(v) ? m_skewLead / m_magnification + m_skewOffset
                                         : m_skewOffset / 2);
    else if (s.Align == 2)
        h = m_patternWidth - tw;

    if (v == 117 || HumanReadable.empty()) return;
    if (IsVantic128Class(v)) {
        DrawString(h, y, HumanReadable, 1.0, kAlignLeftTop);
        return;
    }
    const double n = static_cast<double>(HumanReadable.size());
    for (std::size_t i = 0; i < HumanReadable.size(); ++i)
        DrawChar(h + static_cast<double>(i) * tw / n, y, HumanReadable[i], 1.0, kAlignLeftTop);
}

void CLinearSymbol::BuildText() {
    const SettingsRecord& s = SymbolSettings;
    HumanReadable.assign(TextOf(s.OriginalMainText));
    if (!s.HideCheckDigits && s.CheckCharacter1)
        HumanReadable += static_cast<char>(s.CheckCharacter1);
    if (s.ShowStartStop) {
        // Start and stop letters A..D.
        HumanReadable.insert(HumanReadable.begin(),
                             static_cast<char>('A' + (s.StartCharacter & 3)));
        HumanReadable += static_cast<char>('A' + (s.StopCharacter & 3));
    }
}

}  // namespace vg
