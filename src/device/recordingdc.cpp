#include "device/recordingdc.h"

#include "device/fontservice.h"

namespace vg {

RecordingDC::RecordingDC(int pixelsPerInchX, int pixelsPerInchY)
    : ppiX_(pixelsPerInchX > 0 ? pixelsPerInchX : 96), ppiY_(pixelsPerInchY > 0 ? pixelsPerInchY : 96) {
    // Room for a linear symbol with its texts, so that the lists are not regrown on the way.
    ops_.reserve(128);
    polygons_.reserve(64);
    texts_.reserve(32);
    fonts_.reserve(32);
}

void RecordingDC::SetWindowExtent(int cx, int cy) {
    ops_.push_back({RecordKind::WindowExtent, extents_.size()});
    extents_.push_back({cx, cy});
}

void RecordingDC::Polygon(const Point* points, int count) {
    if (points == nullptr || count <= 0) return;
    ops_.push_back({RecordKind::Polygon, polygons_.size()});
    polygons_.push_back({std::vector<Point>(points, points + count), state_.brush});
}

void RecordingDC::DottedOutline(const Point* points, int count, Rgb colour) {
    if (points == nullptr || count <= 0) return;
    ops_.push_back({RecordKind::DottedOutline, outlines_.size()});
    outlines_.push_back({std::vector<Point>(points, points + count), colour});
}

void RecordingDC::Line(Point from, Point to, Rgb colour, int width) {
    ops_.push_back({RecordKind::Line, lines_.size()});
    lines_.push_back({from, to, colour, width});
}

bool RecordingDC::SelectFont(const FontSpec& font) {
    const FontFace* face = FontService::Instance().Resolve(font);
    ops_.push_back({RecordKind::SelectFont, fonts_.size()});
    fonts_.push_back({font, face != nullptr});
    if (face == nullptr) return false;
    state_.font = font;
    state_.face = face;
    return true;
}

void RecordingDC::SetBackground(bool opaque, Rgb colour) {
    state_.opaque = opaque;
    state_.background = colour;
}

void RecordingDC::TextOut(Point at, std::string_view text) {
    ops_.push_back({RecordKind::Text, texts_.size()});
    texts_.push_back({at, std::string(text), state_.font, state_.textColour, state_.opaque, state_.background,
                      state_.align, extras_});
}

TextExtent RecordingDC::GetTextExtent(std::string_view text) {
    if (state_.face == nullptr) return {};
    return state_.face->Extent(text, state_.font.height);
}

FontMetrics RecordingDC::GetTextMetrics() {
    if (state_.face == nullptr) return {};
    return state_.face->Metrics(state_.font.height);
}

void RecordingDC::RestoreState() {
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
}

std::vector<RecordedPolygon> RecordingDC::PolygonsIn(Rgb brush) const {
    std::vector<RecordedPolygon> result;
    for (const RecordedPolygon& p : polygons_)
        if (p.brush == brush) result.push_back(p);
    return result;
}

std::string RecordingDC::AllText() const {
    std::string all;
    for (const RecordedText& t : texts_) all += t.text;
    return all;
}

std::string RecordingDC::SymbolText() const {
    std::string own;
    for (const RecordedText& t : texts_)
        if (!t.extra) own += t.text;
    return own;
}

void RecordingDC::ClearRecording() {
    ops_.clear();
    polygons_.clear();
    outlines_.clear();
    lines_.clear();
    texts_.clear();
    fonts_.clear();
    extents_.clear();
}

}  // namespace vg
