// A device context that records every primitive in order instead of drawing.
// Texts are measured through the font service.
#pragma once

#include <cstddef>
#include <vector>

#include "device/devicecontext.h"

namespace vg {

class FontFace;

struct RecordedPolygon {
    std::vector<Point> points;
    Rgb brush;
};

struct RecordedOutline {
    std::vector<Point> points;
    Rgb colour;
};

struct RecordedLine {
    Point from;
    Point to;
    Rgb colour;
    int width = 0;
};

struct RecordedText {
    Point at;
    std::string text;
    FontSpec font;  // the selected font; empty face when none was selected
    Rgb colour;
    bool opaque = false;
    Rgb background;
    int align = 0;
    bool extra = false;  // drawn by one of the extras
};

struct RecordedFontSelection {
    FontSpec font;
    bool ok = false;
};

struct RecordedExtent {
    int cx = 0;
    int cy = 0;
};

enum class RecordKind { WindowExtent, Polygon, DottedOutline, Line, SelectFont, Text };

// One entry of the drawing order: the kind and the index into that kind's list.
struct RecordedOp {
    RecordKind kind;
    std::size_t index;
};

class RecordingDC : public DeviceContext {
public:
    explicit RecordingDC(int pixelsPerInchX = 96, int pixelsPerInchY = 96);

    int PixelsPerInchX() const override { return ppiX_; }
    int PixelsPerInchY() const override { return ppiY_; }
    void SetWindowExtent(int cx, int cy) override;
    void SetBrushColour(Rgb colour) override { state_.brush = colour; }
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    bool SelectFont(const FontSpec& font) override;
    void SetTextColour(Rgb colour) override { state_.textColour = colour; }
    void SetBackground(bool opaque, Rgb colour) override;
    void SetTextAlign(int flags) override { state_.align = flags; }
    void TextOut(Point at, std::string_view text) override;
    TextExtent GetTextExtent(std::string_view text) override;
    FontMetrics GetTextMetrics() override;
    void SaveState() override { saved_.push_back(state_); }
    void RestoreState() override;
    void MarkExtras(bool on) override { extras_ = on; }

    // Everything recorded, each kind in drawing order.
    const std::vector<RecordedOp>& Ops() const { return ops_; }
    const std::vector<RecordedPolygon>& Polygons() const { return polygons_; }
    const std::vector<RecordedOutline>& Outlines() const { return outlines_; }
    const std::vector<RecordedLine>& Lines() const { return lines_; }
    const std::vector<RecordedText>& Texts() const { return texts_; }
    const std::vector<RecordedFontSelection>& FontSelections() const { return fonts_; }
    const std::vector<RecordedExtent>& WindowExtents() const { return extents_; }

    // Polygons filled in one brush colour, in order.
    std::vector<RecordedPolygon> PolygonsIn(Rgb brush) const;
    // The texts joined in drawing order (handy where text is drawn char by char).
    std::string AllText() const;
    // The same without the texts of the extras: the symbol's own texts.
    std::string SymbolText() const;

    // Current state.
    Rgb BrushColour() const { return state_.brush; }
    Rgb TextColour() const { return state_.textColour; }
    bool OpaqueBackground() const { return state_.opaque; }
    Rgb BackgroundColour() const { return state_.background; }
    int TextAlign() const { return state_.align; }
    const FontSpec& SelectedFont() const { return state_.font; }
    bool HasFont() const { return state_.face != nullptr; }
    std::size_t SavedStates() const { return saved_.size(); }

    // Forgets the recording; state and saved states stay.
    void ClearRecording();

private:
    struct State {
        Rgb brush{255, 255, 255};
        FontSpec font;
        const FontFace* face = nullptr;
        Rgb textColour{0, 0, 0};
        bool opaque = true;
        Rgb background{255, 255, 255};
        int align = kAlignLeftTop;
    };

    int ppiX_;
    int ppiY_;
    State state_;
    std::vector<State> saved_;
    bool extras_ = false;
    std::vector<RecordedOp> ops_;
    std::vector<RecordedPolygon> polygons_;
    std::vector<RecordedOutline> outlines_;
    std::vector<RecordedLine> lines_;
    std::vector<RecordedText> texts_;
    std::vector<RecordedFontSelection> fonts_;
    std::vector<RecordedExtent> extents_;
};

}  // namespace vg
