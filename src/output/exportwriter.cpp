#include "output/exportwriter.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "model/atomicfile.h"
#include "output/metafilewriter.h"
#include "device/cairodc.h"
#include "device/cairolib.h"
#include "model/symbolsettings.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    std::FILE* f = static_cast<std::FILE*>(closure);
    return std::fwrite(data, 1, length, f) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

cairo_status_t AppendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

uint32_t Crc32(const std::string& bytes, std::size_t from) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) c = table[(c ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void PutBe32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift & 0xFF));
}

// The pHYs chunk (pixels per metre) put after IHDR.
bool InsertResolution(std::string& png, int dpi) {
    constexpr std::size_t kAfterHeader = 8 + 8 + 13 + 4;
    if (png.size() < kAfterHeader || png.compare(12, 4, "IHDR") != 0) return false;
    const uint32_t perMetre = static_cast<uint32_t>(std::lround(dpi / 0.0254));
    std::string chunk;
    PutBe32(chunk, 9);
    chunk += "pHYs";
    PutBe32(chunk, perMetre);
    PutBe32(chunk, perMetre);
    chunk.push_back(1);  // metres
    PutBe32(chunk, Crc32(chunk, 4));
    png.insert(kAfterHeader, chunk);
    return true;
}

// The drawing in the smallest image format its pixels allow: 1-bit grey for
// black and white, 8-bit grey for greys, else as drawn. Opaque drawings only.
cairo_surface_t* Narrowed(const CairoLibrary& c, cairo_surface_t* argb) {
    const int w = c.cairo_image_surface_get_width(argb), h = c.cairo_image_surface_get_height(argb);
    const int stride = c.cairo_image_surface_get_stride(argb);
    const unsigned char* data = c.cairo_image_surface_get_data(argb);
    bool grey = true, twoLevel = true;
    for (int y = 0; y < h && grey; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w && grey; ++x) {
            const uint32_t p = row[x];
            const uint32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
            grey = (p >> 24) == 0xFF && r == g && g == b;
            twoLevel = twoLevel && (r == 0 || r == 0xFF);
        }
    }
    if (!grey) return nullptr;
    cairo_surface_t* out = c.cairo_image_surface_create(twoLevel ? CAIRO_FORMAT_A1 : CAIRO_FORMAT_A8, w, h);
    if (c.cairo_surface_status(out) != CAIRO_STATUS_SUCCESS) {
        c.cairo_surface_destroy(out);
        return nullptr;
    }
    c.cairo_surface_flush(out);
    unsigned char* bits = c.cairo_image_surface_get_data(out);
    const int outStride = c.cairo_image_surface_get_stride(out);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        unsigned char* o = bits + static_cast<std::size_t>(y) * outStride;
        if (!twoLevel) {
            for (int x = 0; x < w; ++x) o[x] = static_cast<unsigned char>(row[x] & 0xFF);
            continue;
        }
        // A1 pixels are 32-bit words with the first pixel in the low bit on this
        // (little-endian) machine; the PNG writer keeps that order.
        uint32_t* words = reinterpret_cast<uint32_t*>(o);
        for (int x = 0; x < w; ++x)
            if (row[x] & 0xFF) words[x >> 5] |= 1u << (x & 31);
    }
    c.cairo_surface_mark_dirty(out);
    return out;
}

// Size of an extent in surface units, at least one.
double SurfaceSize(int thousandths, double perInch) { return std::max(1.0, thousandths * perInch / 1000.0); }

}  // namespace

std::optional<ExportKind> ExportKindOf(std::string_view path) {
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string_view::npos || path[dot] != '.') return std::nullopt;
    std::string ext(path.substr(dot + 1));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == "png") return ExportKind::Png;
    if (ext == "svg") return ExportKind::Svg;
    if (ext == "pdf") return ExportKind::Pdf;
    return std::nullopt;
}

std::string ExportExtension(ExportKind kind) {
    switch (kind) {
    case ExportKind::Png: return ".PNG";
    case ExportKind::Svg: return ".SVG";
    case ExportKind::Pdf: return ".PDF";
    }
    return "";
}

bool WriteExportFile(const std::string& path, ExportKind kind, int dpi, bool transparent, std::string* reason) {
    const SymbolExtent extent = MetafileSymbolExtent();
    const int w = extent.right - extent.left;
    const int h = extent.bottom - extent.top;
    const CairoLibrary* c = Cairo();
    if (c == nullptr) return false;
    const auto refuse = [&](const std::string& why) {
        if (reason) *reason = why;
        return false;
    };
    // Checked before anything is opened: no system error stands for these.
    constexpr double kLargest = 32767;
    const double pw = std::ceil(SurfaceSize(w, dpi) - 1e-6), ph = std::ceil(SurfaceSize(h, dpi) - 1e-6);
    if (kind == ExportKind::Png) {
        if (dpi <= 0) return refuse("the resolution " + std::to_string(dpi) + " dpi is not positive");
        if (pw > kLargest || ph > kLargest)
            return refuse("the image would be " + std::to_string(static_cast<long long>(pw)) + " x " +
                          std::to_string(static_cast<long long>(ph)) + " pixels at " + std::to_string(dpi) +
                          " dpi; at most 32767 x 32767");
    }
    AtomicFile file;
    std::FILE* f = file.Open(path);
    if (!f) return false;

    cairo_surface_t* surface = nullptr;
    double scale = 72.0 / 1000.0;
    if (kind == ExportKind::Png) {
        scale = dpi / 1000.0;
        surface = c->cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(pw), static_cast<int>(ph));
    } else if (kind == ExportKind::Svg) {
        surface = c->cairo_svg_surface_create_for_stream(WriteToFile, f, SurfaceSize(w, 72), SurfaceSize(h, 72));
    } else {
        surface = c->cairo_pdf_surface_create_for_stream(WriteToFile, f, SurfaceSize(w, 72), SurfaceSize(h, 72));
    }
    cairo_t* cr = c->cairo_create(surface);
    if (kind == ExportKind::Png && !transparent) {
        const SettingsRecord& s = SymbolSettings;
        c->cairo_set_source_rgb(cr, ColourComponent(s.redSpacesQuietZone) / 255.0,
                                ColourComponent(s.greenSpacesQuietZone) / 255.0,
                                ColourComponent(s.blueSpacesQuietZone) / 255.0);
        c->cairo_paint(cr);
    }
    {
        CairoDC dc(cr, scale, kind != ExportKind::Png);
        DrawSymbol(dc, ClipRect{}, 1, 0, nullptr);
    }
    c->cairo_destroy(cr);
    c->cairo_surface_flush(surface);
    bool ok = c->cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    if (ok && kind == ExportKind::Png) {
        cairo_surface_t* narrow = transparent ? nullptr : Narrowed(*c, surface);
        std::string png;
        ok = c->cairo_surface_write_to_png_stream(narrow ? narrow : surface, AppendTo, &png) == CAIRO_STATUS_SUCCESS &&
             InsertResolution(png, dpi) && std::fwrite(png.data(), 1, png.size(), f) == png.size();
        if (narrow) c->cairo_surface_destroy(narrow);
    }
    c->cairo_surface_finish(surface);
    ok = ok && c->cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    c->cairo_surface_destroy(surface);
    return ok && file.Commit();
}

}  // namespace vg
