// The TIFF preview of an EPS file: the symbol drawn into a monochrome bitmap
// and packed as an uncompressed 4-bit palette TIFF after the PostScript section.
#pragma once

#include <cstdint>

#include "device/rasterdc.h"

namespace vg {

class EpsOutput;

// Bar colour (entry 0) and space colour (entry 1), components 0..255.
struct TiffPalette {
    Rgb bars;
    Rgb spaces;
};

// The palette of the current settings: each RGB percentage times 2.55, truncated.
TiffPalette CurrentTiffPalette();

// Appends the TIFF of a 1-bit bitmap at the channel's current position and
// returns its length, or -1 (the bitmap is not 1 bit per pixel or its bits
// are short) or -2 (no open channel, or a write failed).
long long PackTiff(EpsOutput* out, const MonoBitmap& bitmap, const TiffPalette& palette);

// Draws the current symbol as the preview, appends it and records its start
// and length at bytes 20 and 24 of the header. Nothing when no bitmap results;
// a failed pack shows "Pack tiff file " and leaves the header fields 0.
void AppendTiffPreview(EpsOutput& out);

// The preview bitmap of the current symbol (empty when none can be drawn).
MonoBitmap DrawPreviewBitmap();

}  // namespace vg
