// The module behind ReadBarcodes, on the decoder library.
#include <ReadBarcode.h>

#include "proof/barcodereader.h"

namespace {

using vg::ReaderFormat;

ZXing::BarcodeFormat ZxingFormat(ReaderFormat f) {
    using ZXing::BarcodeFormat;
    switch (f) {
    case ReaderFormat::Codabar: return BarcodeFormat::Codabar;
    case ReaderFormat::Code39: return BarcodeFormat::Code39;
    case ReaderFormat::Code93: return BarcodeFormat::Code93;
    case ReaderFormat::Code128: return BarcodeFormat::Code128;
    case ReaderFormat::Ean8: return BarcodeFormat::EAN8;
    case ReaderFormat::Ean13: return BarcodeFormat::EAN13;
    case ReaderFormat::UpcA: return BarcodeFormat::UPCA;
    case ReaderFormat::UpcE: return BarcodeFormat::UPCE;
    case ReaderFormat::Itf: return BarcodeFormat::ITF;
    case ReaderFormat::None: break;
    }
    return BarcodeFormat::None;
}

ReaderFormat FormatOf(ZXing::BarcodeFormat f) {
    for (ReaderFormat r :
         {ReaderFormat::Codabar, ReaderFormat::Code39, ReaderFormat::Code93, ReaderFormat::Code128, ReaderFormat::Ean8,
          ReaderFormat::Ean13, ReaderFormat::UpcA, ReaderFormat::UpcE, ReaderFormat::Itf})
        if (ZxingFormat(r) == f) return r;
    return ReaderFormat::None;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int vgl_read_barcodes(const vg::ReadRequest* request,
                                                                        vg::ReadSymbolSink emit, void* context) {
    try {
        const ZXing::ImageView view(request->pixels, request->width, request->height, ZXing::ImageFormat::Lum);
        ZXing::DecodeHints hints;
        hints.setFormats(ZxingFormat(request->format))
            .setTryHarder(true)
            .setTryRotate(request->tryRotate)
            .setTryDownscale(false)
            .setMaxNumberOfSymbols(static_cast<uint8_t>(request->maxSymbols))
            .setReturnCodabarStartEnd(true)
            .setTryCode39ExtendedMode(request->code39FullAscii)
            .setEanAddOnSymbol(request->eanAddOn ? ZXing::EanAddOnSymbol::Require : ZXing::EanAddOnSymbol::Ignore);
        for (const ZXing::Result& r : ZXing::ReadBarcodes(view, hints)) {
            if (!r.isValid()) continue;
            const ZXing::ByteArray& bytes = r.bytes();
            emit(context, static_cast<int>(FormatOf(r.format())), reinterpret_cast<const char*>(bytes.data()),
                 bytes.size(), r.symbologyIdentifier() == "]C1");
        }
        return 0;
    } catch (...) {
        // Nothing may unwind into the program, which may have a runtime of its own.
        return -1;
    }
}
