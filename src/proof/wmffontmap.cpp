#include "proof/wmffontmap.h"

#include <sys/stat.h>

#include <map>
#include <vector>

#include "model/cachefile.h"
#include "model/regularfile.h"

namespace vg {
namespace {

// libwmf's own default for the map it reads.
constexpr const char* kGhostscriptMap = "/var/lib/ghostscript/fonts/Fontmap";
constexpr int kMostAliasSteps = 8;

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The same font as OpenType, where the URW package installed both.
std::string Twin(const std::string& file) {
    const std::string type1 = "/type1/urw-base35/";
    const std::size_t at = file.find(type1);
    if (at == std::string::npos || file.size() < 3 || file.compare(file.size() - 3, 3, ".t1") != 0) return file;
    std::string twin = file.substr(0, at) + "/opentype/urw-base35/" + file.substr(at + type1.size());
    twin.replace(twin.size() - 3, 3, ".otf");
    return IsFile(twin) ? twin : file;
}

}  // namespace

std::string DirectFontMap(std::string_view map) {
    // "/Name (file) ;" and "/Name /Other ;", one a line; '%' starts a comment.
    std::map<std::string, std::string> files, aliases;
    std::vector<std::string> order;
    while (!map.empty()) {
        std::string_view line = map.substr(0, map.find('\n'));
        map.remove_prefix(std::min(line.size() + 1, map.size()));
        line = line.substr(0, line.find('%'));
        const std::size_t name = line.find('/');
        if (name == std::string_view::npos) continue;
        const std::size_t nameEnd = line.find_first_of(" \t(/", name + 1);
        if (nameEnd == std::string_view::npos || nameEnd == name + 1) continue;
        const std::string key(line.substr(name + 1, nameEnd - name - 1));
        std::string_view rest = line.substr(nameEnd);
        rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
        const std::size_t end = rest.rfind(';');
        if (end == std::string_view::npos) continue;
        rest = rest.substr(0, end);
        rest = rest.substr(0, rest.find_last_not_of(" \t") + 1);
        if (rest.size() > 2 && rest.front() == '(' && rest.back() == ')') {
            const std::string_view file = rest.substr(1, rest.size() - 2);
            if (file.find_first_of("()\\") != std::string_view::npos || file.front() != '/') continue;
            files[key] = std::string(file);
        } else if (rest.size() > 1 && rest.front() == '/' && rest.find_first_of(" \t") == std::string_view::npos) {
            aliases[key] = std::string(rest.substr(1));
        } else {
            continue;
        }
        if (files.count(key) + aliases.count(key) == 1) order.push_back(key);
    }
    std::string out;
    for (const std::string& key : order) {
        std::string name = key;
        for (int step = 0; !files.count(name) && aliases.count(name) && step < kMostAliasSteps; ++step)
            name = aliases[name];
        if (const auto file = files.find(name); file != files.end())
            out += '/' + key + " (" + Twin(file->second) + ") ;\n";
    }
    return out;
}

const std::string& WmfFontMapFile() {
    static const std::string path = [] {
        const std::string system = ReadSmallFile(kGhostscriptMap);
        const std::string text = system.empty() ? std::string() : DirectFontMap(system);
        const std::string own = text.empty() ? std::string() : CacheFilePath("wmf-fontmap");
        if (own.empty()) return std::string();
        return ReadSmallFile(own) == text || ReplaceCacheFile(own, text) ? own : std::string();
    }();
    return path;
}

}  // namespace vg
