// Monochrome raster back end: draws into a 1-bit bitmap whose set bits are
// paper (the space colour) and whose clear bits are ink. Used for the EPS preview.
#pragma once

#include <cstdint>
#include <vector>

#include "device/devicecontext.h"

namespace vg {

class FontFace;

// A 1-bit bitmap, rows top first, each padded to whole 16-bit words; within a
// byte the leftmost pixel is the high bit. A set bit is paper, a clear bit ink.
struct MonoBitmap {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, even
    int bitsPerPixel = 1;
    std::vector<uint8_t> bits;

    bool Empty() const { return width <= 0 || height <= 0; }
    bool Ink(int x, int y) const {
        return (bits[static_cast<std::size_t>(y) * stride + (x >> 3)] & (0x80 >> (x & 7))) == 0;
    }
};

// Bytes per row of a 1-bit bitmap of the given width, padded to 16-bit words.
inline int MonoStride(int width) { return ((width + 15) / 16) * 2; }

// Pixels per inch of the screen, which the view and the preview draw at. The
// application sets it from its screen at start-up; without one it is 96.
int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int ppi);

class RasterDC : public DeviceContext {
public:
    explicit RasterDC(int pixelsPerInchX = ScreenPixelsPerInch(), int pixelsPerInchY = ScreenPixelsPerInch());

    // Creates the bitmap, every bit set; false (no bitmap) when the size is
    // not positive or too large to allocate. Drawing before this only measures.
    bool Allocate(int width, int height);
    // Output-unit point that lands on pixel (0, 0).
    void SetOrigin(Point origin) { m_origin = origin; }
    // Fills in this colour set bits (paper); every other colour clears them.
    void SetPaperColour(Rgb colour) { m_paper = colour; }

    const MonoBitmap& Bitmap() const { return m_bitmap; }
    MonoBitmap TakeBitmap();

    // Output units to device pixels, rounded like the platform's mapping.
    int ToPixelsX(double x) const;
    int ToPixelsY(double y) const;

    int PixelsPerInchX() const override { return m_ppiX; }
    int PixelsPerInchY() const override { return m_ppiY; }
    void SetWindowExtent(int, int) override {}
    void SetBrushColour(Rgb colour) override { m_state.brush = colour; }
    void Polygon(const Point* points, int count) override;
    void DottedOutline(const Point* points, int count, Rgb colour) override;
    void Line(Point from, Point to, Rgb colour, int width) override;
    bool SelectFont(const FontSpec& font) override;
    void SetTextColour(Rgb colour) override { m_state.textColour = colour; }
    void SetBackground(bool opaque, Rgb colour) override {
        m_state.opaque = opaque;
        m_state.background = colour;
    }
    void SetTextAlign(int flags) override { m_state.align = flags; }
    void TextOut(Point at, std::string_view text) override;
    TextExtent GetTextExtent(std::string_view text) override;
    FontMetrics GetTextMetrics() override;
    void SaveState() override { m_saved.push_back(m_state); }
    void RestoreState() override;

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
    struct DPt {
        double x, y;
    };

    // Fills closed contours (device pixels) by the non-zero winding rule,
    // sampling at pixel centres.
    void Fill(const std::vector<std::vector<DPt>>& contours, bool ink);
    void Plot(int x, int y, bool ink);
    // Pixels [from, to) of the rows rowFrom to rowTo.
    void Span(int rowFrom, int rowTo, int from, int to, bool ink);
    void PixelLine(int x0, int y0, int x1, int y1, bool ink, bool dotted);
    bool IsInk(Rgb colour) const { return !(colour == m_paper); }

    int m_ppiX;
    int m_ppiY;
    Point m_origin;
    Rgb m_paper{255, 255, 255};
    MonoBitmap m_bitmap;
    State m_state;
    std::vector<State> m_saved;
};

}  // namespace vg
