#include "device/metafiledc.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include "device/fontservice.h"
#include "device/uemflib.h"

namespace vg {
namespace {

// libUEMF; called only once a context holds its handle table, which needs it.
const UemfLibrary& U() { return *Uemf(); }

constexpr uint16_t kPitchAndFamily = 18;  // variable pitch, roman
constexpr uint8_t kProofQuality = 2;

U_COLORREF ColourRef(Rgb c) { return U().colorref3_set(c.r, c.g, c.b); }

// The text colour, background and alignment records a text needs, each only
// where it differs from what the metafile has; the makers are WMF's or EMF's.
template <typename Records, typename State, typename Colour, typename Mode, typename Background, typename Align>
void AppendTextAttributes(Records& m, const State& state, Colour colour, Mode mode, Background background,
                          Align align) {
    if (m.textColour != state.textColour) {
        m.Append(colour(ColourRef(state.textColour)));
        m.textColour = state.textColour;
    }
    if (m.opaque != state.opaque) {
        m.Append(mode(state.opaque ? U_OPAQUE : U_TRANSPARENT));
        m.opaque = state.opaque;
    }
    if (state.opaque && m.background != state.background) {
        m.Append(background(ColourRef(state.background)));
        m.background = state.background;
    }
    if (m.align != state.align) {
        m.Append(align(state.align));
        m.align = state.align;
    }
}

int16_t Clamp16(long long v) { return static_cast<int16_t>(std::clamp<long long>(v, INT16_MIN, INT16_MAX)); }

void PutLe(std::string& out, std::size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
}

// Windows-1252 text as UTF-16 code units (all in the basic plane).
std::vector<uint16_t> Utf16Of(std::string_view text) {
    std::vector<uint16_t> units;
    units.reserve(text.size() + 1);
    for (unsigned char c : text) units.push_back(static_cast<uint16_t>(Cp1252ToUnicode(c)));
    return units;
}

// Whether a font selection has to be written again.
bool SameFont(const std::optional<FontSpec>& written, const FontSpec& wanted) { return written && *written == wanted; }

// Code points as UTF-16 code units; one advance per unit (0 for the second of a pair).
void AppendUtf16(char32_t c, int advance, std::vector<uint16_t>& units, std::vector<int>& dx) {
    if (c >= 0x10000) {
        c -= 0x10000;
        units.push_back(static_cast<uint16_t>(0xD800 + (c >> 10)));
        units.push_back(static_cast<uint16_t>(0xDC00 + (c & 0x3FF)));
        dx.push_back(advance);
        dx.push_back(0);
    } else {
        units.push_back(static_cast<uint16_t>(c));
        dx.push_back(advance);
    }
}

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = length > 0 && i + length <= utf8.size();
        for (int k = 1; ok && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        out.push_back(ok ? c : U'\uFFFD');
        i += ok ? length : 1;
    }
    return out;
}

// ---- BackendDC ----

bool BackendDC::SelectFont(const FontSpec& font) {
    const FontFace* face = FontService::Instance().Resolve(font);
    if (face == nullptr) return false;
    m_state.font = font;
    m_state.face = face;
    return true;
}

void BackendDC::SetBackground(bool opaque, Rgb colour) {
    m_state.opaque = opaque;
    m_state.background = colour;
}

TextExtent BackendDC::GetTextExtent(std::string_view text) {
    if (m_state.face == nullptr) return {};
    return m_state.face->Extent(text, m_state.font.height);
}

FontMetrics BackendDC::GetTextMetrics() {
    if (m_state.face == nullptr) return {};
    return m_state.face->Metrics(m_state.font.height);
}

void BackendDC::RestoreState() {
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

std::vector<int> BackendDC::Advances(std::string_view text) const {
    std::vector<int> dx(text.size(), 0);
    if (m_state.face == nullptr) return dx;
    int before = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int upTo = m_state.face->Extent(text.substr(0, i + 1), m_state.font.height).cx;
        dx[i] = upTo - before;
        before = upTo;
    }
    return dx;
}

std::vector<int> BackendDC::Advances(const std::u32string& text) const {
    std::vector<int> dx(text.size(), 0);
    if (m_state.face == nullptr || m_state.font.height <= 0) return dx;
    const int cellPerEm = m_state.face->Metrics(-m_state.face->UnitsPerEm()).height;
    if (cellPerEm <= 0) return dx;
    FT_Face face = m_state.face->Face();
    long long units = 0;
    int before = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        FT_Fixed advance = 0;
        const FT_UInt glyph = FT_Get_Char_Index(face, text[i]);
        if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) == 0) units += advance;
        const int upTo = static_cast<int>(std::clamp<long long>(units * m_state.font.height / cellPerEm, 0, INT_MAX));
        dx[i] = upTo - before;
        before = upTo;
    }
    return dx;
}

// ---- WmfDC ----

struct WmfDC::Impl {
    std::string records;            // after the 18-byte header
    std::size_t startExtentAt = 0;  // offset of the first window extent record
    uint32_t largest = 9;           // words; the header counts
    bool ok = true;
    WMFHANDLES* handles = nullptr;

    std::optional<Rgb> brush;  // written state
    uint32_t brushHandle = 0;
    std::optional<FontSpec> font;
    uint32_t fontHandle = 0;
    uint32_t nullPen = 0;
    std::optional<Rgb> textColour;
    std::optional<bool> opaque;
    std::optional<Rgb> background;
    std::optional<int> align;

    void Append(char* rec) {
        if (rec == nullptr) {
            ok = false;
            return;
        }
        const uint32_t size = U().U_wmr_size(reinterpret_cast<U_METARECORD*>(rec));
        records.append(rec, size);
        largest = std::max(largest, size / 2);
        std::free(rec);
    }
    void Select(uint32_t handle) { Append(U().wselectobject_set(handle, handles)); }
    void Delete(uint32_t& handle) { Append(U().wdeleteobject_set(&handle, handles)); }
};

WmfDC::WmfDC(int windowCx, int windowCy) : m_impl(std::make_unique<Impl>()) {
    Impl& m = *m_impl;
    if (Uemf() == nullptr || U().wmf_htable_create(32, 32, &m.handles) != 0) {
        m.handles = nullptr;
        m.ok = false;
        return;
    }
    m.Append(U().U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    m.Append(U().U_WMRSETWINDOWORG_set(U().point16_set(0, 0)));
    m.startExtentAt = m.records.size();
    m.Append(U().U_WMRSETWINDOWEXT_set(U().point16_set(Clamp16(windowCx), Clamp16(windowCy))));
    m.Append(U().U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
    // Polygons have no outline.
    m.Append(
        U().wcreatepenindirect_set(&m.nullPen, m.handles, U().U_PEN_set(U_PS_NULL, 0, U().colorref3_set(0, 0, 0))));
    m.Select(m.nullPen);
}

WmfDC::~WmfDC() {
    if (m_impl && m_impl->handles) U().wmf_htable_free(&m_impl->handles);
}

void WmfDC::SetStartExtent(int windowCx, int windowCy) {
    Impl& m = *m_impl;
    if (!m.handles) return;
    char* rec = U().U_WMRSETWINDOWEXT_set(U().point16_set(Clamp16(windowCx), Clamp16(windowCy)));
    if (rec == nullptr) {
        m.ok = false;
        return;
    }
    const uint32_t size = U().U_wmr_size(reinterpret_cast<U_METARECORD*>(rec));
    if (m.startExtentAt + size <= m.records.size()) m.records.replace(m.startExtentAt, size, rec, size);
    std::free(rec);
}

void WmfDC::SetWindowExtent(int cx, int cy) {
    if (!m_impl->handles) return;
    m_impl->Append(U().U_WMRSETWINDOWEXT_set(U().point16_set(Clamp16(cx), Clamp16(cy))));
}

void WmfDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0 || !m_impl->handles) return;
    Impl& m = *m_impl;
    if (m.brush != m_state.brush) {
        uint32_t previous = m.brushHandle;
        const bool hadBrush = m.brush.has_value();
        m.Append(U().wcreatebrushindirect_set(&m.brushHandle, m.handles,
                                              U().U_WLOGBRUSH_set(U_BS_SOLID, ColourRef(m_state.brush), 0)));
        m.Select(m.brushHandle);
        if (hadBrush) m.Delete(previous);
        m.brush = m_state.brush;
    }
    std::vector<U_POINT16> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) pts[i] = U().point16_set(Clamp16(points[i].x), Clamp16(points[i].y));
    m.Append(U().U_WMRPOLYGON_set(static_cast<uint16_t>(std::min(count, 0x7FFF)), pts.data()));
}

void WmfDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0 || !m_impl->handles) return;
    Impl& m = *m_impl;
    uint32_t pen = 0;
    m.Append(U().wcreatepenindirect_set(&pen, m.handles, U().U_PEN_set(U_PS_DOT, 1, ColourRef(colour))));
    m.Select(pen);
    std::vector<U_POINT16> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) pts[i] = U().point16_set(Clamp16(points[i].x), Clamp16(points[i].y));
    m.Append(U().U_WMRPOLYLINE_set(static_cast<uint16_t>(std::min(count, 0x7FFF)), pts.data()));
    m.Select(m.nullPen);
    m.Delete(pen);
}

void WmfDC::Line(Point from, Point to, Rgb colour, int width) {
    if (!m_impl->handles) return;
    Impl& m = *m_impl;
    uint32_t pen = 0;
    m.Append(U().wcreatepenindirect_set(
        &pen, m.handles,
        U().U_PEN_set(U_PS_SOLID, static_cast<uint16_t>(std::clamp(width, 0, 0x7FFF)), ColourRef(colour))));
    m.Select(pen);
    m.Append(U().U_WMRMOVETO_set(U().point16_set(Clamp16(from.x), Clamp16(from.y))));
    m.Append(U().U_WMRLINETO_set(U().point16_set(Clamp16(to.x), Clamp16(to.y))));
    m.Select(m.nullPen);
    m.Delete(pen);
}

void WmfDC::TextOut(Point at, std::string_view text) {
    if (text.empty() || !m_impl->handles) return;
    Impl& m = *m_impl;
    if (m_state.face != nullptr && !SameFont(m.font, m_state.font)) {
        const bool hadFont = m.font.has_value();
        uint32_t previous = m.fontHandle;
        std::string face = m_state.font.face.substr(0, 31);
        U_FONT* font = U().U_FONT_set(Clamp16(m_state.font.height), 0, Clamp16(m_state.font.escapement), 0,
                                      static_cast<int16_t>(m_state.font.weight), m_state.font.italic ? 1 : 0, 0, 0,
                                      0 /* ANSI */, 0, 0, kProofQuality, kPitchAndFamily, face.data());
        if (font == nullptr) {
            m.ok = false;
            return;
        }
        m.Append(U().wcreatefontindirect_set(&m.fontHandle, m.handles, font));
        std::free(font);
        m.Select(m.fontHandle);
        if (hadFont) m.Delete(previous);
        m.font = m_state.font;
    }
    AppendTextAttributes(m, m_state, U().U_WMRSETTEXTCOLOR_set, U().U_WMRSETBKMODE_set, U().U_WMRSETBKCOLOR_set,
                         [](int align) { return U().U_WMRSETTEXTALIGN_set(static_cast<uint16_t>(align)); });
    const std::string_view cut = text.substr(0, 0x7FFF);
    std::vector<int16_t> dx;
    for (int a : Advances(cut)) dx.push_back(Clamp16(a));
    const std::string bytes(cut);
    m.Append(U().U_WMREXTTEXTOUT_set(U().point16_set(Clamp16(at.x), Clamp16(at.y)), static_cast<int16_t>(bytes.size()),
                                     0, bytes.c_str(), dx.data(), U_RECT16{}));
}

bool WmfDC::Finish(std::string& bytes) {
    Impl& m = *m_impl;
    if (!m.handles) return false;
    m.Append(U().U_WMREOF_set());
    if (!m.ok) return false;
    // The header: disk metafile, 9 words, version 3.0, size in words, objects, largest record.
    std::string header(18, '\0');
    PutLe(header, 0, 1, 2);
    PutLe(header, 2, 9, 2);
    PutLe(header, 4, 0x0300, 2);
    PutLe(header, 6, static_cast<uint32_t>((18 + m.records.size()) / 2), 4);
    PutLe(header, 10, m.handles->peak, 2);
    PutLe(header, 12, m.largest, 4);
    bytes = header + m.records;
    m.records.clear();
    return true;
}

// ---- EmfDC ----

struct EmfDC::Impl {
    std::string records;
    uint32_t count = 0;
    bool ok = true;
    EMFHANDLES* handles = nullptr;
    int width = 0;
    int height = 0;

    std::optional<Rgb> brush;
    uint32_t brushHandle = 0;
    std::optional<FontSpec> font;
    uint32_t fontHandle = 0;
    uint32_t nullPen = 0;
    std::optional<Rgb> textColour;
    std::optional<bool> opaque;
    std::optional<Rgb> background;
    std::optional<int> align;

    void Append(char* rec) {
        if (rec == nullptr) {
            ok = false;
            return;
        }
        const uint32_t size = reinterpret_cast<U_EMR*>(rec)->nSize;
        records.append(rec, size);
        ++count;
        std::free(rec);
    }
    void Select(uint32_t handle) { Append(U().selectobject_set(handle, handles)); }
    void Delete(uint32_t& handle) { Append(U().deleteobject_set(&handle, handles)); }
};

namespace {

std::vector<U_POINTL> PointsL(const Point* points, int count) {
    std::vector<U_POINTL> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) pts[i] = U().point32_set(points[i].x, points[i].y);
    return pts;
}

U_RECTL BoundsOf(const std::vector<U_POINTL>& pts) {
    U_RECTL r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const U_POINTL& p : pts) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

}  // namespace

EmfDC::EmfDC(int width, int height) : m_impl(std::make_unique<Impl>()) {
    Impl& m = *m_impl;
    m.width = std::max(0, width);
    m.height = std::max(0, height);
    if (Uemf() == nullptr || U().emf_htable_create(32, 32, &m.handles) != 0) {
        m.handles = nullptr;
        m.ok = false;
        return;
    }
    // The header is built in Finish, when the record count is known.
    m.Append(U().U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    m.Append(U().U_EMRSETWINDOWEXTEX_set(U().sizel_set(1000, 1000)));
    m.Append(U().U_EMRSETVIEWPORTEXTEX_set(U().sizel_set(kDeviceDpi, kDeviceDpi)));
    m.Append(U().U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
    m.Append(U().createpen_set(&m.nullPen, m.handles,
                               U().logpen_set(U_PS_NULL, U().point32_set(0, 0), U().colorref3_set(0, 0, 0))));
    m.Select(m.nullPen);
}

EmfDC::~EmfDC() {
    if (m_impl && m_impl->handles) U().emf_htable_free(&m_impl->handles);
}

void EmfDC::SetWindowExtent(int cx, int cy) {
    if (!m_impl->handles) return;
    m_impl->Append(U().U_EMRSETWINDOWEXTEX_set(U().sizel_set(cx, cy)));
}

void EmfDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0 || !m_impl->handles) return;
    Impl& m = *m_impl;
    if (m.brush != m_state.brush) {
        const bool hadBrush = m.brush.has_value();
        uint32_t previous = m.brushHandle;
        m.Append(U().createbrushindirect_set(&m.brushHandle, m.handles,
                                             U().logbrush_set(U_BS_SOLID, ColourRef(m_state.brush), 0)));
        m.Select(m.brushHandle);
        if (hadBrush) m.Delete(previous);
        m.brush = m_state.brush;
    }
    const std::vector<U_POINTL> pts = PointsL(points, count);
    m.Append(U().U_EMRPOLYGON_set(BoundsOf(pts), static_cast<uint32_t>(count), pts.data()));
}

void EmfDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0 || !m_impl->handles) return;
    Impl& m = *m_impl;
    uint32_t pen = 0;
    m.Append(U().createpen_set(&pen, m.handles, U().logpen_set(U_PS_DOT, U().point32_set(1, 0), ColourRef(colour))));
    m.Select(pen);
    const std::vector<U_POINTL> pts = PointsL(points, count);
    m.Append(U().U_EMRPOLYLINE_set(BoundsOf(pts), static_cast<uint32_t>(count), pts.data()));
    m.Select(m.nullPen);
    m.Delete(pen);
}

void EmfDC::Line(Point from, Point to, Rgb colour, int width) {
    if (!m_impl->handles) return;
    Impl& m = *m_impl;
    uint32_t pen = 0;
    m.Append(U().createpen_set(&pen, m.handles,
                               U().logpen_set(U_PS_SOLID, U().point32_set(std::max(0, width), 0), ColourRef(colour))));
    m.Select(pen);
    m.Append(U().U_EMRMOVETOEX_set(U().point32_set(from.x, from.y)));
    m.Append(U().U_EMRLINETO_set(U().point32_set(to.x, to.y)));
    m.Select(m.nullPen);
    m.Delete(pen);
}

void EmfDC::TextOut(Point at, std::string_view text) {
    if (text.empty()) return;
    const std::vector<int> advances = Advances(text);
    std::vector<uint16_t> units;
    std::vector<int> dx;
    for (std::size_t i = 0; i < text.size(); ++i)
        AppendUtf16(Cp1252ToUnicode(static_cast<unsigned char>(text[i])), advances[i], units, dx);
    TextOutUnits(at, units, dx);
}

void EmfDC::TextOutUtf8(Point at, std::string_view utf8) {
    const std::u32string text = DecodeUtf8(utf8);
    const std::vector<int> advances = Advances(text);
    std::vector<uint16_t> units;
    std::vector<int> dx;
    for (std::size_t i = 0; i < text.size(); ++i) AppendUtf16(text[i], advances[i], units, dx);
    TextOutUnits(at, units, dx);
}

TextExtent EmfDC::GetTextExtentUtf8(std::string_view utf8) {
    if (m_state.face == nullptr) return {};
    int width = 0;
    for (int a : Advances(DecodeUtf8(utf8))) width += a;
    return {width, m_state.face->Metrics(m_state.font.height).height};
}

void EmfDC::TextOutUnits(Point at, const std::vector<uint16_t>& units, const std::vector<int>& advances) {
    if (units.empty() || !m_impl->handles) return;
    Impl& m = *m_impl;
    if (m_state.face != nullptr && !SameFont(m.font, m_state.font)) {
        const bool hadFont = m.font.has_value();
        uint32_t previous = m.fontHandle;
        std::vector<uint16_t> face = Utf16Of(std::string_view(m_state.font.face).substr(0, U_LF_FACESIZE - 1));
        face.resize(U_LF_FACESIZE, 0);
        U_LOGFONT lf = U().logfont_set(m_state.font.height, 0, m_state.font.escapement, 0, m_state.font.weight,
                                       m_state.font.italic ? 1 : 0, 0, 0, 0 /* ANSI */, 0, 0, kProofQuality,
                                       kPitchAndFamily, face.data());
        m.Append(U().extcreatefontindirectw_set(&m.fontHandle, m.handles, reinterpret_cast<const char*>(&lf), nullptr));
        m.Select(m.fontHandle);
        if (hadFont) m.Delete(previous);
        m.font = m_state.font;
    }
    AppendTextAttributes(m, m_state, U().U_EMRSETTEXTCOLOR_set, U().U_EMRSETBKMODE_set, U().U_EMRSETBKCOLOR_set,
                         [](int align) { return U().U_EMRSETTEXTALIGN_set(static_cast<uint32_t>(align)); });
    std::vector<uint16_t> string = units;
    std::vector<uint32_t> dx;
    for (int a : advances) dx.push_back(static_cast<uint32_t>(std::max(0, a)));
    char* emrtext = U().emrtext_set(U().point32_set(at.x, at.y), static_cast<U_NUM_STR>(string.size()), 2,
                                    string.data(), U_ETO_NONE, U_RCL_DEF, dx.data());
    if (emrtext == nullptr) {
        m.ok = false;
        return;
    }
    m.Append(U().U_EMREXTTEXTOUTW_set(U_RCL_DEF, U_GM_COMPATIBLE, 0.0f, 0.0f, reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
}

bool EmfDC::Finish(std::string& bytes) {
    Impl& m = *m_impl;
    if (!m.handles) return false;
    EMFTRACK track{};
    m.Append(U().U_EMREOF_set(0, nullptr, &track));
    if (!m.ok) return false;

    // Bounds in device pixels, frame in hundredths of a millimetre: a drawing
    // whose frame does not fit the header's 32-bit fields makes no file.
    const double most = std::max<double>(m.width, m.height) * std::max(2.54, kDeviceDpi / 1000.0);
    if (m.width < 0 || m.height < 0 || !(most <= INT32_MAX)) return false;
    const U_RECTL bounds{0, 0, static_cast<int32_t>(static_cast<long long>(m.width) * kDeviceDpi / 1000),
                         static_cast<int32_t>(static_cast<long long>(m.height) * kDeviceDpi / 1000)};
    const U_RECTL frame{0, 0, static_cast<int32_t>(m.width * 2.54), static_cast<int32_t>(m.height * 2.54)};
    // A 20 x 15 inch device.
    char* header = U().U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr,
                                       U().sizel_set(20 * kDeviceDpi, 15 * kDeviceDpi), U().sizel_set(508, 381), 0);
    if (header == nullptr) return false;
    const uint32_t headerSize = reinterpret_cast<U_EMR*>(header)->nSize;
    U_EMRHEADER* h = reinterpret_cast<U_EMRHEADER*>(header);
    h->nBytes = static_cast<uint32_t>(headerSize + m.records.size());
    h->nRecords = m.count + 1;
    h->nHandles = static_cast<uint16_t>(m.handles->peak + 1);
    h->nPalEntries = 0;
    bytes.assign(header, headerSize);
    std::free(header);
    bytes += m.records;
    m.records.clear();
    return true;
}

}  // namespace vg
