#include "output/exportwriter.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <type_traits>
#include <vector>
#include <cmath>
#include <cstdint>

#include "model/atomicfile.h"
#include "model/dynamiclibrary.h"
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

// libpng, which cairo loads: cairo writes its 1-bit images as 8-bit grey.
struct PngLibrary {
    decltype(&png_create_write_struct) createWrite = nullptr;
    decltype(&png_create_info_struct) createInfo = nullptr;
    decltype(&png_destroy_write_struct) destroyWrite = nullptr;
    decltype(&png_set_longjmp_fn) setLongjmp = nullptr;
    decltype(&png_set_write_fn) setWriteFn = nullptr;
    decltype(&png_set_IHDR) setIhdr = nullptr;
    decltype(&png_set_pHYs) setPhys = nullptr;
    decltype(&png_write_info) writeInfo = nullptr;
    decltype(&png_write_row) writeRow = nullptr;
    decltype(&png_write_end) writeEnd = nullptr;
    decltype(&png_get_io_ptr) getIoPtr = nullptr;
};

const PngLibrary* Png() {
    static const PngLibrary* lib = [] {
        static PngLibrary p;
        void* h = OpenFirstLibrary({"libpng16.so.16"});
        auto bind = [h](const char* name, auto& f) { return BindFunction(h, name, f); };
        const bool all = bind("png_create_write_struct", p.createWrite) &&
                         bind("png_create_info_struct", p.createInfo) &&
                         bind("png_destroy_write_struct", p.destroyWrite) && bind("png_set_longjmp_fn", p.setLongjmp) &&
                         bind("png_set_write_fn", p.setWriteFn) && bind("png_set_IHDR", p.setIhdr) &&
                         bind("png_set_pHYs", p.setPhys) && bind("png_write_info", p.writeInfo) &&
                         bind("png_write_row", p.writeRow) && bind("png_write_end", p.writeEnd) &&
                         bind("png_get_io_ptr", p.getIoPtr);
        return all ? &p : static_cast<PngLibrary*>(nullptr);
    }();
    return lib;
}

void PngAppend(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(Png()->getIoPtr(png))->append(reinterpret_cast<const char*>(data), length);
}

// A 1-bit grey PNG (rows of packed bits, first pixel in the high bit, 1 white)
// with its resolution; false when libpng is missing or fails.
bool OneBitPng(const std::vector<uint8_t>& packed, int w, int h, int dpi, std::string& out) {
    const PngLibrary* p = Png();
    if (p == nullptr) return false;
    png_structp png = p->createWrite(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? p->createInfo(png) : nullptr;
    if (info == nullptr) {
        if (png) p->destroyWrite(&png, nullptr);
        return false;
    }
    // libpng reports its errors by a jump back here; nothing in this frame needs unwinding.
    if (setjmp(*p->setLongjmp(png, std::longjmp, sizeof(std::jmp_buf)))) {
        p->destroyWrite(&png, &info);
        return false;
    }
    p->setWriteFn(png, &out, PngAppend, nullptr);
    p->setIhdr(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 1, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const auto perMetre = static_cast<png_uint_32>(std::lround(dpi / 0.0254));
    p->setPhys(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    p->writeInfo(png, info);
    const std::size_t stride = (static_cast<std::size_t>(w) + 7) / 8;
    for (int y = 0; y < h; ++y) p->writeRow(png, packed.data() + static_cast<std::size_t>(y) * stride);
    p->writeEnd(png, nullptr);
    p->destroyWrite(&png, &info);
    return true;
}

// The drawing in the smallest image format its pixels allow: 1-bit grey for
// black and white, 8-bit grey for greys. False when it has colours (or is not
// opaque): cairo writes it as drawn then.
bool NarrowPng(const CairoLibrary& c, cairo_surface_t* argb, int dpi, std::string& png) {
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
    if (!grey) return false;
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x] & 0xFF;
    };
    if (twoLevel) {
        const std::size_t rowBytes = (static_cast<std::size_t>(w) + 7) / 8;
        std::vector<uint8_t> packed(rowBytes * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pixel(x, y)) packed[y * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
        if (OneBitPng(packed, w, h, dpi, png)) return true;
        png.clear();
    }
    cairo_surface_t* out = c.cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    bool ok = c.cairo_surface_status(out) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        c.cairo_surface_flush(out);
        unsigned char* bytes = c.cairo_image_surface_get_data(out);
        const int outStride = c.cairo_image_surface_get_stride(out);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bytes[static_cast<std::size_t>(y) * outStride + x] = static_cast<unsigned char>(pixel(x, y));
        c.cairo_surface_mark_dirty(out);
        ok = c.cairo_surface_write_to_png_stream(out, AppendTo, &png) == CAIRO_STATUS_SUCCESS &&
             InsertResolution(png, dpi);
    }
    c.cairo_surface_destroy(out);
    if (!ok) png.clear();
    return ok;
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
        std::string png;
        if (transparent || !NarrowPng(*c, surface, dpi, png))
            ok = c->cairo_surface_write_to_png_stream(surface, AppendTo, &png) == CAIRO_STATUS_SUCCESS &&
                 InsertResolution(png, dpi);
        ok = ok && std::fwrite(png.data(), 1, png.size(), f) == png.size();
    }
    c->cairo_surface_finish(surface);
    ok = ok && c->cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    c->cairo_surface_destroy(surface);
    return ok && file.Commit();
}

}  // namespace vg
