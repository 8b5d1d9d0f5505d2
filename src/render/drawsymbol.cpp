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
        dc_.Polygon(p, 4);
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
    dc_.SaveState();
    sym.BeginDraw();

    MeasurePass(screen);
    if (screen) SetScrollSize();
    PlaceBackground();

    if (sym.m_previewFlag && !PreparePreview()) {
        dc_.RestoreState();
        sym.EndDraw();
        return;
    }

    DrawPass();
    dc_.RestoreState();
    sym.DrawPicture(dc_);
    if (sym.m_previewFlag) FinishPreview();
    sym.EndDraw();
}

void DrawingSequence::MeasurePass(bool screen) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    sym.Reset(dc_);
    sym.Layout(dc_, sym.m_outputFlag);
    sym.RotateRectangle();

    if (screen) {
        int ppx = dc_.PixelsPerInchX() > 0 ? dc_.PixelsPerInchX() : 96;
        int ppy = dc_.PixelsPerInchY() > 0 ? dc_.PixelsPerInchY() : 96;
        sym.m_originX = -sym.m_minX + (35.0 + sym.m_clip.left) / ppx + sym.m_bearer;
        sym.m_originY = -sym.m_minY + (35.0 + sym.m_clip.top) / ppy + sym.m_bearer;
    }

    for (int i = 0; i < 4; ++i)
        sym.m_symbolBox[i] = {ToOutputUnits(sym.m_originX + sym.m_corner[i].x),
                              ToOutputUnits(sym.m_originY + sym.m_corner[i].y)};
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_backgroundBox);
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_bearerBox);

    // Measure pass.
    sym.DrawBars(dc_, 0);
    sym.m_cursorX = 0;
    sym.m_barBottomOffset = sym.m_barTopOffset = 0;
    sym.MeasureStandardNumberLine(dc_);
    std::copy(sym.m_symbolBox, sym.m_symbolBox + 4, sym.m_backgroundBox);
    BearerBars(0);
    specialText_ = IsItfSpecialTextClass(v) && !s.Hidden;
    if (specialText_) {
        sym.DrawSpecialText(dc_, 0);
        sym.AdjustSpecialBox(dc_);
    }
    MeasureExtras(dc_);
    if (!s.Hidden) sym.MeasureSideText(dc_);
}

// Scroll size: the near edge plus the far edge of the drawing (a margin like
// the left/top one on the far side), plus 29 at 0 degrees.
void DrawingSequence::SetScrollSize() {
    BoxBounds e = BoundsOf(sym.m_backgroundBox);
    const int extra = (static_cast<int>(std::lround(sym.m_angle / 90.0)) & 3) == 0 ? 29 : 0;
    int ppx = dc_.PixelsPerInchX() > 0 ? dc_.PixelsPerInchX() : 96;
    int ppy = dc_.PixelsPerInchY() > 0 ? dc_.PixelsPerInchY() : 96;
    long long clipW = (sym.m_clip.right - sym.m_clip.left) * 1000LL / ppx;
    long long clipH = (sym.m_clip.bottom - sym.m_clip.top) * 1000LL / ppy;
    long long w = std::max<long long>(0LL + e.x0 + e.x1 + extra, clipW);
    long long h = std::max<long long>(0LL + e.y0 + e.y1 + extra, clipH);
    drawingSize_.cx = static_cast<int>(std::clamp<long long>(w, 0, 32767));
    drawingSize_.cy = static_cast<int>(std::clamp<long long>(h, 0, 32767));
    ViewScrollSize = drawingSize_;
}

void DrawingSequence::PlaceBackground() {
    const SettingsRecord& s = SymbolSettings;
    BoxBounds bg = BoundsOf(sym.m_backgroundBox);
    if (sym.m_outputFlag == 1 && s.Format != 2)
        dc_.SetWindowExtent(OutputUnits(0.0 + bg.x1 - bg.x0), OutputUnits(0.0 + bg.y1 - bg.y0));

    int dx = bg.x0 < 0 ? -bg.x0 : 0;
    int dy = bg.y0 < 0 ? -bg.y0 : 0;
    if (dx || dy) {
        // Bars and texts move with the boxes on every target, so that the
        // background stays under them.
        sym.ShiftDrawing(dx, dy);
        for (Point& p : textBox_) p = {p.x + dx, p.y + dy};
        sym.m_originX += dx / 1000.0;
        sym.m_originY += dy / 1000.0;
    }
    bg = BoundsOf(sym.m_backgroundBox);
    extentMin_ = {bg.x0, bg.y0};
    extentMax_ = {bg.x1, bg.y1};
    LastDrawingExtent = {OutputUnits(0.0 + bg.x1 - bg.x0), OutputUnits(0.0 + bg.y1 - bg.y0)};
}

void DrawingSequence::DrawPass() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    dc_.SetBrushColour(sym.m_spaceColour);
    sym.SelectHumanReadableFont(1.0);
    const bool whiteSpaces = s.redSpacesQuietZone + s.greenSpacesQuietZone + s.blueSpacesQuietZone == 300;
    if (!s.TransparentBackground && !(sym.m_previewFlag && whiteSpaces)) dc_.Polygon(sym.m_backgroundBox, 4);
    if (!sym.m_outputFlag && (s.Family == kFamilyFim || IsPostnetLowerRightClass(v))) {
        Point outline[5] = {sym.m_symbolBox[0], sym.m_symbolBox[1], sym.m_symbolBox[2], sym.m_symbolBox[3],
                            sym.m_symbolBox[0]};
        dc_.DottedOutline(outline, 5, sym.m_barColour);
    }

    dc_.SetBrushColour(sym.m_barColour);
    sym.m_cursorX = IsVantic128Class(v) ? sym.m_skewLead / sym.m_magnification : 0;
    sym.DrawBars(dc_, 1);
    sym.DrawEndPieces(dc_);

    dc_.SetTextColour(sym.m_barColour);
    dc_.SetBackground(false, sym.m_spaceColour);
    if (!s.Hidden) {
        sym.DrawText(dc_, sym.m_outputFlag);
        if ((s.AddOnText[0] || s.CouponFormat128partText[0]) && !s.HideAddonText && sym.TextFits())
            sym.DrawAddOnText(dc_);
    }

    sym.DrawStandardNumberLine(dc_);
    dc_.SetBrushColour(sym.m_barColour);
    BearerBars(1);
    dc_.SetBackground(false, sym.m_spaceColour);
    dc_.MarkExtras(true);
    DrawVerificationMark(dc_);
    dc_.MarkExtras(false);
    if (specialText_) sym.DrawSpecialText(dc_, 1);
    dc_.MarkExtras(true);
    DrawExtras(dc_);
    dc_.MarkExtras(false);
    if (!s.Hidden) sym.DrawSideText(dc_);
}

bool DrawingSequence::PreparePreview() {
    auto* raster = dynamic_cast<RasterDC*>(&dc_);
    if (raster == nullptr || sym.m_previewHandle == nullptr) return false;
    const int w = raster->ToPixelsX(extentMax_.x) - raster->ToPixelsX(extentMin_.x);
    const int h = raster->ToPixelsY(extentMax_.y) - raster->ToPixelsY(extentMin_.y);
    raster->SetOrigin(extentMin_);
    raster->SetPaperColour(sym.m_spaceColour);
    return raster->Allocate(std::max(w, 1), std::max(h, 1));
}

void DrawingSequence::FinishPreview() {
    auto* raster = dynamic_cast<RasterDC*>(&dc_);
    if (raster != nullptr && sym.m_previewHandle != nullptr)
        *static_cast<MonoBitmap*>(sym.m_previewHandle) = raster->TakeBitmap();
}

}  // namespace vg
