// The OCR glyph procedures the build converted from the fonts it found, so that
// a process need not convert them again. Written by gen/writeocrglyphtable.cpp.
#pragma once

#include <cstddef>

namespace vg {

// The face a procedure was converted from: its name, file ("" when the build
// found none), index in the file and the file's size in bytes.
struct OcrTableFont {
    const char* face;
    const char* file;
    int index;
    long long size;
};

struct OcrTableGlyph {
    const char* name;  // procedure name; the table is sorted by it
    int font;          // index into kOcrTableFonts
    char c;
    const char* text;  // the whole definition
};

extern const OcrTableFont kOcrTableFonts[2];  // OCR-B, OCR-A
extern const OcrTableGlyph kOcrTableGlyphs[];
extern const std::size_t kOcrTableGlyphCount;

}  // namespace vg
