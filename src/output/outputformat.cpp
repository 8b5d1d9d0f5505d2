#include "output/outputformat.h"

namespace vg {
namespace {

constexpr OutputFormatInfo kFormats[] = {
    {"eps", 1, "Encapsulated PostScript with the settings and a TIFF preview"},
    {"wmf", 0, "Windows metafile with the settings"},
    {"emf", 2, "enhanced metafile with the settings"},
    {"png", -1, "image at --dpi; carries no settings"},
    {"svg", -1, "vector image; carries no settings"},
    {"pdf", -1, "one page; carries no settings"},
};

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

}  // namespace

std::span<const OutputFormatInfo> OutputFormats() { return kFormats; }

const OutputFormatInfo* FindOutputFormat(std::string_view name) {
    for (const OutputFormatInfo& f : kFormats)
        if (name == f.name) return &f;
    return nullptr;
}

const OutputFormatInfo* OutputFormatOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    if (dot == std::string_view::npos) return nullptr;
    for (const OutputFormatInfo& f : kFormats)
        if (SameNoCase(last.substr(dot + 1), f.name)) return &f;
    return nullptr;
}

std::string OutputFormatNames() {
    std::string names;
    for (const OutputFormatInfo& f : kFormats) names += (names.empty() ? "" : ", ") + std::string(f.name);
    return names;
}

}  // namespace vg
