#include "device/rasterdc.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <new>

#include "device/fontservice.h"

namespace vg {

namespace {

int screenPpi = 96;

constexpr double kPi = 3.14159265358979323846;
// Bitmaps beyond this many bytes are not made (a preview that large is useless).
constexpr long long kMaxBitmapBytes = 64LL << 20;

// Outline decomposition into straight segments, in font units.
struct OutlineSink {
    std::vector<std::vector<std::pair<double, double>>> contours;
    double x = 0, y = 0;
    int steps = 8;  // straight pieces per curve

    void To(double nx, double ny) {
        contours.back().emplace_back(nx, ny);
        x = nx;
        y = ny;
    }
    static int Move(const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        s->contours.emplace_back();
        s->To(to->x, to->y);
        return 0;
    }
    static int LineTo(const FT_Vector* to, void* user) {
        static_cast<OutlineSink*>(user)->To(to->x, to->y);
        return 0;
    }
    static int Conic(const FT_Vector* c, const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        const double x0 = s->x, y0 = s->y;
        for (int i = 1; i <= s->steps; ++i) {
            double t = static_cast<double>(i) / s->steps, u = 1 - t;
            s->To(u * u * x0 + 2 * u * t * c->x + t * t * to->x, u * u * y0 + 2 * u * t * c->y + t * t * to->y);
        }
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        const double x0 = s->x, y0 = s->y;
        for (int i = 1; i <= s->steps; ++i) {
            double t = static_cast<double>(i) / s->steps, u = 1 - t;
            s->To(u * u * u * x0 + 3 * u * u * t * c1->x + 3 * u * t * t * c2->x + t * t * t * to->x,
                  u * u * u * y0 + 3 * u * u * t * c1->y + 3 * u * t * t * c2->y + t * t * t * to->y);
        }
        return 0;
    }
};

// A glyph's outline decomposed into straight pieces (font units), kept per face,
// glyph and pieces per curve: loading a glyph costs far more than filling it.
// Faces live as long as the font service, so their addresses stay valid keys.
using Contours = std::vector<std::vector<std::pair<double, double>>>;

const Contours* GlyphContours(const FontFace* face, unsigned glyph, int steps) {
    static std::mutex mutex;
    static std::map<std::tuple<const FontFace*, unsigned, int>, std::unique_ptr<const Contours>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto [it, fresh] = cache.try_emplace({face, glyph, steps});
    if (!fresh) return it->second.get();
    FT_Face ft = face->Face();
    if (FT_Load_Glyph(ft, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
        ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return nullptr;
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineSink::Move;
    funcs.line_to = &OutlineSink::LineTo;
    funcs.conic_to = &OutlineSink::Conic;
    funcs.cubic_to = &OutlineSink::Cubic;
    OutlineSink sink;
    sink.steps = steps;
    if (FT_Outline_Decompose(&ft->glyph->outline, &funcs, &sink) != 0) return nullptr;
    it->second = std::make_unique<const Contours>(std::move(sink.contours));
    return it->second.get();
}

}  // namespace

int ScreenPixelsPerInch() { return screenPpi; }
void SetScreenPixelsPerInch(int ppi) { screenPpi = ppi > 0 ? ppi : 96; }

RasterDC::RasterDC(int pixelsPerInchX, int pixelsPerInchY)
    : m_ppiX(pixelsPerInchX > 0 ? pixelsPerInchX : 96), m_ppiY(pixelsPerInchY > 0 ? pixelsPerInchY : 96) {}

bool RasterDC::Allocate(int width, int height) {
    m_bitmap = MonoBitmap{};
    if (width <= 0 || height <= 0) return false;
    const int stride = MonoStride(width);
    if (static_cast<long long>(stride) * height > kMaxBitmapBytes) return false;
    try {
        m_bitmap.bits.assign(static_cast<std::size_t>(stride) * height, 0xFF);
    } catch (const std::bad_alloc&) {
        m_bitmap.bits.clear();
        return false;
    }
    m_bitmap.width = width;
    m_bitmap.height = height;
    m_bitmap.stride = stride;
    return true;
}

MonoBitmap RasterDC::TakeBitmap() {
    MonoBitmap b = std::move(m_bitmap);
    m_bitmap = MonoBitmap{};
    return b;
}

int RasterDC::ToPixelsX(double x) const { return static_cast<int>(std::lround((x - m_origin.x) * m_ppiX / 1000.0)); }

int RasterDC::ToPixelsY(double y) const { return static_cast<int>(std::lround((y - m_origin.y) * m_ppiY / 1000.0)); }

void RasterDC::Plot(int x, int y, bool ink) {
    if (x < 0 || y < 0 || x >= m_bitmap.width || y >= m_bitmap.height) return;
    uint8_t& byte = m_bitmap.bits[static_cast<std::size_t>(y) * m_bitmap.stride + (x >> 3)];
    const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
    if (ink)
        byte = static_cast<uint8_t>(byte & ~mask);
    else
        byte = static_cast<uint8_t>(byte | mask);
}

void RasterDC::Span(int rowFrom, int rowTo, int from, int to, bool ink) {
    if (from >= to) return;
    const int firstByte = from >> 3, lastByte = (to - 1) >> 3;
    uint8_t head = static_cast<uint8_t>(0xFF >> (from & 7));
    const uint8_t tail = static_cast<uint8_t>(0xFF << (7 - ((to - 1) & 7)));
    if (firstByte == lastByte) head &= tail;
    const uint8_t fill = ink ? 0x00 : 0xFF;
    for (int row = rowFrom; row <= rowTo; ++row) {
        uint8_t* line = m_bitmap.bits.data() + static_cast<std::size_t>(row) * m_bitmap.stride;
        auto apply = [ink](uint8_t& byte, uint8_t mask) {
            byte = ink ? static_cast<uint8_t>(byte & ~mask) : static_cast<uint8_t>(byte | mask);
        };
        apply(line[firstByte], head);
        if (firstByte == lastByte) continue;
        for (int i = firstByte + 1; i < lastByte; ++i) line[i] = fill;
        apply(line[lastByte], tail);
    }
}

void RasterDC::Fill(const std::vector<std::vector<DPt>>& contours, bool ink) {
    if (m_bitmap.Empty()) return;
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    double top = std::numeric_limits<double>::max(), bottom = -top;
    for (const auto& c : contours) {
        for (std::size_t i = 0; i < c.size(); ++i) {
            DPt a = c[i], b = c[(i + 1) % c.size()];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
            if (a.y == b.y) continue;
            int dir = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                dir = -1;
            }
            edges.push_back({a.x, a.y, b.x, b.y, dir});
            top = std::min(top, a.y);
            bottom = std::max(bottom, b.y);
        }
    }
    if (edges.empty()) return;
    const int rowFrom = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
    const int rowTo = std::min(m_bitmap.height - 1, static_cast<int>(std::ceil(bottom - 0.5)) - 1);
    if (rowFrom > rowTo) return;
    std::vector<std::pair<double, int>> xs;
    std::vector<std::pair<int, int>> spans;
    // Pixel runs [from, to) of the row whose centre lies at yc.
    auto spansAt = [&](double yc) {
        xs.clear();
        spans.clear();
        for (const Edge& e : edges) {
            if (yc < e.y0 || yc >= e.y1) continue;
            xs.emplace_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        }
        std::sort(xs.begin(), xs.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += xs[i].second;
            if (winding == 0) continue;
            // Pixels whose centres lie in [xa, xb).
            const double xa = std::max(xs[i].first, -1.0);
            const double xb = std::min(xs[i + 1].first, m_bitmap.width + 1.0);
            const int from = std::max(0, static_cast<int>(std::ceil(xa - 0.5)));
            const int to = std::min(m_bitmap.width, static_cast<int>(std::ceil(xb - 0.5)));
            spans.emplace_back(from, to);
        }
    };
    auto fillRows = [&](int from, int to) {
        for (const auto& [a, b] : spans) Span(from, to, a, b, ink);
    };

    const bool upright = std::all_of(edges.begin(), edges.end(), [](const Edge& e) { return e.x0 == e.x1; });
    if (!upright) {
        for (int row = rowFrom; row <= rowTo; ++row) {
            spansAt(row + 0.5);
            fillRows(row, row);
        }
        return;
    }
    // Upright edges only (bars, boxes): the runs change only where an edge starts
    // or ends, so each band between those heights is worked out once.
    std::vector<double> cuts;
    cuts.reserve(2 * edges.size());
    for (const Edge& e : edges) {
        cuts.push_back(e.y0);
        cuts.push_back(e.y1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const int from = std::max(rowFrom, static_cast<int>(std::ceil(cuts[i] - 0.5)));
        const int to = std::min(rowTo, static_cast<int>(std::ceil(cuts[i + 1] - 0.5)) - 1);
        if (from > to) continue;
        spansAt(from + 0.5);
        fillRows(from, to);
    }
}

void RasterDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count < 3 || m_bitmap.Empty()) return;
    // Vertices land on whole pixels, as the platform's polygons do.
    std::vector<std::vector<DPt>> contour(1);
    for (int i = 0; i < count; ++i)
        contour[0].push_back(
            {static_cast<double>(ToPixelsX(points[i].x)), static_cast<double>(ToPixelsY(points[i].y))});
    Fill(contour, IsInk(m_state.brush));
}

void RasterDC::PixelLine(int x0, int y0, int x1, int y1, bool ink, bool dotted) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    long long step = 0;
    // A line longer than the bitmap's diagonal twice over is clipped by Plot anyway.
    const long long limit = 4LL * (m_bitmap.width + m_bitmap.height) + 4;
    while (step < limit) {
        if (!dotted || (step & 1) == 0) Plot(x0, y0, ink);
        ++step;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void RasterDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count < 2 || m_bitmap.Empty()) return;
    for (int i = 0; i + 1 < count; ++i)
        PixelLine(ToPixelsX(points[i].x), ToPixelsY(points[i].y), ToPixelsX(points[i + 1].x),
                  ToPixelsY(points[i + 1].y), IsInk(colour), true);
}

void RasterDC::Line(Point from, Point to, Rgb colour, int width) {
    if (m_bitmap.Empty()) return;
    const double px = width * m_ppiX / 1000.0;
    if (px <= 1.5) {
        PixelLine(ToPixelsX(from.x), ToPixelsY(from.y), ToPixelsX(to.x), ToPixelsY(to.y), IsInk(colour), false);
        return;
    }
    // A wide pen: the rectangle around the segment.
    const double ax = ToPixelsX(from.x), ay = ToPixelsY(from.y);
    const double bx = ToPixelsX(to.x), by = ToPixelsY(to.y);
    const double len = std::hypot(bx - ax, by - ay);
    if (len == 0) return;
    const double nx = -(by - ay) / len * px / 2, ny = (bx - ax) / len * px / 2;
    Fill({{{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}}}, IsInk(colour));
}

bool RasterDC::SelectFont(const FontSpec& font) {
    const FontFace* face = FontService::Instance().Resolve(font);
    if (face == nullptr) return false;
    m_state.font = font;
    m_state.face = face;
    return true;
}

TextExtent RasterDC::GetTextExtent(std::string_view text) {
    if (m_state.face == nullptr) return {};
    return m_state.face->Extent(text, m_state.font.height);
}

FontMetrics RasterDC::GetTextMetrics() {
    if (m_state.face == nullptr) return {};
    return m_state.face->Metrics(m_state.font.height);
}

void RasterDC::RestoreState() {
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

void RasterDC::TextOut(Point at, std::string_view text) {
    const FontFace* face = m_state.face;
    if (face == nullptr || text.empty() || m_bitmap.Empty()) return;
    const int height = m_state.font.height;
    const double scale = face->Scale(height);
    if (!(scale > 0)) return;
    const FontMetrics metrics = face->Metrics(height);
    const TextExtent extent = face->Extent(text, height);

    // Cell coordinates (output units, x along the baseline, y down from the cell
    // top) turned by the escapement and placed at the reference point.
    const double angle = m_state.font.escapement / 10.0 * kPi / 180.0;
    const double ca = std::cos(angle), sa = std::sin(angle);
    const double startX = (m_state.align & kAlignCentreTop) == kAlignCentreTop ? -extent.cx / 2.0 : 0.0;
    auto place = [&](double lx, double ly) {
        const double x = at.x + lx * ca + ly * sa;
        const double y = at.y - lx * sa + ly * ca;
        return DPt{(x - m_origin.x) * m_ppiX / 1000.0, (y - m_origin.y) * m_ppiY / 1000.0};
    };

    if (m_state.opaque) {
        const double x1 = startX + extent.cx, y1 = metrics.height;
        Fill({{place(startX, 0), place(x1, 0), place(x1, y1), place(startX, y1)}}, IsInk(m_state.background));
    }

    const bool ink = IsInk(m_state.textColour);
    // Curves in pieces of about two pixels at the glyph's size.
    const int curveSteps = std::clamp(static_cast<int>(height * m_ppiY / 1000.0 / 6.0), 2, 10);
    double pen = startX;
    std::vector<std::vector<DPt>> contours;
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        const unsigned glyph = face->GlyphIndex(byte);
        if (const Contours* outline = glyph != 0 ? GlyphContours(face, glyph, curveSteps) : nullptr) {
            contours.resize(outline->size());
            for (std::size_t i = 0; i < outline->size(); ++i) {
                contours[i].clear();
                for (const auto& [fx, fy] : (*outline)[i])
                    contours[i].push_back(place(pen + fx * scale, metrics.ascent - fy * scale));
            }
            Fill(contours, ink);
        }
        pen += face->Advance(byte) * scale;
    }
}

}  // namespace vg
