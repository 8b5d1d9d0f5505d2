#include "cli/commands.h"

#include <cerrno>
#include <cstdio>

#include "model/catalogue.h"
#include "model/variationname.h"
#include "model/regularfile.h"
#include "model/settingsfields.h"
#include "model/strings.h"

namespace vg::cli {
namespace {

constexpr Command kCommands[] = {
    {"list", "[--short]", "list every variation: code, family and name, tab-separated", RunList},
    {"fields", "", "list the fields --set takes: name, type, unit and valid values, tab-separated", RunFields},
    {"make", "-v VAR [...]", "write one graphic file (options below)", RunMake},
    {"pattern", "-v VAR [...]", "print the bar pattern, encoded text and check characters", RunPattern},
    {"info", "-v VAR [...]", "print the symbol options readouts (X-dimension and grid, BWR, quiet zones)", RunInfo},
    {"open", "PATH", "print the settings stored in a saved graphic", RunOpen},
    {"kitlet", "-v VAR -o FILE",
     "write a Kitlet of the factory defaults (--full: applied as it stands;\n"
     "                       --set FIELD=VALUE; --all DIR: one per variation, a folder per family)",
     RunKitlet},
    {"verify", "[--expect TEXT] FILE...",
     "read graphics back like a scanner, one line per file: saved\n"
     "                       graphics against their settings, any other EPS, WMF, EMF, PDF, SVG\n"
     "                       or PNG file decoded (--expect: the text one of its symbols must hold)",
     RunVerify},
    {"series", "-v VAR [...]", "write a numbered series of graphics (options below)", RunSeries},
    {"batch", "-v VAR FILE", "write one graphic per record of a data file", RunBatch},
    {"helppages", "DIR", "write the variations' help pages with their example images", RunHelpPages},
    {"help", "[COMMAND]", "print the help text, or one command's", RunHelp},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

int UsageError(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "vglyph: %s\n", problem.c_str());
    std::fputs("usage: vglyph <command> [arguments] (vglyph --help lists the commands)\n", stderr);
    return kExitUsage;
}

bool FlushOutput(const char* what) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    const int error = errno ? errno : EIO;
    std::fprintf(stderr, "vglyph: cannot write %s\n%s\n", what, SystemReason(error).c_str());
    return false;
}

int RunList(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--short") {
        // Each short name with the code and name of the variation it names.
        for (const ShortVariationName& s : ShortVariationNames()) {
            const VariationInfo* v = FindVariation(s.code);
            if (v) std::printf("%s\t%d\t%s\n", s.name, v->code, FindString(v->nameId).value_or(v->name).c_str());
        }
        return FlushOutput("the list") ? kExitOk : kExitFailure;
    }
    if (!args.empty()) return UsageError("list takes no arguments but --short");
    for (const VariationInfo& v : Catalogue()) {
        // The stored name, without a message box should the table lack it.
        const std::string name = FindString(v.nameId).value_or(v.name);
        std::printf("%d\t%d\t%s\n", v.code, v.family, name.c_str());
    }
    return FlushOutput("the list") ? kExitOk : kExitFailure;
}

int RunFields(const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError("fields takes no arguments");
    for (const SettingsField& f : SettingsFields()) {
        if (f.entry != FieldEntry::Free) continue;
        std::string valid = FieldRangeText(f);
        if (*f.note) valid += "; " + std::string(f.note);
        std::printf("%s\t%s\t%s\t%s\n", f.name, FieldTypeText(f), *f.unit ? f.unit : "-", valid.c_str());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("vglyph: cannot write the fields\n", stderr);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace vg::cli
