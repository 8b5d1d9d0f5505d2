// vglyph: command-line front end of the core library.
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/dialogoptions.h"
#include "model/atomicfile.h"
#include "model/strings.h"
#include "output/outputformat.h"

namespace {

// A signal that ends the tool takes the file being written with it.
void RemoveTemporariesAndEnd(int signal) {
    vg::RemoveLiveTemporaries();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void RemoveTemporariesOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction sa {}, previous {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) continue;
        sa.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&sa.sa_mask);
        sigaction(signal, &sa, nullptr);
    }
}

void PrintHelp() {
    std::puts("usage: vglyph <command> [arguments]");
    std::puts("       vglyph [--lang en|zh] <command> [arguments]");
    std::puts("       vglyph --version | --help");
    std::puts("");
    std::puts("commands:");
    for (const vg::cli::Command& c : vg::cli::Commands()) {
        std::string synopsis = c.name;
        if (*c.arguments) synopsis += std::string(" ") + c.arguments;
        std::printf("  %-20s %s\n", synopsis.c_str(), c.summary);
    }
    std::puts("");
    std::puts("options:");
    std::puts("  --version            print the version");
    std::puts("  --help               print this text");
    std::puts("  --lang en|zh         messages in English, or as stored (the default);");
    std::puts("                       the files written are the same either way");
    std::puts("");
    std::puts("make and pattern:");
    std::puts("  -v VARIATION         code or name (vglyph list); case, spaces, hyphens, dots and");
    std::puts("                       parentheses do not matter, 'General' may be left off, and");
    std::puts("                       the start of a name will do when it names one variation");
    std::puts("  -d MAIN              main data");
    std::puts("  -a ADDON             add-on data");
    std::puts("  --fact TEXT          FACT data identifier");
    std::puts("  --upc-part TEXT      coupon UPC part");
    std::puts("  --ucc-part TEXT      coupon UCC/EAN-128 part");
    std::puts("  --set FIELD=VALUE    set a settings field after the variation defaults");
    std::puts("                       (repeatable; vglyph fields lists the fields and their values)");
    std::puts("  --escapes            \\xHH in the data texts is the byte HH, \\\\ a backslash");
    std::puts("  data not given keeps the variation's stored texts");
    std::puts("  texts are UTF-8 and are stored in Windows-1252; a character Windows-1252");
    std::puts("  cannot hold is refused. Code 128 control and function characters are");
    std::puts("  upper-half bytes: FNC1 is \\xC1 (\"\xC3\x81\"), SOH \\x8C (\"\xC5\x92\"), FNC4 \\xB0 in set A");
    std::puts("make only:");
    std::puts("  -o PATH              file to write; without it the proposed name (FileName");
    std::puts("                       scheme) in the current folder, printed once written;");
    std::puts("                       a symbolic link is followed, its target made if missing");
    std::puts("  -f FORMAT            by default the one of -o's extension, else the Format field:");
    for (const vg::OutputFormatInfo& f : vg::OutputFormats()) std::printf("                         %s  %s\n", f.name, f.note);
    std::puts("  --dpi N              PNG resolution (default 600)");
    std::puts("  --transparent        PNG without the spaces colour painted behind the symbol");
    std::puts("  --preview            TIFF preview in the EPS file (the default)");
    std::puts("  --no-preview         no TIFF preview");
    std::puts("  --level1             PostScript language level 1, gray only");
    std::puts("  --verify             read the written file back like a scanner (EPS files");
    std::puts("                       through Ghostscript as well) and print one line");
    vg::cli::PrintDialogOptionsHelp();
    std::puts("series and batch (also -v, -f FORMAT, --dpi, --transparent, --set, --no-preview, --level1):");
    std::puts("  -d, -a, --upc-part, --ucc-part, --fact  the data of the first file");
    std::puts("  --before TEXT --start N --stop N [--step N]  the counter inside the data:");
    std::puts("                       the data is Before + Start + what follows; without");
    std::puts("                       --before, all of the data but its last 5 characters");
    std::puts("  --addon-part         the counter is in the add-on (or the coupon's second part)");
    std::puts("  -o FOLDER            folder of the files (default: the current one)");
    std::puts("  --script FILE        write the placement script (into FILE, or a FOLDER)");
    std::puts("  --replace            replace existing files (without it the run stops there,");
    std::puts("                       also when another run takes a name first)");
    std::puts("  names a run makes (its files, a script in a FOLDER) never follow a symbolic");
    std::puts("  link: --replace replaces the link itself, without it the link counts as an");
    std::puts("  existing file. A file the user may not write is never replaced, --replace or");
    std::puts("  not. A replaced file is a new file with the old one's mode and, where the user");
    std::puts("  may give it, its owner; other hard links keep the old content");
    std::puts("  --verify             prove every file as it is written; the first that does");
    std::puts("                       not scan stops the run (exit status 3)");
    std::puts("  Ctrl-C, SIGTERM and SIGHUP stop a run after the file being written and print");
    std::puts("  the count (exit status 128 + the signal: 130, 143, 129); a run removes the");
    std::puts("  temporary files (.vgl-save-PID-*) that a process no longer running left");
    std::puts("exit status: 0 written, 1 file not written or not readable, 2 input refused,");
    std::puts("             3 (--verify, verify) a file does not scan");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vg::cli;
    RemoveTemporariesOnSignals();
    // Global options before the command.
    int next = 1;
    while (next < argc) {
        const std::string option = argv[next];
        std::string value;
        if (option == "--lang") {
            if (next + 1 >= argc) return UsageError("--lang needs a value: en or zh");
            value = argv[next + 1];
            next += 2;
        } else if (option.rfind("--lang=", 0) == 0) {
            value = option.substr(7);
            next += 1;
        } else {
            break;
        }
        if (value != "en" && value != "zh") return UsageError("unknown language '" + value + "': en or zh");
        vg::SetEnglishTexts(value == "en");
    }
    argc -= next - 1;
    argv += next - 1;
    if (argc < 2) return UsageError("no command given");
    const std::string first = argv[1];
    if (first == "--version" || first == "--help" || first == "-h") {
        if (argc > 2) return UsageError(first + " takes no arguments");
        if (first == "--version")
            std::puts(vg::kVersionText);
        else
            PrintHelp();
        return FlushOutput(first == "--version" ? "the version" : "the help text") ? kExitOk : kExitFailure;
    }
    if (first.size() > 1 && first[0] == '-') return UsageError("unknown option '" + first + "'");
    const Command* command = FindCommand(first);
    if (!command) return UsageError("unknown command '" + first + "'");
    return command->run(std::vector<std::string>(argv + 2, argv + argc));
}
