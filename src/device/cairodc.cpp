#include "device/cairodc.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "device/cairolib.h"
#include "device/cffrepair.h"
#include "device/fontservice.h"

namespace vg {
namespace {

// Set when a cairo_t exists, which only the library makes.
const CairoLibrary& C() { return *Cairo(); }

void SetColour(cairo_t* cr, Rgb c) { C().cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void PathOf(cairo_t* cr, const Point* points, int count) {
    C().cairo_new_path(cr);
    C().cairo_move_to(cr, points[0].x, points[0].y);
    for (int i = 1; i < count; ++i) C().cairo_line_to(cr, points[i].x, points[i].y);
}

// The face cairo draws with: a CFF font its PDF subsetter would drop is given
// to it repaired, from memory, with the same glyphs.
FT_Face CairoReadyFace(const FontFace* face) {
    static FT_Library library = nullptr;
    static std::vector<std::unique_ptr<std::vector<uint8_t>>> buffers;
    auto font = std::make_unique<std::vector<uint8_t>>(RepairedCffFont(face->File()));
    if (font->empty() || (library == nullptr && FT_Init_FreeType(&library) != 0)) return face->Face();
    FT_Face repaired = nullptr;
    if (FT_New_Memory_Face(library, font->data(), static_cast<FT_Long>(font->size()), face->Index(), &repaired) != 0 ||
        repaired->num_glyphs != face->Face()->num_glyphs)
        return face->Face();
    buffers.push_back(std::move(font));
    return repaired;
}

// One cairo face per loaded face, kept for the process like the faces themselves.
cairo_font_face_t* CairoFace(const FontFace* face) {
    static std::map<const FontFace*, cairo_font_face_t*> faces;
    cairo_font_face_t*& cf = faces[face];
    if (cf == nullptr) cf = C().cairo_ft_font_face_create_for_ft_face(CairoReadyFace(face), 0);
    return cf;
}

}  // namespace

CairoDC::CairoDC(cairo_t* cr, double unitsToSurface, bool antialiasFills)
    : m_cr(cr), m_scale(unitsToSurface), m_antialiasFills(antialiasFills) {
    C().cairo_scale(m_cr, m_scale, m_scale);
    C().cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
}

void CairoDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0) return;
    C().cairo_save(m_cr);
    C().cairo_set_antialias(m_cr, m_antialiasFills ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    PathOf(m_cr, points, count);
    C().cairo_close_path(m_cr);
    SetColour(m_cr, m_state.brush);
    C().cairo_fill(m_cr);
    C().cairo_restore(m_cr);
}

void CairoDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0) return;
    C().cairo_save(m_cr);
    const double pixel = 1.0 / m_scale;
    const double dash[] = {pixel, pixel};
    C().cairo_set_dash(m_cr, dash, 2, 0);
    C().cairo_set_line_width(m_cr, pixel);
    PathOf(m_cr, points, count);
    SetColour(m_cr, colour);
    C().cairo_stroke(m_cr);
    C().cairo_restore(m_cr);
}

void CairoDC::Line(Point from, Point to, Rgb colour, int width) {
    C().cairo_save(m_cr);
    // Width 0 is one device pixel, as on a screen.
    C().cairo_set_line_width(m_cr, width > 0 ? width : 1.0 / m_scale);
    C().cairo_new_path(m_cr);
    C().cairo_move_to(m_cr, from.x, from.y);
    C().cairo_line_to(m_cr, to.x, to.y);
    SetColour(m_cr, colour);
    C().cairo_stroke(m_cr);
    C().cairo_restore(m_cr);
}

void CairoDC::TextOut(Point at, std::string_view text) {
    if (text.empty() || m_state.face == nullptr) return;
    std::vector<unsigned long> glyphs;
    for (unsigned char c : text) glyphs.push_back(m_state.face->GlyphIndex(c));
    DrawGlyphs(at, glyphs, Advances(text));
}

void CairoDC::TextOutUtf8(Point at, std::string_view utf8) {
    if (utf8.empty() || m_state.face == nullptr) return;
    const std::u32string text = DecodeUtf8(utf8);
    std::vector<unsigned long> glyphs;
    for (char32_t c : text) glyphs.push_back(FT_Get_Char_Index(m_state.face->Face(), c));
    DrawGlyphs(at, glyphs, Advances(text));
}

TextExtent CairoDC::GetTextExtentUtf8(std::string_view utf8) {
    if (m_state.face == nullptr) return {};
    int width = 0;
    for (int a : Advances(DecodeUtf8(utf8))) width += a;
    return {width, m_state.face->Metrics(m_state.font.height).height};
}

void CairoDC::DrawGlyphs(Point at, const std::vector<unsigned long>& indices, const std::vector<int>& advances) {
    if (m_state.font.height <= 0) return;
    const FontFace* face = m_state.face;
    const FontMetrics m = face->Metrics(m_state.font.height);
    const int cellPerEm = face->Metrics(-face->UnitsPerEm()).height;
    if (cellPerEm <= 0) return;
    const double em = static_cast<double>(m_state.font.height) * face->UnitsPerEm() / cellPerEm;
    int width = 0;
    for (int a : advances) width += a;

    C().cairo_save(m_cr);
    C().cairo_translate(m_cr, at.x, at.y);
    // Escapement is counter-clockwise; y points down here.
    C().cairo_rotate(m_cr, -m_state.font.escapement / 10.0 * M_PI / 180.0);
    const double x0 = (m_state.align & 6) == kAlignCentreTop ? -width / 2.0 : 0.0;
    if (m_state.opaque) {
        SetColour(m_cr, m_state.background);
        C().cairo_rectangle(m_cr, x0, 0, width, m.height);
        C().cairo_fill(m_cr);
    }
    C().cairo_set_font_face(m_cr, CairoFace(face));
    cairo_matrix_t matrix;
    C().cairo_matrix_init_scale(&matrix, em, em);
    C().cairo_set_font_matrix(m_cr, &matrix);
    std::vector<cairo_glyph_t> glyphs;
    glyphs.reserve(indices.size());
    double x = x0;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        glyphs.push_back({indices[i], x, static_cast<double>(m.ascent)});
        x += advances[i];
    }
    SetColour(m_cr, m_state.textColour);
    C().cairo_show_glyphs(m_cr, glyphs.data(), static_cast<int>(glyphs.size()));
    C().cairo_restore(m_cr);
}

}  // namespace vg
