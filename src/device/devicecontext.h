// Device context: what the symbol drawing needs of an output surface.
// Coordinates are output units of 1/1000 inch with y pointing down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vg {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Device colour component of a percentage 0..100, rounded to the nearest integer.
inline uint8_t ColourComponent(int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return static_cast<uint8_t>((percent * 255 + 50) / 100);
}

// A font as the drawing asks for it. Height is the cell height (ascent + descent)
// in output units; escapement in tenths of a degree, counter-clockwise.
struct FontSpec {
    std::string face;
    int height = 0;
    int escapement = 0;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

// Metrics of the selected font, in output units.
struct FontMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int maxCharWidth = 0;
    int aveCharWidth = 0;
};

struct TextExtent {
    int cx = 0;
    int cy = 0;
};

// Text alignment flags as the drawing uses them.
inline constexpr int kAlignLeftTop = 0;
inline constexpr int kAlignCentreTop = 6;

class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // Pixels per inch of the device (the screen's for the screen and the preview).
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;

    // File output: the frame of the drawing in output units.
    virtual void SetWindowExtent(int cx, int cy) = 0;

    // Filled polygons in a solid brush, no outline.
    virtual void SetBrushColour(Rgb colour) = 0;
    virtual void Polygon(const Point* points, int count) = 0;
    // Closed outline drawn with a dotted pen of width 1.
    virtual void DottedOutline(const Point* points, int count, Rgb colour) = 0;
    // A straight line with a solid pen.
    virtual void Line(Point from, Point to, Rgb colour, int width) = 0;

    // Selects a font; false when the face cannot be created (nothing changes then).
    virtual bool SelectFont(const FontSpec& font) = 0;
    virtual void SetTextColour(Rgb colour) = 0;
    // Transparent or opaque text background (opaque fills with the given colour).
    virtual void SetBackground(bool opaque, Rgb colour) = 0;
    virtual void SetTextAlign(int flags) = 0;
    // Text at a reference point, turned by the selected font's escapement.
    virtual void TextOut(Point at, std::string_view text) = 0;
    // Extent of a text in the selected font, unrotated.
    virtual TextExtent GetTextExtent(std::string_view text) = 0;
    // Back ends that draw any Unicode text say so and take UTF-8 below; the
    // others are given Windows-1252 text only.
    virtual bool DrawsUnicode() const { return false; }
    virtual void TextOutUtf8(Point at, std::string_view utf8) { TextOut(at, utf8); }
    virtual TextExtent GetTextExtentUtf8(std::string_view utf8) { return GetTextExtent(utf8); }
    virtual FontMetrics GetTextMetrics() = 0;

    // Saves and restores brush, font, pen, text colour, background and alignment.
    virtual void SaveState() = 0;
    virtual void RestoreState() = 0;

    // What is drawn between MarkExtras(true) and MarkExtras(false) is one of the
    // extras (verification mark, additional text, crop marks, the block
    // of lines beside the symbol), not the symbol itself. Only recordings keep the mark.
    virtual void MarkExtras(bool) {}
};

}  // namespace vg
