// Any graphic file a proof reads, drawn to a grey image by a reader nobody here
// wrote: EPS and PDF through Ghostscript, WMF through libwmf, EMF through
// libemf2svg, SVG through librsvg, PNG through cairo. The readers are opened
// when first needed.
#pragma once

#include <string>

#include "proof/gsrender.h"

namespace vg {

enum class GraphicFileKind { Unknown, Eps, Pdf, Png, Svg, Wmf, Emf };

// The kind by the file's first bytes, whatever its name.
GraphicFileKind GraphicFileKindOf(const std::string& path);
const char* GraphicFileKindName(GraphicFileKind kind);

struct FileRender {
    bool ok = false;
    bool noReader = false;  // the library that reads this kind is not installed
    std::string reason;     // why not, naming the library when it is missing
};

// Draws the file at ppi pixels per inch (a PNG at its own pixels), flattened
// on white.
FileRender RenderGraphicFile(const std::string& path, int ppi, GreyImage& image);

}  // namespace vg
