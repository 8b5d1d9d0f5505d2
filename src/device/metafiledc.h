// Device contexts that record Windows Metafile and Enhanced Metafile records in
// memory. Coordinates are logical units of 1/1000 inch; texts are Windows-1252.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/devicecontext.h"

namespace vg {

class FontFace;

// Code points of a UTF-8 text; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);

// State, font resolution and measuring shared by the file back ends. Drawing
// state is written to the records only when a primitive needs it.
class BackendDC : public DeviceContext {
public:
    // The reference device: a 96 dpi screen.
    static constexpr int kReferenceDpi = 96;

    int PixelsPerInchX() const override { return kReferenceDpi; }
    int PixelsPerInchY() const override { return kReferenceDpi; }
    void SetBrushColour(Rgb colour) override { m_state.brush = colour; }
    bool SelectFont(const FontSpec& font) override;
    void SetTextColour(Rgb colour) override { m_state.textColour = colour; }
    void SetBackground(bool opaque, Rgb colour) override;
    void SetTextAlign(int flags) override { m_state.align = flags; }
    TextExtent GetTextExtent(std::string_view text) override;
    FontMetrics GetTextMetrics() override;
    void SaveState() override { m_saved.push_back(m_state); }
    void RestoreState() override;

protected:
    struct State {
        Rgb brush{255, 255, 255};
        FontSpec font;
        const FontFace* face = nullptr;
        Rgb textColour{0, 0, 0};
        bool opaque = true;
        Rgb background{255, 255, 255};
        int align = kAlignLeftTop;
    };

    // Advances of each character of a text in the selected font, output units,
    // summing to its extent.
    std::vector<int> Advances(std::string_view text) const;
    // The same for code points, measured with the face's own character map.
    std::vector<int> Advances(const std::u32string& text) const;

    State m_state;
    std::vector<State> m_saved;
};

// Windows Metafile records: the 18-byte header, the drawing, the end record.
class WmfDC final : public BackendDC {
public:
    // windowCx, windowCy: the window extent the records start with.
    WmfDC(int windowCx, int windowCy);
    ~WmfDC() override;
    // Replaces the window extent the records start with (a caller that learns
    // the drawing's size from the drawing itself).
    void SetStartExtent(int windowCx, int windowCy);

    void SetWindowExtent(int cx, int cy) override;
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    void TextOut(Point at, std::string_view text) override;

    // Appends the end record, completes the header and returns the bytes; false
    // when a record could not be built. The context is spent afterwards.
    bool Finish(std::string& bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Enhanced Metafile records: header with the frame, the drawing, the end record.
class EmfDC final : public BackendDC {
public:
    // width, height: the drawing's size in output units (the frame rectangle).
    EmfDC(int width, int height);
    ~EmfDC() override;

    void SetWindowExtent(int cx, int cy) override;
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    void TextOut(Point at, std::string_view text) override;
    // Any Unicode text, as UTF-16 text records.
    bool DrawsUnicode() const override { return true; }
    void TextOutUtf8(Point at, std::string_view utf8) override;
    TextExtent GetTextExtentUtf8(std::string_view utf8) override;

    bool Finish(std::string& bytes);

    // The device the records map to: 1000 pixels per inch, so that device units
    // are output units and readers keep the full precision.
    static constexpr int kDeviceDpi = 1000;

private:
    // Text as UTF-16 code units with one advance each.
    void TextOutUnits(Point at, const std::vector<uint16_t>& units, const std::vector<int>& dx);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace vg
