#include "render/drawsymbol.h"

#include <algorithm>
#include <cmath>

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "render/drawingsequence.h"
#include "device/rasterdc.h"
#include "symbology/code128.h"
#include "symbology/eanupc.h"
#include "symbology/linear.h"

namespace vg {

DrawingSize ViewScrollSize;
DrawingSize LastDrawingExtent;

// ---- Factory ----

namespace {

template <class T>
bool Run(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* handle) {
    T symbol(dc, clip, outputFlag, previewFlag, handle);
    DrawingSequence(symbol).Run();
    return true;
}

}  // namespace

bool DrawSymbol(DeviceContext& dc, const ClipRect& clip, int outputFlag, int previewFlag, void* previewHandle) {
    const int v = SymbolSettings.Variation;
    auto run = [&]<class T>() { return Run<T>(dc, clip, outputFlag, previewFlag, previewHandle); };
    if (IsVantic128Class(v) && ProgrammaticInput) SetEmbeddingFactors(v);

    switch (GroupOf(v)) {
    case SymbolGroup::Codabar: return run.operator()<CCodabarSymbol>();
    case SymbolGroup::Code128: return run.operator()<CCode128Symbol>();
    case SymbolGroup::Code25: return run.operator()<CCode25Symbol>();
    case SymbolGroup::Code39: return run.operator()<CCode39Symbol>();
    case SymbolGroup::Code93: return run.operator()<CCode93Symbol>();
    case SymbolGroup::Ean13: return run.operator()<CEan13Symbol>();
    case SymbolGroup::Ean8: return run.operator()<CEan8Symbol>();
    case SymbolGroup::Fim: return run.operator()<CFimSymbol>();
    case SymbolGroup::BooklandText: return run.operator()<CStandardNumberSymbol>();
    case SymbolGroup::BooklandEan13: return run.operator()<CBooklandSymbol>();
    case SymbolGroup::Itf:
    case SymbolGroup::Code39InItfFrame: return run.operator()<CItfSymbol>();
    case SymbolGroup::Msi: return run.operator()<CMsiSymbol>();
    case SymbolGroup::Pharmacode: return run.operator()<CPharmacodeSymbol>();
    case SymbolGroup::Postnet: return run.operator()<CPostnetSymbol>();
    case SymbolGroup::UccEan128: return run.operator()<CUccEan128Symbol>();
    case SymbolGroup::UccEan128Coupon: return run.operator()<CUccCouponSymbol>();
    case SymbolGroup::Ean99Coupon: return run.operator()<CEan99CouponSymbol>();
    case SymbolGroup::UpcA: return run.operator()<CUpcASymbol>();
    case SymbolGroup::UpcE: return run.operator()<CUpcESymbol>();
    case SymbolGroup::None: break;
    }
    return false;
}

void RenderSymbol(CSymbol& symbol) { DrawingSequence(symbol).Run(); }

// ---- Drawing sequence ----

void DrawingSequence::BearerBars(int pass) {
    if (pass == 0) {
        // The bearer box is the symbol box as it stands now, grown on every side.
        int t = ToOutputUnits(sym.m_bearer);
        BoxBounds s = BoundsOf(sym.m_symbolBox);
        BoxBounds b{s.x0 - t, s.y0 - t, s.x1 + t, s.y1 + t};
        std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_bearerInner);
        for (int i = 0; i < 4; ++i) {
            sym.m_bearerBox[i].x = sym.m_symbolBox[i].x == s.x0 ? b.x0 : b.x1;
            sym.m_bearerBox[i].y = sym.m_symbolBox[i].y == s.y0 ? b.y0 : b.y1;
        }
        if (sym.m_bearer > 0) std::copy(sym.m_bearerBox, sym.m_bearerBox + 4, sym.m_backgroundBox);
        return;
    }
    if (sym.m_bearer <= 0) return;
    BoxBounds s = BoundsOf(sym.m_bearerInner);
    BoxBounds b = BoundsOf(sym.m_bearerBox);
    auto band = [this](int x0, int y0, int x1, int y1) {
        Point p[4] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
        m_dc.Polygon(p, 4);
    };
    // Bars run vertically at 0 and 180 degrees: their ends face the top and bottom bands.
    int quarter = static_cast<int>(std::lround(sym.m_angle / 90.0)) & 1;
    bool open = IsItf14OpenFrameClass(SymbolSettings.Variation);
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

void DrawingSequence::Run() {
    const bool screen = sym.m_outputFlag == 0 && !sym.m_previewFlag;
    // Everything selected from here on (the measuring fonts included) is undone at the end.
    m_dc.SaveState();
    sym.BeginDraw();

    MeasurePass(screen);
    if (screen) SetScrollSize();
    PlaceBackground();

    if (sym.m_previewFlag && !PreparePreview()) {
        m_dc.RestoreState();
        sym.EndDraw();
        return;
    }

    DrawPass();
    m_dc.RestoreState();
    sym.DrawPicture(m_dc);
    if (sym.m_previewFlag) FinishPreview();
    sym.EndDraw();
}

void DrawingSequence::MeasurePass(bool screen) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    sym.Reset(m_dc);
    sym.Layout(m_dc, sym.m_outputFlag);
    sym.RotateRectangle();

    if (screen) {
        int ppx = m_dc.PixelsPerInchX() > 0 ? m_dc.PixelsPerInchX() : 96;
        int ppy = m_dc.PixelsPerInchY() > 0 ? m_dc.PixelsPerInchY() : 96;
        sym.m_originX = -sym.m_minX + (35.0 + sym.m_clip.left) / ppx + sym.m_bearer;
        sym.m_originY = -sym.m_minY + (35.0 + sym.m_clip.top) / ppy + sym.m_bearer;
    }

    for (int i = 0; i < 4; ++i)
        sym.m_symbolBox[i] = {ToOutputUnits(sym.m_originX + sym.m_corner[i].x),
                              ToOutputUnits(sym.m_originY + sym.m_corner[i].y)};
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_backgroundBox);
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_bearerBox);

    // Measure pass.
    sym.DrawBars(m_dc, 0);
    sym.m_cursorX = 0;
    sym.m_barBottomOffset = sym.m_barTopOffset = 0;
    sym.MeasureStandardNumberLine(m_dc);
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_backgroundBox);
    BearerBars(0);
    m_specialText = IsItfSpecialTextClass(v) && !s.Hidden;
    if (m_specialText) {
        sym.DrawSpecialText(m_dc, 0);
        sym.AdjustSpecialBox(m_dc);
    }
    MeasureExtras(m_dc);
    if (!s.Hidden) sym.MeasureSideText(m_dc);
}

// Scroll size: the near edge plus the far edge of the drawing (a margin like
// the left/top one on the far side), plus 29 at 0 degrees.
void DrawingSequence::SetScrollSize() {
    BoxBounds e = BoundsOf(sym.m_backgroundBox);
    const int extra = (static_cast<int>(std::lround(sym.m_angle / 90.0)) & 3) == 0 ? 29 : 0;
    int ppx = m_dc.PixelsPerInchX() > 0 ? m_dc.PixelsPerInchX() : 96;
    int ppy = m_dc.PixelsPerInchY() > 0 ? m_dc.PixelsPerInchY() : 96;
    long long clipW = (sym.m_clip.right - sym.m_clip.left) * 1000LL / ppx;
    long long clipH = (sym.m_clip.bottom - sym.m_clip.top) * 1000LL / ppy;
    long long w = std::max<long long>(0LL + e.x0 + e.x1 + extra, clipW);
    long long h = std::max<long long>(0LL + e.y0 + e.y1 + extra, clipH);
    m_drawingSize.cx = static_cast<int>(std::clamp<long long>(w, 0, 32767));
    m_drawingSize.cy = static_cast<int>(std::clamp<long long>(h, 0, 32767));
    ViewScrollSize = m_drawingSize;
}

void DrawingSequence::PlaceBackground() {
    const SettingsRecord& s = SymbolSettings;
    BoxBounds bg = BoundsOf(sym.m_backgroundBox);
    if (sym.m_outputFlag == 1 && s.Format != 2)
        m_dc.SetWindowExtent(OutputUnits(0.0 + bg.x1 - bg.x0), OutputUnits(0.0 + bg.y1 - bg.y0));

    int dx = bg.x0 < 0 ? -bg.x0 : 0;
    int dy = bg.y0 < 0 ? -bg.y0 : 0;
    if (dx || dy) {
        // Bars and texts move with the boxes on every target, so that the
        // background stays under them.
        sym.ShiftDrawing(dx, dy);
        for (Point& p : m_textBox) p = {p.x + dx, p.y + dy};
        sym.m_originX += dx / 1000.0;
        sym.m_originY += dy / 1000.0;
    }
    bg = BoundsOf(sym.m_backgroundBox);
    m_extentMin = {bg.x0, bg.y0};
    m_extentMax = {bg.x1, bg.y1};
    LastDrawingExtent = {OutputUnits(0.0 + bg.x1 - bg.x0), OutputUnits(0.0 + bg.y1 - bg.y0)};
}

void DrawingSequence::DrawPass() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    m_dc.SetBrushColour(sym.m_spaceColour);
    sym.SelectHumanReadableFont(1.0);
    const bool whiteSpaces = s.redSpacesQuietZone + s.greenSpacesQuietZone + s.blueSpacesQuietZone == 300;
    if (!s.TransparentBackground && !(sym.m_previewFlag && whiteSpaces)) m_dc.Polygon(sym.m_backgroundBox, 4);
    if (!sym.m_outputFlag && (s.Family == kFamilyFim || IsPostnetLowerRightClass(v))) {
        Point outline[5] = {sym.m_symbolBox[0], sym.m_symbolBox[1], sym.m_symbolBox[2], sym.m_symbolBox[3],
                            sym.m_symbolBox[0]};
        m_dc.DottedOutline(outline, 5, sym.m_barColour);
    }

    m_dc.SetBrushColour(sym.m_barColour);
    sym.m_cursorX = IsVantic128Class(v) ? sym.m_skewLead / sym.m_magnification : 0;
    sym.DrawBars(m_dc, 1);
    sym.DrawEndPieces(m_dc);

    m_dc.SetTextColour(sym.m_barColour);
    m_dc.SetBackground(false, sym.m_spaceColour);
    if (!s.Hidden) {
        sym.DrawText(m_dc, sym.m_outputFlag);
        if ((s.AddOnText[0] || s.CouponFormat128partText[0]) && !s.HideAddonText && sym.TextFits())
            sym.DrawAddOnText(m_dc);
    }

    sym.DrawStandardNumberLine(m_dc);
    m_dc.SetBrushColour(sym.m_barColour);
    BearerBars(1);
    m_dc.SetBackground(false, sym.m_spaceColour);
    m_dc.MarkExtras(true);
    DrawVerificationMark(m_dc);
    m_dc.MarkExtras(false);
    if (m_specialText) sym.DrawSpecialText(m_dc, 1);
    m_dc.MarkExtras(true);
    DrawExtras(m_dc);
    m_dc.MarkExtras(false);
    if (!s.Hidden) sym.DrawSideText(m_dc);
}

bool DrawingSequence::PreparePreview() {
    auto* raster = dynamic_cast<RasterDC*>(&m_dc);
    if (raster == nullptr || sym.m_previewHandle == nullptr) return false;
    const int w = raster->ToPixelsX(m_extentMax.x) - raster->ToPixelsX(m_extentMin.x);
    const int h = raster->ToPixelsY(m_extentMax.y) - raster->ToPixelsY(m_extentMin.y);
    raster->SetOrigin(m_extentMin);
    raster->SetPaperColour(sym.m_spaceColour);
    return raster->Allocate(std::max(w, 1), std::max(h, 1));
}

void DrawingSequence::FinishPreview() {
    auto* raster = dynamic_cast<RasterDC*>(&m_dc);
    if (raster != nullptr && sym.m_previewHandle != nullptr)
        *static_cast<MonoBitmap*>(sym.m_previewHandle) = raster->TakeBitmap();
}

}  // namespace vg
