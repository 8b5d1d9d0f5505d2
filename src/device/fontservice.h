// Font service: resolves face names through fontconfig, loads faces with FreeType
// once, and measures texts with the metrics a Windows device context would give.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "device/devicecontext.h"
#include "model/charset.h"
#include "model/fontnames.h"  // kOcrBFontName, kOcrAFontName

typedef struct FT_FaceRec_* FT_Face;
typedef struct FT_LibraryRec_* FT_Library;
typedef struct _FcConfig FcConfig;

namespace vg {

// The font configuration file: fonts/vornel-fonts.conf in the resource folder, which
// the environment variable VGL_RESOURCE_DIR overrides.
std::string FontConfigPath();

// A loaded face. Immutable after loading; owned by the font service.
class FontFace {
public:
    const std::string& File() const { return m_file; }
    int Index() const { return m_index; }
    const std::string& Family() const { return m_family; }
    int UnitsPerEm() const { return m_unitsPerEm; }

    // Metrics at a cell height (ascent + descent) in output units. A negative
    // height asks for that em height instead; 0 gives all zeros.
    FontMetrics Metrics(int height) const;
    // Width (sum of advances, no kerning) and cell height of a Windows-1252 text.
    TextExtent Extent(std::string_view text, int height) const;
    // Advance of a Windows-1252 byte in font units.
    int Advance(unsigned char byte) const { return m_advances[byte]; }
    // Glyph index of a Windows-1252 byte (0 when the face has none).
    unsigned GlyphIndex(unsigned char byte) const { return m_glyphs[byte]; }

    // Scale from font units to output units at a requested height.
    double Scale(int height) const;

    // The FreeType face, for glyph outlines. Not safe to use from two threads.
    FT_Face Face() const { return m_face; }

    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;
    ~FontFace();

private:
    friend class FontService;
    FontFace() = default;

    FT_Face m_face = nullptr;
    std::string m_file;
    int m_index = 0;
    std::string m_family;
    int m_unitsPerEm = 0;
    int m_cellAscent = 0;   // font units
    int m_cellDescent = 0;  // font units, positive
    int m_maxAdvance = 0;
    int m_aveAdvance = 0;
    std::array<int, 256> m_advances{};
    std::array<unsigned, 256> m_glyphs{};
};

class FontService {
public:
    // The process-wide service; set up on first use.
    static FontService& Instance();

    // The face of a family name (Windows-1252), weight (400 normal, 700 bold) and
    // italic flag; nullptr when no installed font has that name or an alias of it.
    // Matches and faces are cached: repeated calls cost one map lookup.
    const FontFace* Resolve(std::string_view family, int weight = 400, bool italic = false);
    const FontFace* Resolve(const FontSpec& font) { return Resolve(font.face, font.weight, font.italic); }

    // False when FreeType could not be set up (every Resolve fails then).
    bool Ready() const { return m_library != nullptr; }
    // The alias file loaded with the first fontconfig set-up, empty when none was found.
    const std::string& ConfigFile() const { return m_configFile; }
    // Counts of fontconfig matches run and faces opened so far.
    int MatchCount() const { return m_matchCount; }
    int FaceLoadCount() const { return m_faceLoadCount; }

    FontService(const FontService&) = delete;
    FontService& operator=(const FontService&) = delete;
    ~FontService();

private:
    FontService();
    const FontFace* Match(const std::string& familyUtf8, int weight, bool italic);
    const FontFace* MatchOwn(const std::string& familyUtf8, int weight, bool italic);
    const FontFace* MatchIn(FcConfig* config, const std::string& familyUtf8, int weight, bool italic);
    // The set-ups, each made when first needed: the OCR fonts' folders alone,
    // for the program's own names; all font folders with our rules; the
    // system's whole configuration, for the first name ours does not resolve.
    FcConfig* OwnConfig();
    FcConfig* WideConfig();
    FcConfig* SystemConfig();
    const FontFace* Load(const std::string& file, int index);

    struct Cache;
    std::mutex m_mutex;
    std::unique_ptr<Cache> m_cache;
    FcConfig* m_ocrConfig = nullptr;
    bool m_ocrTried = false;
    std::string m_ocrStamp;      // what the OCR set-up's matches depend on (device/fontmatches.h)
    std::string m_ocrAliasFile;  // the alias file the stamp takes, empty when there is none
    bool m_ocrStampTried = false;
    FcConfig* m_config = nullptr;
    bool m_wideTried = false;
    FcConfig* m_systemConfig = nullptr;
    bool m_systemTried = false;
    FT_Library m_library = nullptr;
    std::string m_configFile;
    int m_matchCount = 0;
    int m_faceLoadCount = 0;
};

}  // namespace vg
