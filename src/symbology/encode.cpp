#include "symbology/encode.h"

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/code128.h"
#include "symbology/code39.h"
#include "symbology/code93.h"
#include "symbology/eanupc.h"
#include "symbology/linear.h"
#include "symbology/symbol.h"

namespace vg {

int EncodeCurrentVariation() {
    int v = SymbolSettings.Variation;
    // Code 128, UCC/EAN-128 and the coupon codes (UPC-A/EAN-13 part first).
    if (IsCode128EncodedClass(v)) return EncodeCode128(v);
    switch (GroupOf(v)) {
    // EAN/UPC and the standard-number EAN-13s.
    case SymbolGroup::Ean13:
    case SymbolGroup::Ean8:
    case SymbolGroup::BooklandEan13:
    case SymbolGroup::UpcA:
    case SymbolGroup::UpcE: return EncodeEanUpc(v);
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

}  // namespace vg
