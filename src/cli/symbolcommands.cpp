// make, pattern and open.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "eps/settingsblock.h"
#include "eps/settingsreader.h"
#include "model/messages.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"
#include "output/generate.h"
#include "symbology/symbol.h"

namespace vg::cli {
namespace {

struct SymbolOptions {
    std::string variation;
    DataTexts data;
    std::vector<std::string> settings;
    std::optional<int> format;  // record's Format: 0 WMF, 1 EPS, 2 EMF
    std::string output;
    bool noPreview = false;
    bool levelOne = false;
};

// Parses the options of make (withOutput) or pattern; nullopt after a usage error.
std::optional<SymbolOptions> ParseSymbolOptions(const char* command, const std::vector<std::string>& args,
                                                bool withOutput) {
    SymbolOptions o;
    const std::string cmd = command;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) return nullptr;
            return &args[++i];
        };
        std::optional<std::string>* text = nullptr;
        if (a == "-d") text = &o.data.main;
        else if (a == "-a") text = &o.data.addOn;
        else if (a == "--fact") text = &o.data.fact;
        else if (a == "--upc-part") text = &o.data.couponUpc;
        else if (a == "--ucc-part") text = &o.data.coupon128;

        const bool takesValue = text || a == "-v" || a == "--set" || (withOutput && (a == "-o" || a == "-f"));
        const std::string* v = takesValue ? value() : nullptr;
        if (takesValue && !v) {
            UsageError(cmd + ": " + a + " needs a value");
            return std::nullopt;
        }
        if (text) {
            *text = *v;
        } else if (a == "-v") {
            o.variation = *v;
        } else if (a == "--set") {
            o.settings.push_back(*v);
        } else if (withOutput && a == "-o") {
            o.output = *v;
        } else if (withOutput && a == "-f") {
            if (*v == "wmf") o.format = 0;
            else if (*v == "eps") o.format = 1;
            else if (*v == "emf") o.format = 2;
            else {
                UsageError(cmd + ": unknown format '" + *v + "' (eps, wmf or emf)");
                return std::nullopt;
            }
        } else if (withOutput && a == "--no-preview") {
            o.noPreview = true;
        } else if (withOutput && a == "--level1") {
            o.levelOne = true;
        } else {
            UsageError(cmd + ": unexpected argument '" + a + "'");
            return std::nullopt;
        }
    }
    if (o.variation.empty()) {
        UsageError(cmd + " needs -v VARIATION");
        return std::nullopt;
    }
    return o;
}

GenerationRequest RequestOf(const SymbolOptions& o) {
    GenerationRequest r;
    r.variation = o.variation;
    r.data = o.data;
    r.overrides = o.settings;
    r.format = o.format;
    r.path = o.output;
    r.withPreview = !o.noPreview;
    r.levelOne = o.levelOne;
    return r;
}

// Reports a reason the message sink has not shown yet.
void Report(const GenerationResult& r) {
    if (!r.shown && !r.message.empty()) std::fprintf(stderr, "vglyph: %s\n", r.message.c_str());
}

bool FlushedOk() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

std::string CheckText(uint8_t c) { return c ? std::string(1, static_cast<char>(c)) : std::string(); }

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const std::string s = suffix;
    if (text.size() < s.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = text[text.size() - s.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != s[i]) return false;
    }
    return true;
}

}  // namespace

int RunMake(const std::vector<std::string>& args) {
    std::optional<SymbolOptions> o = ParseSymbolOptions("make", args, true);
    if (!o) return kExitUsage;
    if (o->output.empty()) return UsageError("make needs -o PATH");

    const GenerationResult r = Generate(RequestOf(*o));
    Report(r);
    if (r.status == GenerationStatus::Refused) return kExitUsage;
    if (r.status == GenerationStatus::NotWritable) {
        ShowMessage("Error", "Unable to save " + o->output);
        return kExitFailure;
    }
    return kExitOk;
}

int RunPattern(const std::vector<std::string>& args) {
    std::optional<SymbolOptions> o = ParseSymbolOptions("pattern", args, false);
    if (!o) return kExitUsage;
    const GenerationResult prepared = PrepareSymbol(RequestOf(*o));
    Report(prepared);
    if (prepared.status != GenerationStatus::Written) return kExitUsage;
    std::printf("BarPattern: %s\n", BarPattern.c_str());
    std::printf("EncodedText: %s\n", EncodedText.c_str());
    std::printf("CheckCharacter1: %s\n", CheckText(SymbolSettings.CheckCharacter1).c_str());
    std::printf("CheckCharacter2: %s\n", CheckText(SymbolSettings.CheckCharacter2).c_str());
    if (!FlushedOk()) {
        std::fputs("vglyph: cannot write the pattern\n", stderr);
        return kExitFailure;
    }
    return kExitOk;
}

int RunOpen(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return UsageError("open takes one PATH");
    const std::string& path = args[0];
    std::string version;
    // Metafiles carry a binary trailer, which this tool cannot read yet.
    const bool metafile = EndsWithNoCase(path, ".wmf") || EndsWithNoCase(path, ".emf");
    if (metafile || !ReadSettingsComments(path, &version)) {
        ShowMessage("Vornel Glyph",
                    "Unable to open " + path + ".\nThis format file cannot be opened by this application.");
        return kExitFailure;
    }
    std::printf("VersionNumber: %s\n", version.c_str());
    for (const SettingsBlockLine& line : SettingsBlockLines()) {
        const SettingsField* f = line.field;
        if (!f) continue;
        const int decimals = f->kind == FieldKind::Decimal ? BlockLineDecimals(line) : 0;
        std::printf("%s: %s\n", f->name, FieldValueText(SymbolSettings, *f, decimals).c_str());
    }
    if (!FlushedOk()) {
        std::fputs("vglyph: cannot write the settings\n", stderr);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace vg::cli
