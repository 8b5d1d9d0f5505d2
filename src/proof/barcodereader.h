// The bar code reader lives in a module of its own, opened by the first read:
// a process that never proves a symbol does not load the decoder library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "proof/readertext.h"

namespace vg {

struct ReadRequest {
    const std::uint8_t* pixels = nullptr;  // 8-bit grey, rows without padding
    int width = 0;
    int height = 0;
    ReaderFormat format = ReaderFormat::None;
    int maxSymbols = 1;
    bool tryRotate = false;
    bool code39FullAscii = false;
    bool eanAddOn = false;  // require the add-on; else ignore it
};

struct ReadSymbol {
    ReaderFormat format = ReaderFormat::None;
    std::string text;  // the bytes read
    bool gs1 = false;  // symbology identifier ]C1
};

// Appends the valid symbols read to out. False when the module could not be
// opened, with the reason in error.
bool ReadBarcodes(const ReadRequest& request, std::vector<ReadSymbol>& out, std::string* error);

// The module's one entry point. It is plain C, so that the program and the
// module need not share one C++ runtime: each valid symbol read is handed to
// emit (format, bytes, 1 for the identifier ]C1). 0 when the decoder ran.
using ReadSymbolSink = void (*)(void* context, int format, const char* bytes, std::size_t size, int gs1);
using ReadBarcodesEntry = int (*)(const ReadRequest* request, ReadSymbolSink emit, void* context);
inline constexpr const char* kReadBarcodesEntry = "vgl_read_barcodes";

}  // namespace vg
