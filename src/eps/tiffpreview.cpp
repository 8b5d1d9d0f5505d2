#include "eps/tiffpreview.h"

#include <array>
#include <new>
#include <string>

#include "eps/epsoutput.h"
#include "model/messages.h"
#include "model/symbolsettings.h"
#include "render/drawsymbol.h"

namespace vg {

namespace {

constexpr int kHeaderBytes = 8;
constexpr int kColourMapBytes = 96;
constexpr int kEntries = 11;
constexpr int kTrailerBytes = kColourMapBytes + 2 + kEntries * 12 + 4;  // 234

void U16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void U32(std::string& out, uint32_t v) {
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}

// Directory entry: a SHORT value stands in the first two bytes of the field.
void Entry(std::string& out, unsigned tag, unsigned type, uint32_t count, uint32_t value) {
    U16(out, tag);
    U16(out, type);
    U32(out, count);
    if (type == 3 && count == 1) {
        U16(out, value);
        U16(out, 0);
    } else {
        U32(out, value);
    }
}

uint8_t Component(int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return static_cast<uint8_t>(percent * 255 / 100);
}

}  // namespace

TiffPalette CurrentTiffPalette() {
    const SettingsRecord& s = SymbolSettings;
    return {{Component(s.redBarsText), Component(s.greenBarsText), Component(s.blueBarsText)},
            {Component(s.redSpacesQuietZone), Component(s.greenSpacesQuietZone), Component(s.blueSpacesQuietZone)}};
}

long long PackTiff(EpsOutput* out, const MonoBitmap& bitmap, const TiffPalette& palette) {
    if (bitmap.bitsPerPixel != 1 || bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > 0xFFFF ||
        bitmap.height > 0xFFFF || bitmap.stride < (bitmap.width + 7) / 8 ||
        bitmap.bits.size() < static_cast<std::size_t>(bitmap.stride) * bitmap.height)
        return -1;
    if (out == nullptr || !out->IsOpen()) return -2;

    const uint32_t w = static_cast<uint32_t>(bitmap.width);
    const uint32_t h = static_cast<uint32_t>(bitmap.height);
    const uint32_t r = (w + 1) / 2;
    const uint32_t b = h * r;
    std::string tiff;
    try {
        tiff.reserve(kHeaderBytes + b + kTrailerBytes);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    tiff += "II";
    U16(tiff, 42);
    U32(tiff, kHeaderBytes + b + kColourMapBytes);

    // Two pixels per byte, first in the high nibble: 0 ink (bars), 1 paper. A
    // bitmap byte of eight pixels becomes four TIFF bytes, taken from a table.
    static const std::array<uint32_t, 256> kSpread = [] {
        std::array<uint32_t, 256> t{};
        for (unsigned v = 0; v < 256; ++v)
            for (unsigned k = 0; k < 4; ++k)
                t[v] |= ((((v >> (7 - 2 * k)) & 1) << 4) | ((v >> (6 - 2 * k)) & 1)) << (8 * k);
        return t;
    }();
    const std::size_t pixelStart = tiff.size();
    tiff.resize(pixelStart + b);
    char* p = tiff.data() + pixelStart;
    const uint32_t wholeBytes = w / 8;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = bitmap.bits.data() + static_cast<std::size_t>(y) * bitmap.stride;
        for (uint32_t i = 0; i < wholeBytes; ++i, p += 4) {
            const uint32_t four = kSpread[row[i]];
            p[0] = static_cast<char>(four & 0xFF);
            p[1] = static_cast<char>((four >> 8) & 0xFF);
            p[2] = static_cast<char>((four >> 16) & 0xFF);
            p[3] = static_cast<char>(four >> 24);
        }
        // The last pixels of a row; an odd width pads its last byte with paper.
        for (uint32_t x = wholeBytes * 8; x < w; x += 2) {
            const unsigned hi = (row[x >> 3] >> (7 - (x & 7))) & 1;
            const unsigned lo = x + 1 < w ? (row[(x + 1) >> 3] >> (7 - ((x + 1) & 7))) & 1 : 1;
            *p++ = static_cast<char>((hi << 4) | lo);
        }
    }

    const uint8_t bar[3] = {palette.bars.r, palette.bars.g, palette.bars.b};
    const uint8_t space[3] = {palette.spaces.r, palette.spaces.g, palette.spaces.b};
    for (int c = 0; c < 3; ++c) {
        U16(tiff, bar[c] * 256u);
        U16(tiff, space[c] * 256u);
        for (int i = 2; i < 16; ++i) U16(tiff, 65535);
    }

    U16(tiff, kEntries);
    Entry(tiff, 254, 4, 1, 0);
    Entry(tiff, 256, 3, 1, w);
    Entry(tiff, 257, 3, 1, h);
    Entry(tiff, 258, 3, 1, 4);
    Entry(tiff, 259, 3, 1, 1);
    Entry(tiff, 262, 3, 1, 3);
    Entry(tiff, 273, 4, 1, kHeaderBytes);
    Entry(tiff, 277, 3, 1, 1);
    Entry(tiff, 279, 4, 1, b);
    Entry(tiff, 284, 3, 1, 1);
    Entry(tiff, 320, 3, 48, kHeaderBytes + b);
    U32(tiff, 0);

    out->Put(tiff);
    if (!out->Ok()) return -2;
    return static_cast<long long>(tiff.size());
}

MonoBitmap DrawPreviewBitmap() {
    RasterDC dc;
    MonoBitmap bitmap;
    DrawSymbol(dc, ClipRect{}, 0, 1, &bitmap);
    return bitmap;
}

void AppendTiffPreview(EpsOutput& out) {
    const MonoBitmap bitmap = DrawPreviewBitmap();
    if (bitmap.Empty()) return;
    const uint64_t start = out.Position();
    const long long length = PackTiff(&out, bitmap, CurrentTiffPalette());
    if (length < 0) {
        ShowMessage("---ERROR---", "Pack tiff file ", MsgIcon::Information);
        return;
    }
    out.PatchU32(20, static_cast<uint32_t>(start));
    out.PatchU32(24, static_cast<uint32_t>(length));
}

}  // namespace vg
