#include "output/exportwriter.h"

#include <cmath>

#include "model/atomicfile.h"
#include "output/metafilewriter.h"
#include "device/cairodc.h"
#include "device/cairolib.h"
#include "render/drawsymbol.h"

namespace vg {
namespace {

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    std::FILE* f = static_cast<std::FILE*>(closure);
    return std::fwrite(data, 1, length, f) == length ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
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

bool WriteExportFile(const std::string& path, ExportKind kind, int dpi, std::string* reason) {
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
    {
        CairoDC dc(cr, scale, kind != ExportKind::Png);
        DrawSymbol(dc, ClipRect{}, 1, 0, nullptr);
    }
    c->cairo_destroy(cr);
    c->cairo_surface_flush(surface);
    bool ok = c->cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    if (ok && kind == ExportKind::Png) ok = c->cairo_surface_write_to_png_stream(surface, WriteToFile, f) == CAIRO_STATUS_SUCCESS;
    c->cairo_surface_finish(surface);
    ok = ok && c->cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    c->cairo_surface_destroy(surface);
    return ok && file.Commit();
}

}  // namespace vg
