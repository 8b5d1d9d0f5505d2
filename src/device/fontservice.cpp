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
    if (face_ != nullptr) FT_Done_Face(face_);
}

double FontFace::Scale(int height) const {
    if (height > 0) {
        int cell = cellAscent_ + cellDescent_;
        return cell > 0 ? static_cast<double>(height) / cell : 0.0;
    }
    if (height < 0 && unitsPerEm_ > 0) return -static_cast<double>(height) / unitsPerEm_;
    return 0.0;
}

FontMetrics FontFace::Metrics(int height) const {
    FontMetrics m;
    double scale = Scale(height);
    if (scale <= 0.0) return m;
    m.height = height > 0 ? height : Round((cellAscent_ + cellDescent_) * scale);
    m.ascent = Round(cellAscent_ * scale);
    if (m.ascent > m.height) m.ascent = m.height;
    m.descent = m.height - m.ascent;
    m.internalLeading = m.height - Round(unitsPerEm_ * scale);
    m.maxCharWidth = Round(maxAdvance_ * scale);
    m.aveCharWidth = Round(aveAdvance_ * scale);
    return m;
}

TextExtent FontFace::Extent(std::string_view text, int height) const {
    double scale = Scale(height);
    if (scale <= 0.0) return {};
    long long units = 0;
    for (char ch : text) units += advances_[static_cast<unsigned char>(ch)];
    TextExtent e;
    e.cx = static_cast<int>(std::llround(static_cast<double>(units) * scale));
    e.cy = height > 0 ? height : Round((cellAscent_ + cellDescent_) * scale);
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

FontService::FontService() : cache_(std::make_unique<Cache>()) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) library_ = library;
}

FcConfig* FontService::OwnConfig() {
    if (!ocrTried_) {
        ocrTried_ = true;
#ifdef VGL_OCR_FONT_DIRS
        ocrConfig_ = OcrConfig(VGL_OCR_FONT_DIRS, configFile_);
#endif
    }
    return ocrConfig_;
}

FcConfig* FontService::WideConfig() {
    if (!wideTried_) {
        wideTried_ = true;
        config_ = PrivateConfig(configFile_);
    }
    return config_;
}

FcConfig* FontService::SystemConfig() {
    if (!systemTried_) {
        systemTried_ = true;
        systemConfig_ = FcInitLoadConfigAndFonts();
        if (systemConfig_ != nullptr) LoadAliases(systemConfig_);
    }
    return systemConfig_;
}

FontService::~FontService() {
    cache_.reset();  // faces go before the library
    if (library_ != nullptr) FT_Done_FreeType(library_);
    if (config_ != nullptr) FcConfigDestroy(config_);
    if (ocrConfig_ != nullptr) FcConfigDestroy(ocrConfig_);
    if (systemConfig_ != nullptr) FcConfigDestroy(systemConfig_);
}

const FontFace* FontService::Resolve(std::string_view family, int weight, bool italic) {
    if (weight <= 0) weight = 400;  // 0 is "don't care" as in GDI
    if (weight > 1000) weight = 1000;
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto asked = cache_->requests.find(RequestView{family, weight, italic}); asked != cache_->requests.end())
        return asked->second;
    std::string utf8 = Cp1252ToUtf8(family);
    auto key = std::make_tuple(FamilyKey(utf8), weight, italic);
    auto it = cache_->matches.find(key);
    const FontFace* face = it != cache_->matches.end() ? it->second : Match(utf8, weight, italic);
    if (it == cache_->matches.end()) cache_->matches.emplace(std::move(key), face);
    cache_->requests.emplace(Request{std::string(family), weight, italic}, face);
    return face;
}

const FontFace* FontService::Match(const std::string& familyUtf8, int weight, bool italic) {
    if (library_ == nullptr || FamilyKey(familyUtf8).empty()) return nullptr;
    const FontFace* face = nullptr;
    // The program's own names first among their own fonts alone: no other font
    // carries them, so the whole set-up would choose the same.
    if (IsOwnName(familyUtf8)) {
        if (FcConfig* own = OwnConfig()) face = MatchIn(own, familyUtf8, weight, italic);
    }
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

const FontFace* FontService::MatchIn(FcConfig* config, const std::string& familyUtf8, int weight, bool italic) {
    ++matchCount_;
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
    auto it = cache_->faces.find(key);
    if (it != cache_->faces.end()) return it->second.get();

    ++faceLoadCount_;
    FT_Face ft = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &ft) != 0) return nullptr;
    if (!FT_IS_SCALABLE(ft) || ft->units_per_EM == 0) {
        FT_Done_Face(ft);
        return nullptr;
    }
    std::unique_ptr<FontFace> face(new FontFace());
    face->face_ = ft;
    face->file_ = file;
    face->index_ = index;
    face->family_ = ft->family_name != nullptr ? ft->family_name : "";
    face->unitsPerEm_ = ft->units_per_EM;

    // Cell from the Windows metrics when present, else hhea, else the face's own.
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        face->cellAscent_ = os2->usWinAscent;
        face->cellDescent_ = os2->usWinDescent;
    } else if (hhea != nullptr && hhea->Ascender - hhea->Descender > 0) {
        face->cellAscent_ = hhea->Ascender;
        face->cellDescent_ = -hhea->Descender;
    } else if (ft->ascender - ft->descender > 0) {
        face->cellAscent_ = ft->ascender;
        face->cellDescent_ = -ft->descender;
    } else {
        face->cellAscent_ = ft->units_per_EM;
        face->cellDescent_ = 0;
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
        face->glyphs_[b] = glyph;
        face->advances_[b] = static_cast<int>(adv);
        if (face->advances_[b] > maxAdvance) maxAdvance = face->advances_[b];
    }
    face->maxAdvance_ = hhea != nullptr && hhea->advance_Width_Max > 0 ? hhea->advance_Width_Max : maxAdvance;
    if (os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
        face->aveAdvance_ = os2->xAvgCharWidth;
    else
        face->aveAdvance_ = face->advances_['x'];

    const FontFace* result = face.get();
    cache_->faces.emplace(std::move(key), std::move(face));
    return result;
}

}  // namespace vg
