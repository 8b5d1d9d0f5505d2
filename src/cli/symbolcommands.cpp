// make, pattern and open.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/colouroptions.h"
#include "cli/commands.h"
#include "cli/dataproblem.h"
#include "cli/dialogoptions.h"
#include "cli/stdstreams.h"
#include "cli/verify.h"
#include "eps/settingsblock.h"
#include "eps/settingsreader.h"
#include "model/charset.h"
#include "model/messages.h"
#include "model/settingsfields.h"
#include "model/settingstrailer.h"
#include "model/symbolsettings.h"
#include "output/filenaming.h"
#include "output/generate.h"
#include "output/reopen.h"
#include "proof/filerender.h"
#include "symbology/symbol.h"

namespace vg::cli {
namespace {

struct SymbolOptions {
    std::string variation;
    DataTexts data;
    std::vector<std::string> settings;
    std::optional<int> format;             // record's Format: 0 WMF, 1 EPS, 2 EMF
    std::optional<ExportKind> exportKind;  // PNG, SVG or PDF instead of Format
    std::string output;
    int dpi = 600;
    bool noPreview = false;
    bool transparent = false;                // PNG without its background
    std::vector<std::string> formatOptions;  // options that only some formats take, as given
    bool levelOne = false;
    bool escapes = false;  // \xHH in the data texts
    bool verify = false;   // prove the written file
    DialogOptions dialog;  // symbol options, text and additional text
};

// Texts the user types and the program draws or encodes: Windows-1252 in the
// record, UTF-8 on the command line. Other texts (the colour names among them,
// whose defaults come from the string table) pass as they are.
bool IsTypedText(std::string_view field) {
    static constexpr std::string_view kTyped[] = {"MainText",
                                                  "OriginalMainText",
                                                  "AddOnText",
                                                  "FACTdataIDtext",
                                                  "CouponFormatUPCpartText",
                                                  "CouponFormat128partText",
                                                  "AdditionalText",
                                                  "Company",
                                                  "Client",
                                                  "Job",
                                                  "Date",
                                                  "Comments"};
    for (std::string_view t : kTyped)
        if (t == field) return true;
    return false;
}

// A field's value as the command line shows it.
std::string Shown(const SettingsField& f, int decimals) {
    std::string value = FieldValueText(SymbolSettings, f, decimals);
    return IsTypedText(f.name) ? Cp1252ToUtf8(value) : value;
}

// A text of the command line as the record holds it: Windows-1252, with the
// byte escapes expanded when asked. False after the reason was reported.
bool ToRecordText(const char* what, std::string& text, bool escapes) {
    std::string converted, problem;
    if (!Utf8ToCp1252(text, converted, &problem)) {
        std::fprintf(stderr, "vglyph: %s: %s\n", what, problem.c_str());
        return false;
    }
    if (escapes && !ExpandByteEscapes(converted, text, &problem)) {
        std::fprintf(stderr, "vglyph: %s: %s\n", what, problem.c_str());
        return false;
    }
    if (!escapes) text = converted;
    return true;
}

// Parses the options of make (withOutput) or pattern; nullopt after a usage error.
std::optional<SymbolOptions> ParseSymbolOptions(const char* command, const std::vector<std::string>& args,
                                                bool withOutput) {
    SymbolOptions o;
    const std::string cmd = command;
    std::string formatName;  // -f's
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) return nullptr;
            return &args[++i];
        };
        std::optional<std::string>* text = nullptr;
        if (a == "-d")
            text = &o.data.main;
        else if (a == "-a")
            text = &o.data.addOn;
        else if (a == "--fact")
            text = &o.data.fact;
        else if (a == "--upc-part")
            text = &o.data.couponUpc;
        else if (a == "--ucc-part")
            text = &o.data.coupon128;

        const bool colour = cmd != "pattern" && (a == "--fg" || a == "--bg");
        const bool takesValue =
            text || colour || a == "-v" || a == "--set" || (withOutput && (a == "-o" || a == "-f" || a == "--dpi"));
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
        } else if (colour) {
            std::string reason;
            if (!ColourSettings(a == "--fg", *v, o.settings, &reason)) {
                UsageError(cmd + ": " + reason);
                return std::nullopt;
            }
        } else if (withOutput && a == "-o") {
            o.output = *v;
        } else if (withOutput && a == "-f") {
            const OutputFormatInfo* f = FindOutputFormat(*v);
            if (!f) {
                UsageError(cmd + ": unknown format '" + *v + "' (" + OutputFormatNames() + ")");
                return std::nullopt;
            }
            formatName = f->name;
            if (f->recordFormat >= 0)
                o.format = f->recordFormat;
            else
                o.exportKind = ExportKindOf("." + *v);
        } else if (withOutput && a == "--dpi") {
            o.formatOptions.push_back(a);
            char* end = nullptr;
            const long dpi = std::strtol(v->c_str(), &end, 10);
            if (v->empty() || *end != '\0' || dpi < 1 || dpi > 20000) {
                UsageError(cmd + ": --dpi takes a resolution of 1 to 20000");
                return std::nullopt;
            }
            o.dpi = static_cast<int>(dpi);
        } else if (withOutput && a == "--no-preview") {
            o.noPreview = true;
        } else if (withOutput && a == "--preview") {
            o.formatOptions.push_back(a);
            o.noPreview = false;
        } else if (withOutput && a == "--transparent") {
            o.formatOptions.push_back(a);
            o.transparent = true;
        } else if (withOutput && a == "--verify") {
            o.verify = true;
        } else if (withOutput && a == "--level1") {
            o.formatOptions.push_back(a);
            o.levelOne = true;
        } else if (a == "--escapes") {
            o.escapes = true;
        } else if (const OptionTake take =
                       cmd == "pattern" ? OptionTake::NotMine : TakeDialogOption(cmd, args, i, o.dialog);
                   take != OptionTake::NotMine) {
            if (take == OptionTake::Error) return std::nullopt;
        } else {
            UsageError(cmd + ": unexpected argument '" + a + "'");
            return std::nullopt;
        }
    }
    if (o.variation.empty()) {
        UsageError(cmd + " needs -v VARIATION");
        return std::nullopt;
    }
    if (withOutput && !formatName.empty() && !o.output.empty() && o.output != "-") {
        // A format and a name that disagree: the file would hold what its name denies.
        const OutputFormatInfo* named = OutputFormatOfPath(o.output);
        if (named && formatName != named->name) {
            UsageError(cmd + ": -f " + formatName + " and the name '" + o.output + "' disagree");
            return std::nullopt;
        }
    }
    if (withOutput && !o.format && !o.exportKind && !o.output.empty() && !OutputFormatOfPath(o.output)) {
        // A name with an extension of no known format is more likely a slip than a wish.
        const std::size_t slash = o.output.rfind('/');
        const std::size_t dot = o.output.rfind('.');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
            UsageError(cmd + ": cannot write '" + o.output.substr(dot) + "' files (" + OutputFormatNames() +
                       "); -f chooses the format");
            return std::nullopt;
        }
    }
    // -d - : the main data is the first line of standard input.
    if (o.data.main == "-" && !ReadStandardInputLine(*o.data.main)) return std::nullopt;
    const std::pair<const char*, std::optional<std::string>*> texts[] = {{"-d", &o.data.main},
                                                                         {"-a", &o.data.addOn},
                                                                         {"--fact", &o.data.fact},
                                                                         {"--upc-part", &o.data.couponUpc},
                                                                         {"--ucc-part", &o.data.coupon128}};
    for (const auto& [what, text] : texts)
        if (*text && !ToRecordText(what, **text, o.escapes)) return std::nullopt;
    for (std::string& setting : o.settings)
        if (IsTypedText(setting.substr(0, setting.find('='))) && !ToRecordText("--set", setting, false))
            return std::nullopt;
    return o;
}

GenerationRequest RequestOf(const SymbolOptions& o) {
    GenerationRequest r;
    r.variation = o.variation;
    r.data = o.data;
    r.overrides = o.settings;
    r.format = o.format;
    r.path = o.output;
    r.exportKind = o.exportKind;
    r.dpi = o.dpi;
    r.transparent = o.transparent;
    r.withPreview = !o.noPreview;
    r.levelOne = o.levelOne;
    return r;
}

// Reports a reason the message sink has not shown yet.
void Report(const GenerationResult& r) {
    if (!r.shown && !r.message.empty()) std::fprintf(stderr, "vglyph: %s\n", r.message.c_str());
}

std::string CheckText(uint8_t c) { return c ? Cp1252ToUtf8(std::string(1, static_cast<char>(c))) : std::string(); }

}  // namespace

int RunMake(const std::vector<std::string>& args) {
    std::optional<SymbolOptions> o = ParseSymbolOptions("make", args, true);
    if (!o) return kExitUsage;

    GenerationRequest request = RequestOf(*o);
    const bool toStandardOutput = o->output == "-";
    std::optional<ScratchFolder> scratch;  // -o - : the file is made here, then copied out
    GenerationResult r = PrepareSymbolSayingWhy(request);
    if (r.status == GenerationStatus::Written) {
        if (!ApplyDialogOptions(o->dialog)) return kExitUsage;
        // An option the chosen format does not take is refused, not ignored.
        std::optional<ExportKind> kind = request.exportKind;
        if (!kind && !request.format) kind = ExportKindOf(request.path);
        const bool png = kind == ExportKind::Png;
        const bool eps = !kind && SymbolSettings.Format == static_cast<int>(OutputFormat::Eps);
        for (const std::string& option : o->formatOptions) {
            const bool pngOnly = option == "--dpi" || option == "--transparent";
            if (pngOnly ? !png : !eps)
                return UsageError(
                    "make: " + option + " applies to " + (pngOnly ? "PNG" : "EPS") + " files only, not to this " +
                    (kind ? ExportExtension(*kind).substr(1) : FormatExtension(SymbolSettings.Format).substr(1)) +
                    " file");
        }
        if (toStandardOutput) {
            if (scratch.emplace().Path().empty()) return kExitFailure;
            // The bytes of the file that make without -o writes, title included.
            const std::string extension =
                request.exportKind ? ExportExtension(*request.exportKind) : FormatExtension(SymbolSettings.Format);
            const std::string proposed = ProposedPath(extension);
            request.title = proposed.substr(proposed.find_last_of('/') + 1);
            request.path = scratch->Path() + "/out" + extension;
        }
        r = WriteCurrentSymbol(request);
    }
    if (r.status == GenerationStatus::Refused) {
        Report(r);
        return kExitUsage;
    }
    if (r.status == GenerationStatus::NotWritable) {
        ShowMessage("Error", "Unable to save " + (r.path.empty() ? o->output : r.path) +
                                 (r.message.empty() ? "" : "\n" + r.message));
        return kExitFailure;
    }
    if (toStandardOutput) {
        if (o->verify) {
            // The proof's line goes to standard error: standard output holds the file.
            std::fflush(stdout);
            const int saved = ::dup(STDOUT_FILENO);
            ::dup2(STDERR_FILENO, STDOUT_FILENO);
            const int status = ProveFile(r.path);
            std::fflush(stdout);
            ::dup2(saved, STDOUT_FILENO);
            ::close(saved);
            if (status != kExitOk) return status;
        }
        return CopyToStandardOutput(r.path) ? kExitOk : kExitFailure;
    }
    // A proposed name is said, so that the caller knows the file.
    if (o->output.empty()) {
        std::printf("%s\n", r.path.c_str());
        if (!FlushOutput("the file name")) return kExitFailure;
    }
    if (o->verify) {
        const int status = ProveFile(r.path);
        return FlushOutput("the proof") ? status : kExitFailure;
    }
    return kExitOk;
}

int RunPattern(const std::vector<std::string>& args) {
    std::optional<SymbolOptions> o = ParseSymbolOptions("pattern", args, false);
    if (!o) return kExitUsage;
    // A refused input still shows what the record holds: no pattern.
    const GenerationResult prepared = PrepareSymbolSayingWhy(RequestOf(*o));
    Report(prepared);
    const bool ready = prepared.status == GenerationStatus::Written;
    std::printf("BarPattern: %s\n", BarPattern.c_str());
    std::printf("EncodedText: %s\n", Cp1252ToUtf8(EncodedText).c_str());
    std::printf("CheckCharacter1: %s\n", CheckText(SymbolSettings.CheckCharacter1).c_str());
    std::printf("CheckCharacter2: %s\n", CheckText(SymbolSettings.CheckCharacter2).c_str());
    if (!FlushOutput("the pattern")) return kExitFailure;
    return ready ? kExitOk : kExitUsage;
}

int RunInfo(const std::vector<std::string>& args) {
    std::optional<SymbolOptions> o = ParseSymbolOptions("info", args, false);
    if (!o) return kExitUsage;
    const GenerationResult prepared = PrepareSymbolSayingWhy(RequestOf(*o));
    Report(prepared);
    if (prepared.status != GenerationStatus::Written) return kExitUsage;
    if (!ApplyDialogOptions(o->dialog)) return kExitUsage;
    PrintDialogReadouts();
    return FlushOutput("the readouts") ? kExitOk : kExitFailure;
}

int RunOpen(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty()) return UsageError("open takes one PATH");
    const std::string& path = args[0];
    std::string version;
    std::string reason;
    std::vector<std::string> clamped;
    if (!OpenSavedGraphic(path, &version, &reason, &clamped)) {
        // Exports carry no settings; the proof can still read their symbols.
        const GraphicFileKind kind = GraphicFileKindOf(path);
        if (kind == GraphicFileKind::Png || kind == GraphicFileKind::Svg || kind == GraphicFileKind::Pdf)
            reason = std::string("A ") + GraphicFileKindName(kind) +
                     " file carries no settings; vglyph verify reads the symbols in it.";
        ShowMessage("Vornel Glyph", "Unable to open " + path +
                                        ".\nThis format file cannot be opened by this application." +
                                        (reason.empty() ? "" : "\n" + reason));
        return kExitFailure;
    }
    if (!clamped.empty()) std::fprintf(stderr, "vglyph: %s: %s\n", path.c_str(), ClampedFieldsText(clamped).c_str());
    if (SavedGraphicKindOf(path) == SavedGraphicKind::Metafile) {
        // Every field of the trailer, numbers in full.
        for (const SettingsField* f : SettingsTrailerFields()) std::printf("%s: %s\n", f->name, Shown(*f, 17).c_str());
    } else {
        std::printf("VersionNumber: %s\n", version.c_str());
        for (const SettingsBlockLine& line : SettingsBlockLines()) {
            const SettingsField* f = line.field;
            if (!f) continue;
            const int decimals = f->kind == FieldKind::Decimal ? BlockLineDecimals(line) : 0;
            std::printf("%s: %s\n", f->name, Shown(*f, decimals).c_str());
        }
    }
    return FlushOutput("the settings") ? kExitOk : kExitFailure;
}

bool CommandLineText(const char* what, std::string& text, bool escapes) { return ToRecordText(what, text, escapes); }

bool IsTypedTextField(const std::string& field) { return IsTypedText(field); }

}  // namespace vg::cli
