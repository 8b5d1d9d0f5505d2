// The extras around a symbol: verification mark, additional text, crop marks
// and specification block, each with a measure pass that grows the background
// box and a drawing pass.
#include <algorithm>
#include <cmath>
#include <string>

#include "model/catalogue.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"
#include "render/specblock.h"
#include "render/drawingsequence.h"

namespace vg {

namespace {

constexpr int kMarkGap = 41;        // mark and marks' start, 1/1000 inch
constexpr int kCropEnd = 166;       // crop marks end this far from the corner
constexpr int kSpecLineStep = 139;  // specification block line distance
constexpr int kSpecInset = 41;

BoxBounds Unite(BoxBounds a, BoxBounds b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace

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

namespace {

bool SpecialTextShown(const SettingsRecord& s) { return (OneOf(s.Variation, {41, 42, 43, 44, 45, 76})) && !s.Hidden; }

bool MarkApplies(const SettingsRecord& s) {
    return s.Prufmark != 0 && !BarPattern.empty() && s.Family != kFamilyPostnet && s.Family != kFamilyFim;
}

// Modules from the pattern's start to the right edge of its last bar.
double LastBarEndModules(const SettingsRecord& s) {
    double at = 0, end = 0;
    for (std::size_t i = 0; i + 1 < BarPattern.size(); i += 2) {
        at += ElementModules(BarPattern[i], BarPattern[i + 1], s.CurRatio, s.Variation);
        if (IsBarLetter(BarPattern[i])) end = at;
    }
    return end;
}

}  // namespace

// ---- Frame of the unrotated symbol ----

Point DrawingSequence::Turn(double u, double v) const {
    const int c = static_cast<int>(std::lround(sym.m_cos)), sn = static_cast<int>(std::lround(sym.m_sin));
    return {OutputUnits(std::round(u * c - v * sn)), OutputUnits(std::round(u * sn + v * c))};
}

void DrawingSequence::SetBoxFromBounds(Point box[4], int x0, int y0, int x1, int y1) const {
    const int c = static_cast<int>(std::lround(sym.m_cos)), sn = static_cast<int>(std::lround(sym.m_sin));
    static constexpr int kCorner[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
        const int su = kCorner[i][0] ? 1 : -1, sv = kCorner[i][1] ? 1 : -1;
        const int dx = su * c - sv * sn, dy = su * sn + sv * c;
        box[i] = {dx > 0 ? x1 : x0, dy > 0 ? y1 : y0};
    }
}

void DrawingSequence::ReferenceBox(Point box[4]) const {
    std::copy(sym.m_bearer > 0 ? sym.m_bearerBox : sym.m_symbolBox,
              (sym.m_bearer > 0 ? sym.m_bearerBox : sym.m_symbolBox) + 4, box);
    if (m_markHeight > 0) sym.GrowBoxTop(box, m_markHeight);
}

void DrawingSequence::UniteBackground(int x0, int y0, int x1, int y1) {
    BoxBounds b = Unite(BoundsOf(sym.m_backgroundBox), BoxBounds{x0, y0, x1, y1});
    SetBoxFromBounds(sym.m_backgroundBox, b.x0, b.y0, b.x1, b.y1);
}

FontSpec DrawingSequence::CaptionFont(bool forDrawing) const {
    FontSpec f = sym.MakeFont("Arial", 9.0, false, 400, false);
    if (forDrawing) f.escapement = sym.MakeFont("Arial", 9.0, true, 400, false).escapement;
    return f;
}

// ---- Verification mark ----

std::string DrawingSequence::MarkCaption() const {
    return "GAIN TEST " + std::to_string(SymbolSettings.PrinterDpi) + " DPI";
}

void DrawingSequence::MeasureVerificationMark() {
    const SettingsRecord& s = SymbolSettings;
    m_markHeight = 0;
    if (!MarkApplies(s)) return;
    const double mag = sym.m_magnification;
    m_markSquare = sym.m_outputFlag == 1 ? (sym.m_module * mag - sym.m_barWidthReduction / 72.0) * 1000.0
                                         : sym.m_module * mag * 1000.0;
    if (!(m_markSquare >= 1)) m_markSquare = 1;
    m_markRows = s.Prufmark == 1 ? 1 : 6;
    // The rows run from the start of the bars (the bearer's outer edge) to the end of the last bar.
    const double t = sym.m_bearer > 0 ? sym.m_bearer * 1000.0 : 0;
    m_markFrom = sym.m_bearer > 0 ? -t : sym.m_leftMargin * mag * 1000.0;
    m_markTo = (sym.m_leftMargin + LastBarEndModules(s) * sym.m_module) * mag * 1000.0;
    double height = kMarkGap + m_markRows * 2 * m_markSquare;

    sym.m_measureArial = true;
    const TextExtent caption = sym.MeasureText(MarkCaption());
    sym.m_measureArial = false;
    m_markCaption = caption.cx > 0 && caption.cx < m_markTo - m_markFrom;
    if (m_markCaption) height += caption.cy;
    m_markHeight = OutputUnits(height);

    // The symbol moves away from the mark; the background keeps room for it.
    const Point shift = Turn(0, m_markHeight);
    sym.ShiftDrawing(shift.x, shift.y);
    sym.m_originX += shift.x / 1000.0;
    sym.m_originY += shift.y / 1000.0;
    sym.GrowBoxTop(sym.m_backgroundBox, m_markHeight);
}

void DrawingSequence::DrawVerificationMark(DeviceContext& dc) {
    if (m_markHeight <= 0) return;
    // Frame: u along the symbol from the symbol box's corner 0, v down.
    const Point o = sym.m_symbolBox[0];
    const double sq = m_markSquare;
    const double top = sym.m_bearer > 0 ? -sym.m_bearer * 1000.0 : 0;
    auto at = [&](double u, double v) {
        Point p = Turn(u, v);
        return Point{o.x + p.x, o.y + p.y};
    };
    dc.SetBrushColour(sym.m_barColour);
    // Never a row wider than a page, whatever the symbol's width, nor more
    // squares than a symbol has modules (a reduction near the module's width
    // leaves squares of a thousandth of an inch).
    constexpr long kMostSquares = 20000;
    const long most = std::min(kMostSquares, static_cast<long>(std::floor(kLargestPageUnits / sq)));
    for (int row = 0; row < m_markRows; ++row) {
        const double base = top - kMarkGap - row * 2 * sq;
        long k = 0;
        for (double u = m_markFrom; u + sq <= m_markTo + 1e-6 && k < most; u += sq, ++k) {
            const double v1 = base - (k % 2 ? sq : 0), v0 = v1 - sq;
            Point p[4] = {at(u, v0), at(u, v1), at(u + sq, v1), at(u + sq, v0)};
            dc.Polygon(p, 4);
        }
    }
    if (!m_markCaption) return;
    if (!dc.SelectFont(CaptionFont(true))) return;
    dc.SetTextColour(sym.m_barColour);
    dc.SetBackground(false, sym.m_spaceColour);
    dc.SetTextAlign(kAlignLeftTop);
    dc.TextOut(at(m_markFrom, top - m_markHeight), MarkCaption());
    sym.RestoreSelectedFont();
}

// ---- Additional text ----

std::string HumanReadableAsText(const SettingsRecord& s) {
    const int v = s.Variation;
    auto withCheck = [](std::string_view text, uint8_t check) {
        std::string t(text);
        if (check) t += static_cast<char>(check);
        return t;
    };
    if (IsItf14PairClass(v)) {
        if (s.MainText[0]) return withCheck(TextOf(s.MainText), s.CheckCharacter1);
        return withCheck(TextOf(s.AddOnText), s.CheckCharacter2);
    }
    if ((v >= 61 && v <= 65) || (v >= 81 && v <= 85))
        return withCheck(TextOf(s.CouponFormatUPCpartText), s.CheckCharacter1);
    if (s.Family == kFamilyCode93) return std::string(TextOf(s.OriginalMainText));
    return withCheck(TextOf(s.OriginalMainText), s.CheckCharacter1);
}

FontSpec DrawingSequence::AdditionalTextFont(bool forDrawing) const {
    const SettingsRecord& s = SymbolSettings;
    FontSpec f = sym.MakeFont(s.FontName4AdditionalText, s.SizeAT * sym.m_magnification, false, s.BoldAT ? 700 : 400,
                              s.ItalicAT != 0);
    if (forDrawing) {
        long long e = (360LL - s.Rotation4AdditionalText - s.Rotation) * 10 % 3600;
        if (e < 0) e += 3600;
        f.escapement = static_cast<int>(e);
    }
    return f;
}

bool DrawingSequence::SelectAdditionalTextFont(DeviceContext& dc, bool forDrawing) {
    FontSpec f = AdditionalTextFont(forDrawing);
    if (dc.SelectFont(f)) return true;
    f.face = "Arial";
    return dc.SelectFont(f);
}

void DrawingSequence::MeasureAdditionalText(DeviceContext& dc) {
    SettingsRecord& s = SymbolSettings;
    m_hasTextBox = false;
    if (s.AdditionalText.empty()) return;
    if (s.UseHumanReadablesAsText) s.AdditionalText = HumanReadableAsText(s);
    const std::string& text = s.AdditionalText;

    TextExtent e{};
    if (SelectAdditionalTextFont(dc, false)) e = dc.GetTextExtent(text);
    sym.RestoreSelectedFont();
    const double mag = s.Magnification / 100.0;
    const double twPoints = mag > 0 ? e.cx / 1000.0 * 72.0 / mag : 0;  // nominal

    const int f = s.Family, v = s.Variation;
    const double W = ComputeSymbolWidth(f, v, static_cast<int>(std::string_view(TextOf(s.AddOnText)).size()),
                                        BarPattern, s.CurRatio, DefaultXDimension(f, v), DefaultWideBase(f, v));
    const double quiet = LeftQuietZone(f, v);
    m_textPitch = 0;
    switch (s.AlignAT) {
    case 1: s.H = quiet + (W - twPoints) / 2; break;
    case 2: s.H = quiet + W - twPoints; break;
    case 3:
        m_textPitch = W / (static_cast<double>(text.size()) + 1);
        s.H = quiet + m_textPitch + (mag > 0 ? s.BearerBar / mag : 0);
        break;
    default: break;
    }

    // Lower starting corner of the text cell in the symbol's frame, then the
    // cell's top-left as the text reads.
    const double hh = std::trunc(s.H * 1000.0 / 72.0 * mag);
    const double vv = std::trunc(s.V * 1000.0 / 72.0 * mag);
    double q = 0;
    if (SpecialTextShown(s) && s.TextAbove)
        q = sym.MeasureText().cy * mag + std::trunc(s.DistanceToBars * 1000.0 / 72.0);
    const double th = e.cy;
    double du = 0, dv = -th;
    switch (s.Rotation4AdditionalText) {
    case 90: du = th, dv = 0; break;
    case 180: du = 0, dv = th; break;
    case 270: du = -th, dv = 0; break;
    default: break;
    }
    m_textOffset = Turn(hh + du, vv - q + dv);
    m_textExtent = e;

    // The cell turned by the text's angle (clockwise) and the symbol's.
    const double r = s.Rotation4AdditionalText * 3.14159265358979323846 / 180.0;
    const double cr = std::round(std::cos(r)), sr = std::round(std::sin(r));
    const double run = m_textPitch > 0 ? m_textPitch * 1000.0 / 72.0 * mag * (text.size() - 1) +
                                             e.cx / std::max<double>(1, text.size())
                                       : e.cx;
    Point ref[4];
    ReferenceBox(ref);
    const Point anchor{ref[0].x + m_textOffset.x, ref[0].y + m_textOffset.y};
    BoxBounds b{anchor.x, anchor.y, anchor.x, anchor.y};
    for (auto [x, y] : {std::pair<double, double>{run, 0}, {run, th}, {0, th}}) {
        const Point p = Turn(x * cr - y * sr, x * sr + y * cr);
        b = Unite(b, BoxBounds{anchor.x + p.x, anchor.y + p.y, anchor.x + p.x, anchor.y + p.y});
    }
    SetBoxFromBounds(m_textBox, b.x0, b.y0, b.x1, b.y1);
    m_hasTextBox = true;
    UniteBackground(b.x0, b.y0, b.x1, b.y1);
}

void DrawingSequence::DrawAdditionalText(DeviceContext& dc) {
    const SettingsRecord& s = SymbolSettings;
    if (!m_hasTextBox || s.AdditionalText.empty()) return;
    if (!SelectAdditionalTextFont(dc, true)) return;
    Point ref[4];
    ReferenceBox(ref);
    const Point anchor{ref[0].x + m_textOffset.x, ref[0].y + m_textOffset.y};
    dc.SetTextColour(sym.m_barColour);
    dc.SetBackground(false, sym.m_spaceColour);
    dc.SetTextAlign(kAlignLeftTop);
    if (m_textPitch <= 0) {
        dc.TextOut(anchor, s.AdditionalText);
    } else {
        // One character per cell along the text's turned baseline.
        const double r = s.Rotation4AdditionalText * 3.14159265358979323846 / 180.0;
        const double cr = std::round(std::cos(r)), sr = std::round(std::sin(r));
        const double pitch = m_textPitch * 1000.0 / 72.0 * (s.Magnification / 100.0);
        for (std::size_t i = 0; i < s.AdditionalText.size(); ++i) {
            const Point p = Turn(i * pitch * cr, i * pitch * sr);
            dc.TextOut({anchor.x + p.x, anchor.y + p.y}, std::string_view(&s.AdditionalText[i], 1));
        }
    }
    sym.RestoreSelectedFont();
}

// ---- Crop marks ----

void DrawingSequence::CropCorners(int& x0, int& y0, int& x1, int& y1) const {
    Point ref[4];
    ReferenceBox(ref);
    BoxBounds b = BoundsOf(ref);
    if (m_hasTextBox) b = Unite(b, BoundsOf(m_textBox));
    if (SpecialTextShown(SymbolSettings)) b = Unite(b, BoundsOf(sym.m_symbolBox));
    x0 = b.x0, y0 = b.y0, x1 = b.x1, y1 = b.y1;
}

void DrawingSequence::MeasureCropMarks() {
    if (!SymbolSettings.bCropMarks) return;
    BoxBounds b = BoundsOf(sym.m_backgroundBox);
    SetBoxFromBounds(sym.m_backgroundBox, b.x0 - kCropEnd, b.y0 - kCropEnd, b.x1 + kCropEnd, b.y1 + kCropEnd);
}

void DrawingSequence::DrawCropMarks(DeviceContext& dc) {
    if (!SymbolSettings.bCropMarks) return;
    int x0, y0, x1, y1;
    CropCorners(x0, y0, x1, y1);
    auto line = [&](int ax, int ay, int bx, int by) { dc.Line({ax, ay}, {bx, by}, sym.m_barColour, 0); };
    for (int x : {x0, x1}) {
        const int out = x == x0 ? -1 : 1;
        for (int y : {y0, y1}) {
            const int down = y == y0 ? -1 : 1;
            line(x + out * kMarkGap, y, x + out * kCropEnd, y);
            line(x, y + down * kMarkGap, x, y + down * kCropEnd);
        }
    }
}

// ---- Specification block ----

void DrawingSequence::SpecBlockOrigin(int& x, int& y) const {
    Point ref[4];
    ReferenceBox(ref);
    BoxBounds b = BoundsOf(ref);
    if (m_hasTextBox || SpecialTextShown(SymbolSettings)) {
        // The texts' box, without the crop marks' margin.
        b = Unite(b, BoundsOf(sym.m_symbolBox));
        if (m_hasTextBox) b = Unite(b, BoundsOf(m_textBox));
    }
    x = b.x0 + kSpecInset;
    y = b.y1 + kSpecInset;
}

void DrawingSequence::MeasureSpecBlock(DeviceContext& dc) {
    m_specLines.clear();
    if (!AnySpecBlockSwitch(SymbolSettings)) return;
    m_specLines = SpecBlockLines(SymbolSettings);
    if (m_specLines.empty()) return;
    int width = 0, widest = 0;
    if (dc.SelectFont(CaptionFont(false))) {
        widest = dc.GetTextMetrics().maxCharWidth;
        for (const SpecLine& line : m_specLines) width = std::max(width, SpecTextWidth(dc, line));
    }
    sym.RestoreSelectedFont();
    int x, y;
    SpecBlockOrigin(x, y);
    UniteBackground(x, y, x + width + widest, y + static_cast<int>(m_specLines.size()) * kSpecLineStep);
}

int DrawingSequence::SpecTextWidth(DeviceContext& dc, const SpecLine& line) {
    return dc.DrawsUnicode() ? dc.GetTextExtentUtf8(line.utf8).cx : dc.GetTextExtent(line.ansi).cx;
}

void DrawingSequence::DrawSpecBlock(DeviceContext& dc) {
    if (m_specLines.empty() || !dc.SelectFont(CaptionFont(false))) return;
    int x, y;
    SpecBlockOrigin(x, y);
    dc.SetTextColour(sym.m_barColour);
    dc.SetBackground(false, sym.m_spaceColour);
    dc.SetTextAlign(kAlignLeftTop);
    for (const SpecLine& line : m_specLines) {
        if (dc.DrawsUnicode())
            dc.TextOutUtf8({x, y}, line.utf8);
        else
            dc.TextOut({x, y}, line.ansi);
        y += kSpecLineStep;
    }
    sym.RestoreSelectedFont();
}

// ---- Passes ----

void DrawingSequence::MeasureExtras(DeviceContext& dc) {
    MeasureVerificationMark();
    MeasureAdditionalText(dc);
    MeasureCropMarks();
    MeasureSpecBlock(dc);
}

void DrawingSequence::DrawExtras(DeviceContext& dc) {
    DrawAdditionalText(dc);
    DrawCropMarks(dc);
    DrawSpecBlock(dc);
}

}  // namespace vg
