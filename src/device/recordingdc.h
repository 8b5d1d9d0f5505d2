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

    int PixelsPerInchX() const override { return m_ppiX; }
    int PixelsPerInchY() const override { return m_ppiY; }
    void SetWindowExtent(int cx, int cy) override;
    void SetBrushColour(Rgb colour) override { m_state.brush = colour; }
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    bool SelectFont(const FontSpec& font) override;
    void SetTextColour(Rgb colour) override { m_state.textColour = colour; }
    void SetBackground(bool opaque, Rgb colour) override;
    void SetTextAlign(int flags) override { m_state.align = flags; }
    void TextOut(Point at, std::string_view text) override;
    TextExtent GetTextExtent(std::string_view text) override;
    FontMetrics GetTextMetrics() override;
    void SaveState() override { m_saved.push_back(m_state); }
    void RestoreState() override;
    void MarkExtras(bool on) override { m_extras = on; }

    // Everything recorded, each kind in drawing order.
    const std::vector<RecordedOp>& Ops() const { return m_ops; }
    const std::vector<RecordedPolygon>& Polygons() const { return m_polygons; }
    const std::vector<RecordedOutline>& Outlines() const { return m_outlines; }
    const std::vector<RecordedLine>& Lines() const { return m_lines; }
    const std::vector<RecordedText>& Texts() const { return m_texts; }
    const std::vector<RecordedFontSelection>& FontSelections() const { return m_fonts; }
    const std::vector<RecordedExtent>& WindowExtents() const { return m_extents; }

    // Polygons filled in one brush colour, in order.
    std::vector<RecordedPolygon> PolygonsIn(Rgb brush) const;
    // The texts joined in drawing order (handy where text is drawn char by char).
    std::string AllText() const;
    // The same without the texts of the extras: the symbol's own texts.
    std::string SymbolText() const;

    // Current state.
    Rgb BrushColour() const { return m_state.brush; }
    Rgb TextColour() const { return m_state.textColour; }
    bool OpaqueBackground() const { return m_state.opaque; }
    Rgb BackgroundColour() const { return m_state.background; }
    int TextAlign() const { return m_state.align; }
    const FontSpec& SelectedFont() const { return m_state.font; }
    bool HasFont() const { return m_state.face != nullptr; }
    std::size_t SavedStates() const { return m_saved.size(); }

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

    int m_ppiX;
    int m_ppiY;
    State m_state;
    std::vector<State> m_saved;
    bool m_extras = false;
    std::vector<RecordedOp> m_ops;
    std::vector<RecordedPolygon> m_polygons;
    std::vector<RecordedOutline> m_outlines;
    std::vector<RecordedLine> m_lines;
    std::vector<RecordedText> m_texts;
    std::vector<RecordedFontSelection> m_fonts;
    std::vector<RecordedExtent> m_extents;
};

}  // namespace vg
