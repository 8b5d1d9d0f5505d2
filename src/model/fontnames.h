// The program's own names of the OCR faces, which our alias file maps to the
// installed families; no font carries them. The record's font fields hold them,
// so they sit below the font service, which includes this header.
#pragma once

#include <string_view>

namespace vg {

inline constexpr std::string_view kOcrBFontName = "OCRB Vornel Glyph";
inline constexpr std::string_view kOcrAFontName = "OCRA Vornel Glyph";

}  // namespace vg
