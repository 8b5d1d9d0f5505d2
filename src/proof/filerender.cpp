#include "proof/filerender.h"

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "device/cairolib.h"
#include "model/dynamiclibrary.h"
#include "model/regularfile.h"
#include "proof/wmffontmap.h"

namespace vg {
namespace {

constexpr uint64_t kMaxFileBytes = 64ull << 20;
constexpr double kMaxPixels = 120e6;

bool ReadWhole(const std::string& path, std::string& bytes, std::string& reason) {
    RegularFile file;
    if (!file.Open(path, &reason)) return false;
    if (file.Size() > kMaxFileBytes) {
        reason = "the file is too large";
        return false;
    }
    bytes.resize(file.Size());
    if (file.ReadAt(0, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size())) {
        reason = file.Reason().empty() ? "the file could not be read" : file.Reason();
        return false;
    }
    return true;
}

uint32_t Le32(const std::string& b, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// librsvg's few calls, declared here so that its GLib headers stay out.
struct RsvgDimensions {
    int width, height;
    double em, ex;
};
struct Rsvg {
    void* (*newFromData)(const uint8_t*, std::size_t, void**) = nullptr;
    void (*setDpi)(void*, double) = nullptr;
    void (*getDimensions)(void*, RsvgDimensions*) = nullptr;
    int (*renderCairo)(void*, cairo_t*) = nullptr;
    void (*unref)(void*) = nullptr;
    void (*freeError)(void*) = nullptr;
};

const Rsvg* LoadRsvg() {
    static const Rsvg* lib = [] {
        static Rsvg r;
        void* rsvg = OpenFirstLibrary({"librsvg-2.so.2"});
        void* gobject = OpenFirstLibrary({"libgobject-2.0.so.0"});
        void* glib = OpenFirstLibrary({"libglib-2.0.so.0"});
        const bool all = BindFunction(rsvg, "rsvg_handle_new_from_data", r.newFromData) &&
                         BindFunction(rsvg, "rsvg_handle_set_dpi", r.setDpi) &&
                         BindFunction(rsvg, "rsvg_handle_get_dimensions", r.getDimensions) &&
                         BindFunction(rsvg, "rsvg_handle_render_cairo", r.renderCairo) &&
                         BindFunction(gobject, "g_object_unref", r.unref) &&
                         BindFunction(glib, "g_error_free", r.freeError);
        return all ? &r : static_cast<Rsvg*>(nullptr);
    }();
    return lib;
}

// A surface painted white, ready for drawing on.
cairo_surface_t* WhiteSurface(const CairoLibrary& c, int w, int h, cairo_t** cr) {
    cairo_surface_t* s = c.cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    *cr = c.cairo_create(s);
    c.cairo_set_source_rgb(*cr, 1, 1, 1);
    c.cairo_paint(*cr);
    return s;
}

// An image surface as grey, alpha flattened on white.
void GreyOfSurface(const CairoLibrary& c, cairo_surface_t* s, GreyImage& image) {
    c.cairo_surface_flush(s);
    const int w = c.cairo_image_surface_get_width(s), h = c.cairo_image_surface_get_height(s);
    const int stride = c.cairo_image_surface_get_stride(s);
    const unsigned char* data = c.cairo_image_surface_get_data(s);
    image.width = w;
    image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            // Most pixels are opaque white or black.
            if (p == 0xFFFFFFFFu || p == 0xFF000000u) {
                image.pixels[static_cast<std::size_t>(y) * w + x] = p == 0xFF000000u ? 0 : 255;
                continue;
            }
            // Premultiplied: white shows through what the alpha leaves.
            const int white = 255 - static_cast<int>(p >> 24);
            const int r = (p >> 16 & 0xFF) + white, g = (p >> 8 & 0xFF) + white, b = (p & 0xFF) + white;
            image.pixels[static_cast<std::size_t>(y) * w + x] =
                static_cast<uint8_t>(std::min(255, (r * 299 + g * 587 + b * 114) / 1000));
        }
    }
}

FileRender Missing(const char* library) {
    FileRender r;
    r.noReader = true;
    r.reason = std::string(library) + " is not installed";
    return r;
}

FileRender Failed(std::string reason) {
    FileRender r;
    r.reason = std::move(reason);
    return r;
}

FileRender RenderSvgBytes(const std::string& svg, int ppi, GreyImage& image) {
    const CairoLibrary* c = Cairo();
    if (!c) return Missing("cairo (libcairo2)");
    const Rsvg* rsvg = LoadRsvg();
    if (!rsvg) return Missing("librsvg (librsvg2-2)");
    void* error = nullptr;
    void* handle = rsvg->newFromData(reinterpret_cast<const uint8_t*>(svg.data()), svg.size(), &error);
    if (!handle) {
        if (error) rsvg->freeError(error);
        return Failed("librsvg cannot read the SVG");
    }
    rsvg->setDpi(handle, ppi);
    RsvgDimensions d{};
    rsvg->getDimensions(handle, &d);
    if (d.width <= 0 || d.height <= 0 || static_cast<double>(d.width) * d.height > kMaxPixels) {
        rsvg->unref(handle);
        return Failed("the SVG has no size that can be drawn");
    }
    cairo_t* cr = nullptr;
    cairo_surface_t* s = WhiteSurface(*c, d.width, d.height, &cr);
    const bool drawn = rsvg->renderCairo(handle, cr) != 0;
    rsvg->unref(handle);
    c->cairo_destroy(cr);
    if (drawn) GreyOfSurface(*c, s, image);
    c->cairo_surface_destroy(s);
    return drawn ? FileRender{true, false, ""} : Failed("librsvg cannot draw the SVG");
}

FileRender RenderPng(const std::string& path, GreyImage& image) {
    const CairoLibrary* c = Cairo();
    if (!c) return Missing("cairo (libcairo2)");
    cairo_surface_t* png = c->cairo_image_surface_create_from_png(path.c_str());
    if (c->cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        c->cairo_surface_destroy(png);
        return Failed("cairo cannot read the PNG");
    }
    const int w = c->cairo_image_surface_get_width(png), h = c->cairo_image_surface_get_height(png);
    cairo_t* cr = nullptr;
    cairo_surface_t* s = WhiteSurface(*c, w, h, &cr);
    c->cairo_set_source_surface(cr, png, 0, 0);
    c->cairo_paint(cr);
    c->cairo_destroy(cr);
    GreyOfSurface(*c, s, image);
    c->cairo_surface_destroy(s);
    c->cairo_surface_destroy(png);
    return {true, false, ""};
}

// libwmf: the metafile's records played through its SVG device.
struct Wmf {
    decltype(&wmf_api_create) create = nullptr;
    decltype(&wmf_api_destroy) destroy = nullptr;
    decltype(&wmf_mem_open) memOpen = nullptr;
    decltype(&wmf_scan) scan = nullptr;
    decltype(&wmf_display_size) displaySize = nullptr;
    decltype(&wmf_play) play = nullptr;
    decltype(&wmf_stream_create) streamCreate = nullptr;
    decltype(&wmf_stream_destroy) streamDestroy = nullptr;
    decltype(&wmf_svg_function) svgFunction = nullptr;
};

const Wmf* LoadWmf() {
    static const Wmf* lib = [] {
        static Wmf w;
        void* h = OpenFirstLibrary({"libwmf-0.2.so.7"});
        const bool all = BindFunction(h, "wmf_api_create", w.create) && BindFunction(h, "wmf_api_destroy", w.destroy) &&
                         BindFunction(h, "wmf_mem_open", w.memOpen) && BindFunction(h, "wmf_scan", w.scan) &&
                         BindFunction(h, "wmf_display_size", w.displaySize) && BindFunction(h, "wmf_play", w.play) &&
                         BindFunction(h, "wmf_stream_create", w.streamCreate) &&
                         BindFunction(h, "wmf_stream_destroy", w.streamDestroy) &&
                         BindFunction(h, "wmf_svg_function", w.svgFunction);
        return all ? &w : static_cast<Wmf*>(nullptr);
    }();
    return lib;
}

FileRender RenderWmf(std::string& bytes, int ppi, GreyImage& image) {
    const Wmf* wmf = LoadWmf();
    if (!wmf) return Missing("libwmf (libwmf-0.2-7)");
    std::string svg;
    {
        // The library keeps state of its own per player; one at a time.
        static std::mutex mutex;
        std::lock_guard<std::mutex> lock(mutex);
        wmfAPI_Options options{};
        options.function = wmf->svgFunction;
        wmfAPI* api = nullptr;
        unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL;
        const std::string& fontMap = WmfFontMapFile();
        if (!fontMap.empty()) {
            options.gs_fontmap_file = const_cast<char*>(fontMap.c_str());
            flags |= WMF_OPT_GS_FONTMAP;
        }
        if (wmf->create(&api, flags, &options) != wmf_E_None) {
            if (api) wmf->destroy(api);
            return Failed("libwmf could not be set up");
        }
        wmfD_Rect box{};
        unsigned int w = 0, h = 0;
        bool ok = wmf->memOpen(api, reinterpret_cast<unsigned char*>(bytes.data()), static_cast<long>(bytes.size())) ==
                      wmf_E_None &&
                  wmf->scan(api, 0, &box) == wmf_E_None && wmf->displaySize(api, &w, &h, ppi, ppi) == wmf_E_None &&
                  w > 0 && h > 0 && static_cast<double>(w) * h <= kMaxPixels;
        if (ok) {
            wmf_svg_t* device = WMF_SVG_GetData(api);
            device->out = wmf->streamCreate(api, nullptr);
            device->bbox = box;
            device->width = w;
            device->height = h;
            ok = device->out && wmf->play(api, 0, &box) == wmf_E_None;
            char* text = nullptr;
            unsigned long length = 0;
            if (device->out) wmf->streamDestroy(api, device->out, &text, &length);
            // The text belongs to the library's memory, freed with the API.
            if (ok && text) svg.assign(text, length);
        }
        wmf->destroy(api);
        if (!ok || svg.empty()) return Failed("libwmf cannot play the metafile's records");
    }
    return RenderSvgBytes(svg, ppi, image);
}

// libemf2svg's one call and its options.
struct Emf2SvgOptions {
    char* nameSpace;
    bool verbose;
    bool emfplus;
    bool svgDelimiter;
    double imgHeight;
    double imgWidth;
};
using Emf2Svg = int (*)(char*, std::size_t, char**, std::size_t*, Emf2SvgOptions*);

FileRender RenderEmf(std::string& bytes, int ppi, GreyImage& image) {
    static const Emf2Svg convert = [] {
        Emf2Svg f = nullptr;
        BindFunction(OpenFirstLibrary({"libemf2svg.so.1"}), "emf2svg", f);
        return f;
    }();
    if (!convert) return Missing("libemf2svg (libemf2svg1)");
    if (bytes.size() < 88) return Failed("not an EMF file");
    // The frame, in hundredths of a millimetre, sets the image's size.
    const double frameW = static_cast<int32_t>(Le32(bytes, 32)) - static_cast<int32_t>(Le32(bytes, 24));
    const double frameH = static_cast<int32_t>(Le32(bytes, 36)) - static_cast<int32_t>(Le32(bytes, 28));
    const double w = std::ceil(frameW / 2540.0 * ppi), h = std::ceil(frameH / 2540.0 * ppi);
    if (!(w > 0 && h > 0 && w * h <= kMaxPixels)) return Failed("the EMF file's frame has no size that can be drawn");
    Emf2SvgOptions options{nullptr, false, true, true, h, w};
    char* svg = nullptr;
    std::size_t length = 0;
    const int ok = convert(bytes.data(), bytes.size(), &svg, &length, &options);
    std::string text = svg && ok ? std::string(svg, length) : std::string();
    std::free(svg);
    if (text.empty()) return Failed("libemf2svg cannot read the metafile's records");
    return RenderSvgBytes(text, 72, image);
}

void WithMargin(GreyImage& image, int margin) {
    GreyImage out;
    out.width = image.width + 2 * margin;
    out.height = image.height + 2 * margin;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width,
                    out.pixels.begin() + static_cast<std::ptrdiff_t>(y + margin) * out.width + margin);
    image = std::move(out);
}

}  // namespace

GraphicFileKind GraphicFileKindOf(const std::string& path) {
    RegularFile file;
    if (!file.Open(path)) return GraphicFileKind::Unknown;
    std::string head(256, '\0');
    const long long n = file.ReadAt(0, head.data(), head.size());
    if (n < 4) return GraphicFileKind::Unknown;
    head.resize(static_cast<std::size_t>(n));
    const auto u = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
    if (u(0) == 0xC5 && u(1) == 0xD0 && u(2) == 0xD3 && u(3) == 0xC6) return GraphicFileKind::Eps;
    if (head.rfind("%PDF-", 0) == 0) return GraphicFileKind::Pdf;
    if (head.rfind("%!", 0) == 0) return GraphicFileKind::Eps;
    if (head.rfind("\x89PNG\r\n\x1a\n", 0) == 0) return GraphicFileKind::Png;
    if (u(0) == 0xD7 && u(1) == 0xCD && u(2) == 0xC6 && u(3) == 0x9A) return GraphicFileKind::Wmf;
    if (head.size() >= 44 && Le32(head, 0) == 1 && head.compare(40, 4, " EMF") == 0) return GraphicFileKind::Emf;
    if (head.size() >= 18 && (u(0) == 1 || u(0) == 2) && u(1) == 0 && u(2) == 9 && u(3) == 0)
        return GraphicFileKind::Wmf;
    std::size_t at = head.find_first_not_of(" \t\r\n");
    if (head.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;
    if (at != std::string::npos && head[at] == '<' && head.find("<svg") != std::string::npos)
        return GraphicFileKind::Svg;
    if (at != std::string::npos && head.compare(at, 5, "<?xml") == 0) return GraphicFileKind::Svg;
    return GraphicFileKind::Unknown;
}

const char* GraphicFileKindName(GraphicFileKind kind) {
    switch (kind) {
    case GraphicFileKind::Eps: return "EPS";
    case GraphicFileKind::Pdf: return "PDF";
    case GraphicFileKind::Png: return "PNG";
    case GraphicFileKind::Svg: return "SVG";
    case GraphicFileKind::Wmf: return "WMF";
    case GraphicFileKind::Emf: return "EMF";
    case GraphicFileKind::Unknown: break;
    }
    return "unknown";
}

FileRender RenderGraphicFile(const std::string& path, int ppi, GreyImage& image) {
    image = GreyImage{};
    FileRender r;
    const GraphicFileKind kind = GraphicFileKindOf(path);
    switch (kind) {
    case GraphicFileKind::Eps:
    case GraphicFileKind::Pdf: {
        const bool ok = kind == GraphicFileKind::Eps ? RenderEpsFile(path, ppi, image, &r.reason)
                                                     : RenderPdfFile(path, ppi, image, &r.reason);
        r.ok = ok;
        r.noReader = !ok && r.reason.find("not installed") != std::string::npos;
        return r;
    }
    case GraphicFileKind::Png: return RenderPng(path, image);
    case GraphicFileKind::Unknown:
        return Failed("not a graphic file this program reads (EPS, PDF, PNG, SVG, WMF, EMF)");
    default: break;
    }
    std::string bytes;
    if (!ReadWhole(path, bytes, r.reason)) return r;
    if (kind == GraphicFileKind::Svg) return RenderSvgBytes(bytes, ppi, image);
    r = kind == GraphicFileKind::Wmf ? RenderWmf(bytes, ppi, image) : RenderEmf(bytes, ppi, image);
    // A metafile reader draws only the records' bounds: a transparent
    // background leaves the quiet zones out, which a scanner finds on paper.
    if (r.ok) WithMargin(image, std::max(16, image.width / 8));
    return r;
}

}  // namespace vg
