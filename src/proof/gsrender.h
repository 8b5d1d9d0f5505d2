// Renders a written EPS file with Ghostscript's library, in process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vg {

// 8-bit grey, rows top first, 0 black.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height
};

// Renders the PostScript of an EPS file (plain, or behind a DOS EPS binary
// header) at ppi pixels per inch, cropped to its bounding box. False with the
// reason when the file is not EPS or Ghostscript cannot render it.
// Calls on several threads run side by side, each on an interpreter of its
// own; interpreters are kept between calls (a new one after an error).
bool RenderEpsFile(const std::string& path, int ppi, GreyImage& image, std::string* reason);

// Renders the first page of a PDF file at ppi pixels per inch (its crop box).
bool RenderPdfFile(const std::string& path, int ppi, GreyImage& image, std::string* reason);

}  // namespace vg
