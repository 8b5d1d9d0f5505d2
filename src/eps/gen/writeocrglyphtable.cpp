// Writes the OCR glyph procedures of the installed fonts as a C++ table:
//   writeocrglyphtable OUTPUT.cpp
// A font that is not installed leaves its procedures out; the program then
// converts them at run time.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "eps/ocrglyphs.h"
#include "model/atomicfile.h"

namespace {

struct Glyph {
    std::string name;
    int font;
    char c;
    std::string text;
};

std::string Literal(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        if (ch == '\r')
            out += "\\r";
        else if (ch == '\n')
            out += "\\n\"\n    \"";
        else if (ch == '"' || ch == '\\')
            out += std::string("\\") + ch;
        else
            out += ch;
    }
    out += '"';
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vg;
    if (argc != 2) {
        std::fprintf(stderr, "usage: writeocrglyphtable OUTPUT.cpp\n");
        return 2;
    }
    const std::string_view faces[2] = {kOcrBFontName, kOcrAFontName};
    std::string fonts;
    bool installed[2] = {false, false};
    for (int f = 0; f < 2; ++f) {
        const FontFace* face = FontService::Instance().Resolve(faces[f]);
        installed[f] = face != nullptr && face->Face() != nullptr && face->Face()->stream != nullptr;
        fonts += "    {" + Literal(faces[f]) + ", " + Literal(installed[f] ? face->File() : "") + ", " +
                 std::to_string(installed[f] ? face->Index() : 0) + ", " +
                 std::to_string(installed[f] ? static_cast<long long>(face->Face()->stream->size) : 0) + "},\n";
    }

    std::vector<Glyph> glyphs;
    auto add = [&](std::string_view name, int font, char c) {
        if (name.empty() || !installed[font]) return;
        std::string text = GlyphProcedureText(name, faces[font], c);
        if (!text.empty()) glyphs.push_back({std::string(name), font, c, std::move(text)});
    };
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        add(OcrGlyphName(OcrFont::B, c), 0, c);
        add(OcrGlyphName(OcrFont::A, c), 1, c);
        add(NoticeGlyphName(c), 0, c);
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const Glyph& a, const Glyph& b) { return a.name < b.name; });

    std::string out =
        "// Written by the build from the installed OCR fonts. Do not edit.\n"
        "#include \"eps/ocrglyphtable.h\"\n\n"
        "namespace vg {\n\n"
        "const OcrTableFont kOcrTableFonts[2] = {\n" +
        fonts +
        "};\n\n"
        "const OcrTableGlyph kOcrTableGlyphs[] = {\n";
    for (const Glyph& g : glyphs)
        out += "    {" + Literal(g.name) + ", " + std::to_string(g.font) + ", " +
               std::to_string(static_cast<unsigned char>(g.c)) + ",\n    " + Literal(g.text) + "},\n";
    if (glyphs.empty()) out += "    {\"\", 0, 0, \"\"},\n";
    out +=
        "};\n\nconst std::size_t kOcrTableGlyphCount = " + std::to_string(glyphs.size()) + ";\n\n}  // namespace vg\n";

    if (!vg::WriteWholeFile(argv[1], out.data(), out.size())) {
        std::fprintf(stderr, "writeocrglyphtable: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
