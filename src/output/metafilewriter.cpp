#include "output/metafilewriter.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "eps/epsbody.h"
#include "model/atomicfile.h"
#include "model/messages.h"
#include "model/settingstrailer.h"
#include "model/symbolsettings.h"
#include "device/metafiledc.h"
#include "render/drawingframe.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

// The record's Format for the length of a drawing.
class FormatForDrawing {
public:
    explicit FormatForDrawing(int format) : m_saved(SymbolSettings.Format) { SymbolSettings.Format = format; }
    ~FormatForDrawing() { SymbolSettings.Format = m_saved; }
    FormatForDrawing(const FormatForDrawing&) = delete;
    FormatForDrawing& operator=(const FormatForDrawing&) = delete;

private:
    int m_saved;
};

// Writes the parts one after another as the whole file.
bool WriteParts(const std::string& path, std::initializer_list<std::string_view> parts) {
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;
    for (std::string_view part : parts)
        if (!part.empty() && std::fwrite(part.data(), 1, part.size(), f) != part.size()) return false;
    return file.Commit();
}

// The records could not be built: nothing is written.
bool CannotCreate(const std::string& path) {
    ShowMessage("Error", "Unable to create " + path);
    return false;
}

std::string_view BytesOf(const SettingsTrailer& t) { return {reinterpret_cast<const char*>(t.data()), t.size()}; }

}  // namespace

SymbolExtent MetafileSymbolExtent() {
    // The measure pass alone gives the drawing's size; nothing is recorded.
    const DrawingFrame frame = MeasureDrawingFrame();
    SymbolExtent e;
    e.right = std::max(0, frame.width);
    e.bottom = std::max(0, frame.height);
    return e;
}

std::array<uint8_t, 22> PlaceableHeader(const SymbolExtent& extent) {
    const uint16_t words[10] = {0xCDD7,
                                0x9AC6,
                                0,
                                static_cast<uint16_t>(std::clamp(extent.left, INT16_MIN, INT16_MAX)),
                                static_cast<uint16_t>(std::clamp(extent.top, INT16_MIN, INT16_MAX)),
                                static_cast<uint16_t>(std::clamp(extent.right, INT16_MIN, INT16_MAX)),
                                static_cast<uint16_t>(std::clamp(extent.bottom, INT16_MIN, INT16_MAX)),
                                1000,
                                0,
                                0};
    std::array<uint8_t, 22> h{};
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) {
        h[2 * i] = static_cast<uint8_t>(words[i]);
        h[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
        checksum ^= words[i];
    }
    h[20] = static_cast<uint8_t>(checksum);
    h[21] = static_cast<uint8_t>(checksum >> 8);
    return h;
}

namespace {

// Size of a drawing just made; 0 when nothing was drawn.
SymbolExtent DrawnExtent(bool drawn) {
    SymbolExtent e;
    if (drawn) {
        e.right = std::max(0, LastDrawingExtent.cx);
        e.bottom = std::max(0, LastDrawingExtent.cy);
    }
    return e;
}

}  // namespace

bool WriteWmfFile(const std::string& path) {
    // One drawing: its size goes into the first window extent record afterwards.
    WmfDC dc(0, 0);
    const SymbolExtent extent = DrawnExtent(DrawSymbol(dc, ClipRect{}, 1, 0, nullptr));
    dc.SetStartExtent(extent.right - extent.left, extent.bottom - extent.top);
    std::string records;
    if (!dc.Finish(records)) return CannotCreate(path);
    const std::array<uint8_t, 22> header = PlaceableHeader(extent);
    const SettingsTrailer trailer = FillSettingsTrailer(SymbolSettings);
    return WriteParts(path, {std::string_view(reinterpret_cast<const char*>(header.data()), header.size()), records,
                             BytesOf(trailer)});
}

bool WriteEmfFile(const std::string& path) {
    // The frame is measured with 8-bit texts; the records carry UTF-16 texts,
    // whose advances may round a unit apart, so the frame keeps its own pass.
    const SymbolExtent extent = MetafileSymbolExtent();
    EmfDC dc(extent.right - extent.left, extent.bottom - extent.top);
    {
        // The frame, not the window extent, gives an EMF its size.
        FormatForDrawing emf(2);
        DrawSymbol(dc, ClipRect{}, 1, 0, nullptr);
    }
    std::string records;
    if (!dc.Finish(records)) return CannotCreate(path);
    const SettingsTrailer trailer = FillSettingsTrailer(SymbolSettings);
    return WriteParts(path, {records, BytesOf(trailer)});
}

bool WriteFormat(const std::string& path, const SaveOptions& options) {
    switch (SymbolSettings.Format) {
    case 0: return WriteWmfFile(path);
    case 1: return WriteCurrentSymbolEps(path, options.withPreview, options.levelOne, options.title);
    case 2: return WriteEmfFile(path);
    default: return false;
    }
}

}  // namespace vg
