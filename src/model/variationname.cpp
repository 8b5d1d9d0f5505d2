#include "model/variationname.h"

#include <charconv>

#include "model/charset.h"
#include "model/strings.h"

namespace vg {
namespace {

std::string DisplayName(const VariationInfo& v) { return FindString(v.nameId).value_or(v.name); }

}  // namespace

const std::vector<ShortVariationName>& ShortVariationNames() {
    static const std::vector<ShortVariationName> names = {
        {"codabar", 1}, {"code128", 6}, {"code39", 11},  {"code93", 24},  {"ean13", 26}, {"ean8", 27}, {"isbn", 34},
        {"itf14", 41},  {"msi", 47},    {"postnet", 51}, {"gs1-128", 60}, {"upca", 72},  {"upce", 74},
    };
    return names;
}

std::string FoldVariationName(std::string_view name) {
    std::string folded;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '.' || c == '(' || c == ')') continue;
        folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

VariationMatch MatchVariation(std::string_view text) {
    VariationMatch m;
    if (AllDigits(text)) {
        int code = 0;
        auto r = std::from_chars(text.data(), text.data() + text.size(), code);
        if (r.ec == std::errc()) m.variation = FindVariation(code);
        return m;
    }
    for (const VariationInfo& v : Catalogue())
        if (text == DisplayName(v)) {
            m.variation = &v;
            return m;
        }
    const std::string key = FoldVariationName(text);
    if (key.empty()) return m;
    for (const ShortVariationName& s : ShortVariationNames())
        if (key == FoldVariationName(s.name)) {
            m.variation = FindVariation(s.code);
            return m;
        }

    // Stages in order; the first that matches anything decides.
    std::vector<const VariationInfo*> equal, general, prefix, inside;
    for (const VariationInfo& v : Catalogue()) {
        const std::string name = FoldVariationName(DisplayName(v));
        if (name == key) equal.push_back(&v);
        if (name == key + "general") general.push_back(&v);
        if (name.starts_with(key))
            prefix.push_back(&v);
        else if (name.find(key) != std::string::npos)
            inside.push_back(&v);
    }
    for (auto* stage : {&equal, &general, &prefix}) {
        if (stage->empty()) continue;
        if (stage->size() == 1)
            m.variation = stage->front();
        else
            m.candidates = *stage;
        return m;
    }
    m.candidates = inside;
    return m;
}

}  // namespace vg
