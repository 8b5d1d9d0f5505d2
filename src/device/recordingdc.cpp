#include "device/recordingdc.h"

#include "device/fontservice.h"

namespace vg {

RecordingDC::RecordingDC(int pixelsPerInchX, int pixelsPerInchY)
    : m_ppiX(pixelsPerInchX > 0 ? pixelsPerInchX : 96), m_ppiY(pixelsPerInchY > 0 ? pixelsPerInchY : 96) {
    // Room for a linear symbol with its texts, so that the lists are not regrown on the way.
    m_ops.reserve(128);
    m_polygons.reserve(64);
    m_texts.reserve(32);
    m_fonts.reserve(32);
}

void RecordingDC::SetWindowExtent(int cx, int cy) {
    m_ops.push_back({RecordKind::WindowExtent, m_extents.size()});
    m_extents.push_back({cx, cy});
}

void RecordingDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0) return;
    m_ops.push_back({RecordKind::Polygon, m_polygons.size()});
    m_polygons.push_back({std::vector<Point>(points, points + count), m_state.brush});
}

void RecordingDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0) return;
    m_ops.push_back({RecordKind::DottedOutline, m_outlines.size()});
    m_outlines.push_back({std::vector<Point>(points, points + count), colour});
}

void RecordingDC::Line(Point from, Point to, Rgb colour, int width) {
    m_ops.push_back({RecordKind::Line, m_lines.size()});
    m_lines.push_back({from, to, colour, width});
}

bool RecordingDC::SelectFont(const FontSpec& font) {
    const FontFace* face = FontService::Instance().Resolve(font);
    m_ops.push_back({RecordKind::SelectFont, m_fonts.size()});
    m_fonts.push_back({font, face != nullptr});
    if (face == nullptr) return false;
    m_state.font = font;
    m_state.face = face;
    return true;
}

void RecordingDC::SetBackground(bool opaque, Rgb colour) {
    m_state.opaque = opaque;
    m_state.background = colour;
}

void RecordingDC::TextOut(Point at, std::string_view text) {
    m_ops.push_back({RecordKind::Text, m_texts.size()});
    m_texts.push_back({at, std::string(text), m_state.font, m_state.textColour, m_state.opaque, m_state.background,
                       m_state.align, m_extras});
}

TextExtent RecordingDC::GetTextExtent(std::string_view text) {
    if (m_state.face == nullptr) return {};
    return m_state.face->Extent(text, m_state.font.height);
}

FontMetrics RecordingDC::GetTextMetrics() {
    if (m_state.face == nullptr) return {};
    return m_state.face->Metrics(m_state.font.height);
}

void RecordingDC::RestoreState() {
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

std::vector<RecordedPolygon> RecordingDC::PolygonsIn(Rgb brush) const {
    std::vector<RecordedPolygon> result;
    for (const RecordedPolygon& p : m_polygons)
        if (p.brush == brush) result.push_back(p);
    return result;
}

std::string RecordingDC::AllText() const {
    std::string all;
    for (const RecordedText& t : m_texts) all += t.text;
    return all;
}

std::string RecordingDC::SymbolText() const {
    std::string own;
    for (const RecordedText& t : m_texts)
        if (!t.extra) own += t.text;
    return own;
}

void RecordingDC::ClearRecording() {
    m_ops.clear();
    m_polygons.clear();
    m_outlines.clear();
    m_lines.clear();
    m_texts.clear();
    m_fonts.clear();
    m_extents.clear();
}

}  // namespace vg
