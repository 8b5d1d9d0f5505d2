// EAN/UPC human-readable text and standard-number lines (minimal versions).
#include "model/symbolsettings.h"
#include "symbology/eanupc.h"

namespace vg {

void CEanUpcSymbol::DrawAddOnText(DeviceContext&) {}

void CEanUpcSymbol::ComputeTextFit(DeviceContext&) {
    m_textDiffers = false;
    m_doesNotFit = false;
    m_narrow = false;
}

std::string CEanUpcSymbol::TextLine(bool) const {
    std::string line(TextOf(SymbolSettings.OriginalMainText));
    if (!SymbolSettings.HideCheckDigits && SymbolSettings.CheckCharacter1)
        line += static_cast<char>(SymbolSettings.CheckCharacter1);
    return line;
}

void CEan13Symbol::DrawText(DeviceContext&, int) {}
void CEan13Symbol::BuildText() { HumanReadable = TextLine(false); }

void CEan8Symbol::DrawText(DeviceContext&, int) {}
void CEan8Symbol::BuildText() { HumanReadable = TextLine(false); }

void CEan99CouponSymbol::DrawText(DeviceContext&, int) {}
void CEan99CouponSymbol::BuildText() { HumanReadable = TextLine(false); }

void CBooklandSymbol::BuildText() { HumanReadable = TextLine(false); }
void CBooklandSymbol::BuildStandardNumberLine() {}
void CBooklandSymbol::BeginDraw() {}
void CBooklandSymbol::EndDraw() {}
void CBooklandSymbol::MeasureStandardNumberLine(DeviceContext&) {}
void CBooklandSymbol::DrawStandardNumberLine(DeviceContext&) {}

void CStandardNumberSymbol::BuildText() { HumanReadable.clear(); }

void CUpcASymbol::DrawText(DeviceContext&, int) {}
void CUpcASymbol::BuildText() { HumanReadable = TextLine(false); }

void CUccCouponSymbol::DrawText(DeviceContext&, int) {}

void CUpcESymbol::DrawText(DeviceContext&, int) {}
void CUpcESymbol::BuildText() { HumanReadable = TextLine(false); }

}  // namespace vg
