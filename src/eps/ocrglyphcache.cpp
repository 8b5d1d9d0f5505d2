#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <mutex>

#include "eps/ocrglyphs.h"
#include "eps/ocrglyphtable.h"

namespace vg {
namespace {

std::mutex& CacheMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::string, std::less<>>& Cache() {
    static std::map<std::string, std::string, std::less<>> cache;
    return cache;
}

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

// The table holds while the face resolves to the very file it was converted
// from: same path, index and size. Asked once per font, under the cache lock.
bool TableFontInstalled(int font) {
    static int verdict[2] = {-1, -1};
    if (verdict[font] < 0) {
        const OcrTableFont& t = kOcrTableFonts[font];
        const FontFace* face = *t.file ? FontService::Instance().Resolve(t.face) : nullptr;
        verdict[font] = face != nullptr && face->Face() != nullptr && face->File() == t.file &&
                        face->Index() == t.index && face->Face()->stream != nullptr &&
                        static_cast<long long>(face->Face()->stream->size) == t.size;
    }
    return verdict[font] == 1;
}

const OcrTableGlyph* TableGlyph(std::string_view name) {
    const OcrTableGlyph* end = kOcrTableGlyphs + kOcrTableGlyphCount;
    const OcrTableGlyph* it = std::lower_bound(kOcrTableGlyphs, end, name,
                                               [](const OcrTableGlyph& g, std::string_view n) { return g.name < n; });
    return it != end && it->name == name ? it : nullptr;
}

const std::string& CachedProcedure(std::string_view name, std::string_view face, char c) {
    if (name.empty()) return Empty();
    std::lock_guard<std::mutex> lock(CacheMutex());
    auto& cache = Cache();
    if (auto it = cache.find(name); it != cache.end()) return it->second;
    const OcrTableGlyph* g = TableGlyph(name);
    std::string text = g != nullptr && g->c == c && face == kOcrTableFonts[g->font].face && TableFontInstalled(g->font)
                           ? std::string(g->text)
                           : GlyphProcedureText(name, face, c);
    return cache.emplace(std::string(name), std::move(text)).first->second;
}

}  // namespace

const std::string& OcrGlyphProcedure(OcrFont font, char c) {
    return CachedProcedure(OcrGlyphName(font, c), font == OcrFont::B ? kOcrBFontName : kOcrAFontName, c);
}

const std::string& NoticeGlyphProcedure(char c) { return CachedProcedure(NoticeGlyphName(c), kOcrBFontName, c); }

}  // namespace vg
