#include "device/fontlist.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "device/fontservice.h"
#include "model/charset.h"

namespace vg {
namespace {

std::vector<std::string> ListFamilies() {
    std::vector<std::string> names;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config) {
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* set = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
        for (int i = 0; set && i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            // The first family name of a font is the one it is known by.
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch || !family) continue;
            std::string name;
            if (Utf8ToCp1252(reinterpret_cast<const char*>(family), name, nullptr) && !name.empty())
                names.push_back(name);
        }
        if (set) FcFontSetDestroy(set);
        if (objects) FcObjectSetDestroy(objects);
        if (pattern) FcPatternDestroy(pattern);
        FcConfigDestroy(config);
    }
    for (std::string_view alias : {std::string_view("Arial"), kOcrAFontName, kOcrBFontName})
        if (FontService::Instance().Resolve(alias)) names.push_back(std::string(alias));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace

const std::vector<std::string>& InstalledFontFamilies() {
    static const std::vector<std::string> families = ListFamilies();
    return families;
}

}  // namespace vg
