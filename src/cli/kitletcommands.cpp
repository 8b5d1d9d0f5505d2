// kitlet: Kitlet files of the factory defaults, one or the whole shipped set.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "entry/symbolinput.h"
#include "model/catalogue.h"
#include "model/kitlet.h"
#include "model/strings.h"
#include "model/symbolsettings.h"

namespace vg::cli {
namespace {

// A display name as a file or folder name: '/' cannot stand in one.
std::string FileNameOf(std::string name) {
    for (char& c : name)
        if (c == '/') c = '-';
    return name;
}

// The Kitlet of a variation's factory defaults. full 0: the defaults are applied
// again when it is chosen; full 1: its items are applied as they stand.
bool WriteDefaultKitlet(const VariationInfo& v, const std::string& path, bool full,
                        const std::vector<std::string>& settings) {
    ResetSettingsRecord();
    ChooseVariation(v);
    std::string reason;
    if (!ApplyFieldSettings(settings, &reason)) {
        std::fprintf(stderr, "vglyph: %s\n", reason.c_str());
        return false;
    }
    Kitlet kitlet = KitletOf(SymbolSettings, false);
    kitlet.full = full ? 1 : 0;
    errno = 0;
    if (!WriteKitletFile(path, kitlet)) {
        const int error = errno;
        std::fprintf(stderr, "vglyph: cannot write %s: %s\n", path.c_str(),
                     error ? std::strerror(error) : "the file could not be written whole");
        return false;
    }
    return true;
}

// One Kitlet per variation in a folder per family.
int WriteShippedSet(const std::string& folder) {
    namespace fs = std::filesystem;
    for (const VariationInfo& v : Catalogue()) {
        const FamilyInfo* family = FindFamily(v.family);
        const fs::path dir = fs::path(folder) / FileNameOf(family ? family->name : "Other");
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) {
            std::fprintf(stderr, "vglyph: cannot make the folder %s: %s\n", dir.c_str(), ec.message().c_str());
            return kExitFailure;
        }
        const std::string name = FileNameOf(FindString(v.nameId).value_or(v.name));
        if (!WriteDefaultKitlet(v, (dir / name).string(), false, {})) return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunKitlet(const std::vector<std::string>& args) {
    std::string variation, output, all;
    std::vector<std::string> settings;
    bool full = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        std::string setting;
        if (a == "-v" && value(variation)) continue;
        if (a == "-o" && value(output)) continue;
        if (a == "--all" && value(all)) continue;
        if (a == "--set" && value(setting)) {
            settings.push_back(setting);
            continue;
        }
        if (a == "--full") {
            full = true;
            continue;
        }
        return UsageError("kitlet: unknown or incomplete argument '" + a + "'");
    }
    if (!all.empty()) {
        if (!variation.empty() || !output.empty() || !settings.empty() || full)
            return UsageError("kitlet --all takes only the folder");
        return WriteShippedSet(all);
    }
    if (variation.empty() || output.empty()) return UsageError("kitlet needs -v VARIATION and -o FILE");
    std::string reason;
    const VariationInfo* v = LookUpVariation(variation, &reason);
    if (!v) return UsageError(reason);
    return WriteDefaultKitlet(*v, output, full, settings) ? kExitOk : kExitFailure;
}

}  // namespace vg::cli
