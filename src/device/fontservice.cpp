#include "device/fontservice.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <tuple>
#include <vector>

#include "device/fontmatches.h"

namespace vg {

namespace {

// Family names compare as fontconfig compares them: ASCII case and blanks ignored.
std::string FamilyKey(std::string_view name) {
    std::string key;
    for (char ch : name) {
        if (ch == ' ') continue;
        key += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    }
    return key;
}

std::string ResourceDir() {
    if (const char* env = std::getenv("VGL_RESOURCE_DIR"); env != nullptr && *env != '\0') return env;
    // Installed, the resources stand beside the program rather than in the source tree.
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path installed = exe.parent_path() / ".." / "share" / "vornel-glyph" / "resources";
        if (std::filesystem::is_regular_file(installed / "fonts" / "vornel-fonts.conf", ec))
            return std::filesystem::weakly_canonical(installed, ec).string();
    }
#ifdef VGL_RESOURCE_DIR
    return VGL_RESOURCE_DIR;
#else
    return "resources";
#endif
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

std::string FontConfigPath() { return (std::filesystem::path(ResourceDir()) / "fonts" / "vornel-fonts.conf").string(); }

// ---- FontFace ----

FontFace::~FontFace() {
    if (m_face != nullptr) FT_Done_Face(m_face);
}

double FontFace::Scale(int height) const {
    if (height > 0) {
        int cell = m_cellAscent + m_cellDescent;
        return cell > 0 ? static_cast<double>(height) / cell : 0.0;
    }
    if (height < 0 && m_unitsPerEm > 0) return -static_cast<double>(height) / m_unitsPerEm;
    return 0.0;
}

FontMetrics FontFace::Metrics(int height) const {
    FontMetrics m;
    double scale = Scale(height);
    if (scale <= 0.0) return m;
    m.height = height > 0 ? height : Round((m_cellAscent + m_cellDescent) * scale);
    m.ascent = Round(m_cellAscent * scale);
    if (m.ascent > m.height) m.ascent = m.height;
    m.descent = m.height - m.ascent;
    m.internalLeading = m.height - Round(m_unitsPerEm * scale);
    m.maxCharWidth = Round(m_maxAdvance * scale);
    m.aveCharWidth = Round(m_aveAdvance * scale);
    return m;
}

TextExtent FontFace::Extent(std::string_view text, int height) const {
    double scale = Scale(height);
    if (scale <= 0.0) return {};
    long long units = 0;
    for (char ch : text) units += m_advances[static_cast<unsigned char>(ch)];
    TextExtent e;
    e.cx = static_cast<int>(std::llround(static_cast<double>(units) * scale));
    e.cy = height > 0 ? height : Round((m_cellAscent + m_cellDescent) * scale);
    return e;
}

// ---- FontService ----

namespace {

// A request as asked: (family bytes, weight, italic), looked up without a copy.
using Request = std::tuple<std::string, int, bool>;
using RequestView = std::tuple<std::string_view, int, bool>;

struct RequestLess {
    using is_transparent = void;
    static RequestView View(const Request& r) { return {std::get<0>(r), std::get<1>(r), std::get<2>(r)}; }
    static const RequestView& View(const RequestView& r) { return r; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        return View(a) < View(b);
    }
};

}  // namespace

struct FontService::Cache {
    // Requests answered before -> face.
    std::map<Request, const FontFace*, RequestLess> requests;
    // (family key, weight, italic) -> face, nullptr for names that did not resolve.
    std::map<std::tuple<std::string, int, bool>, const FontFace*> matches;
    // (file, index) -> loaded face.
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;
};

FontService& FontService::Instance() {
    static FontService service;
    return service;
}

namespace {

// Our aliases on top of a configuration; the file's path when it was loaded.
std::string LoadAliases(FcConfig* config) {
    std::filesystem::path file = FontConfigPath();
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec) &&
        FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file.c_str()), FcFalse))
        return file.string();
    return {};
}

// The cache folders every set-up of ours reads.
constexpr const char* kCacheFolders = R"(
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <cachedir>~/.fontconfig</cachedir>
)";

// A set-up from a list of folders and rules, with our aliases on top; nullptr
// when fontconfig refuses it.
FcConfig* BuildConfig(const std::string& body, std::string& aliasFile) {
    const std::string xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n" + body + kCacheFolders + "</fontconfig>\n";
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return nullptr;
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse)) {
        std::string loaded = LoadAliases(config);
        if (aliasFile.empty()) aliasFile = loaded;
        if (FcConfigBuildFonts(config)) return config;
    }
    FcConfigDestroy(config);
    return nullptr;
}

// Our configuration: the font folders, the metric-compatible families of the
// common Windows fonts, and our aliases.
FcConfig* PrivateConfig(std::string& aliasFile) {
    return BuildConfig(R"(
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <include ignore_missing="yes">/etc/fonts/conf.d/30-metric-aliases.conf</include>
)",
                       aliasFile);
}

std::string XmlText(std::string_view text) {
    std::string out;
    for (char ch : text) {
        if (ch == '&')
            out += "&amp;";
        else if (ch == '<')
            out += "&lt;";
        else if (ch == '>')
            out += "&gt;";
        else
            out += ch;
    }
    return out;
}

// A small set-up for the program's own OCR names: only the folders the build
// found their fonts in (':'-separated), and our aliases. nullptr without folders.
FcConfig* OcrConfig(std::string_view folders, std::string& aliasFile) {
    std::string body;
    while (!folders.empty()) {
        const std::size_t end = std::min(folders.find(':'), folders.size());
        if (end > 0) body += "  <dir>" + XmlText(folders.substr(0, end)) + "</dir>\n";
        folders.remove_prefix(std::min(end + 1, folders.size()));
    }
    return body.empty() ? nullptr : BuildConfig(body, aliasFile);
}

bool IsOwnName(std::string_view familyUtf8) {
    const std::string key = FamilyKey(familyUtf8);
    return key == FamilyKey(kOcrBFontName) || key == FamilyKey(kOcrAFontName);
}

}  // namespace

FontService::FontService() : m_cache(std::make_unique<Cache>()) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) m_library = library;
}

FcConfig* FontService::OwnConfig() {
    if (!m_ocrTried) {
        m_ocrTried = true;
#ifdef VGL_OCR_FONT_DIRS
        m_ocrConfig = OcrConfig(VGL_OCR_FONT_DIRS, m_configFile);
#endif
    }
    return m_ocrConfig;
}

FcConfig* FontService::WideConfig() {
    if (!m_wideTried) {
        m_wideTried = true;
        m_config = PrivateConfig(m_configFile);
    }
    return m_config;
}

FcConfig* FontService::SystemConfig() {
    if (!m_systemTried) {
        m_systemTried = true;
        m_systemConfig = FcInitLoadConfigAndFonts();
        if (m_systemConfig != nullptr) LoadAliases(m_systemConfig);
    }
    return m_systemConfig;
}

FontService::~FontService() {
    m_cache.reset();  // faces go before the library
    if (m_library != nullptr) FT_Done_FreeType(m_library);
    if (m_config != nullptr) FcConfigDestroy(m_config);
    if (m_ocrConfig != nullptr) FcConfigDestroy(m_ocrConfig);
    if (m_systemConfig != nullptr) FcConfigDestroy(m_systemConfig);
}

const FontFace* FontService::Resolve(std::string_view family, int weight, bool italic) {
    if (weight <= 0) weight = 400;  // 0 is "don't care" as in GDI
    if (weight > 1000) weight = 1000;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto asked = m_cache->requests.find(RequestView{family, weight, italic}); asked != m_cache->requests.end())
        return asked->second;
    std::string utf8 = Cp1252ToUtf8(family);
    auto key = std::make_tuple(FamilyKey(utf8), weight, italic);
    auto it = m_cache->matches.find(key);
    const FontFace* face = it != m_cache->matches.end() ? it->second : Match(utf8, weight, italic);
    if (it == m_cache->matches.end()) m_cache->matches.emplace(std::move(key), face);
    m_cache->requests.emplace(Request{std::string(family), weight, italic}, face);
    return face;
}

const FontFace* FontService::Match(const std::string& familyUtf8, int weight, bool italic) {
    if (m_library == nullptr || FamilyKey(familyUtf8).empty()) return nullptr;
    const FontFace* face = nullptr;
    if (IsOwnName(familyUtf8)) face = MatchOwn(familyUtf8, weight, italic);
    if (face != nullptr) return face;
    FcConfig* config = WideConfig();
    if (config == nullptr) return nullptr;
    face = MatchIn(config, familyUtf8, weight, italic);
    // A name our set-up does not know may still be one the system's rules give.
    if (face == nullptr) {
        if (FcConfig* system = SystemConfig()) face = MatchIn(system, familyUtf8, weight, italic);
    }
    return face;
}

// The program's own names first among their own fonts alone: no other font
// carries them, so the whole set-up would choose the same. The choice made is
// remembered for later runs while nothing that decides it changes.
const FontFace* FontService::MatchOwn(const std::string& familyUtf8, int weight, bool italic) {
#ifdef VGL_OCR_FONT_DIRS
    if (!m_ocrStampTried) {
        m_ocrStampTried = true;
        std::error_code ec;
        if (const std::string aliasFile = FontConfigPath(); std::filesystem::is_regular_file(aliasFile, ec))
            m_ocrAliasFile = aliasFile;
        m_ocrStamp = FontMatchStamp(m_ocrAliasFile, VGL_OCR_FONT_DIRS);
    }
    const std::string key = FamilyKey(familyUtf8) + ' ' + std::to_string(weight) + (italic ? " italic" : "");
    if (std::optional<FontChoice> choice = RecallFontChoice(m_ocrStamp, key)) {
        if (const FontFace* face = Load(choice->file, choice->index)) {
            if (m_configFile.empty()) m_configFile = m_ocrAliasFile;
            return face;
        }
    }
    FcConfig* own = OwnConfig();
    const FontFace* face = own != nullptr ? MatchIn(own, familyUtf8, weight, italic) : nullptr;
    if (face != nullptr) RememberFontChoice(m_ocrStamp, key, FontChoice{face->File(), face->Index()});
    return face;
#else
    (void)familyUtf8, (void)weight, (void)italic;
    return nullptr;
#endif
}

const FontFace* FontService::MatchIn(FcConfig* config, const std::string& familyUtf8, int weight, bool italic) {
    ++m_matchCount;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);

    // The requested name and its aliases are the strongly bound families after
    // substitution; weakly bound ones are generic fallbacks.
    std::vector<std::string> accepted;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type == FcTypeString && binding != FcValueBindingWeak)
            accepted.push_back(FamilyKey(reinterpret_cast<const char*>(value.u.s)));
    }
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return nullptr;

    const FontFace* face = nullptr;
    FcChar8* name = nullptr;
    bool related = false;
    for (int i = 0; !related && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        std::string k = FamilyKey(reinterpret_cast<const char*>(name));
        for (const std::string& a : accepted) related = related || a == k;
    }
    FcChar8* file = nullptr;
    int index = 0;
    if (related && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        face = Load(reinterpret_cast<const char*>(file), index);
    }
    FcPatternDestroy(match);
    return face;
}

const FontFace* FontService::Load(const std::string& file, int index) {
    auto key = std::make_pair(file, index);
    auto it = m_cache->faces.find(key);
    if (it != m_cache->faces.end()) return it->second.get();

    ++m_faceLoadCount;
    FT_Face ft = nullptr;
    if (FT_New_Face(m_library, file.c_str(), index, &ft) != 0) return nullptr;
    if (!FT_IS_SCALABLE(ft) || ft->units_per_EM == 0) {
        FT_Done_Face(ft);
        return nullptr;
    }
    std::unique_ptr<FontFace> face(new FontFace());
    face->m_face = ft;
    face->m_file = file;
    face->m_index = index;
    face->m_family = ft->family_name != nullptr ? ft->family_name : "";
    face->m_unitsPerEm = ft->units_per_EM;

    // Cell from the Windows metrics when present, else hhea, else the face's own.
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        face->m_cellAscent = os2->usWinAscent;
        face->m_cellDescent = os2->usWinDescent;
    } else if (hhea != nullptr && hhea->Ascender - hhea->Descender > 0) {
        face->m_cellAscent = hhea->Ascender;
        face->m_cellDescent = -hhea->Descender;
    } else if (ft->ascender - ft->descender > 0) {
        face->m_cellAscent = ft->ascender;
        face->m_cellDescent = -ft->descender;
    } else {
        face->m_cellAscent = ft->units_per_EM;
        face->m_cellDescent = 0;
    }

    if (FT_Select_Charmap(ft, FT_ENCODING_UNICODE) != 0 && ft->num_charmaps > 0) FT_Set_Charmap(ft, ft->charmaps[0]);
    FT_Fixed missing = 0;
    FT_Get_Advance(ft, 0, FT_LOAD_NO_SCALE, &missing);
    int maxAdvance = 0;
    bool symbol = ft->charmap != nullptr && ft->charmap->encoding == FT_ENCODING_MS_SYMBOL;
    for (int b = 0; b < 256; ++b) {
        FT_UInt glyph = FT_Get_Char_Index(ft, Cp1252ToUnicode(static_cast<unsigned char>(b)));
        if (glyph == 0 && symbol) glyph = FT_Get_Char_Index(ft, 0xF000 + b);  // symbol fonts
        FT_Fixed adv = missing;
        if (glyph != 0 && FT_Get_Advance(ft, glyph, FT_LOAD_NO_SCALE, &adv) != 0) adv = missing;
        face->m_glyphs[b] = glyph;
        face->m_advances[b] = static_cast<int>(adv);
        if (face->m_advances[b] > maxAdvance) maxAdvance = face->m_advances[b];
    }
    face->m_maxAdvance = hhea != nullptr && hhea->advance_Width_Max > 0 ? hhea->advance_Width_Max : maxAdvance;
    if (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
        face->m_aveAdvance = os2->xAvgCharWidth;
    else
        face->m_aveAdvance = face->m_advances['x'];

    const FontFace* result = face.get();
    m_cache->faces.emplace(std::move(key), std::move(face));
    return result;
}

}  // namespace vg
