// The help texts: vglyph --help, vglyph help COMMAND and COMMAND --help.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/dialogoptions.h"
#include "output/outputformat.h"

namespace vg::cli {
namespace {

void Lines(std::initializer_list<const char*> lines) {
    for (const char* line : lines) std::puts(line);
}

void SymbolOptionsHelp() {
    Lines({"  -v VARIATION         code, name or short form (vglyph list, vglyph list --short);",
           "                       case, spaces, hyphens, dots and parentheses do not matter,",
           "                       'General' may be left off, and the start of a name will do",
           "                       when it names one variation",
           "  -d MAIN              main data; - reads it from the first line of standard input",
           "  -a ADDON             add-on data",
           "  --fact TEXT          FACT data identifier",
           "  --upc-part TEXT      coupon UPC part",
           "  --ucc-part TEXT      coupon UCC/EAN-128 part",
           "  --set FIELD=VALUE    set a settings field after the variation defaults",
           "                       (repeatable; vglyph fields lists the fields and their values)",
           "  --escapes            \\xHH in the data texts is the byte HH, \\\\ a backslash",
           "  --fg COLOUR          bars and text: a name (black, white, red, green, blue, cyan,",
           "                       magenta, yellow, grey), #RRGGBB or cmyk:C,M,Y,K (percentages);",
           "                       sets the RGB and CMYK values and the name together",
           "  --bg COLOUR          spaces and quiet zones, as --fg; none: a transparent background",
           "  data not given keeps the variation's stored texts",
           "  texts are UTF-8 and are stored in Windows-1252; a character Windows-1252",
           "  cannot hold is refused. Code 128 control and function characters are",
           "  upper-half bytes: FNC1 is \\xC1 (\"\xC3\x81\"), SOH \\x8C (\"\xC5\x92\"), FNC4 \\xB0 in set A"});
}

void MakeOptionsHelp() {
    Lines({"  -o PATH              file to write; - writes it to standard output; without -o",
           "                       the proposed name (FileName scheme) in the current folder,",
           "                       printed once written; a symbolic link is followed, its",
           "                       target made if missing",
           "  -f FORMAT            by default the one of -o's extension, else the Format field:"});
    for (const OutputFormatInfo& f : OutputFormats()) std::printf("                         %s  %s\n", f.name, f.note);
    Lines({"  --dpi N              PNG resolution (default 600)",
           "  --transparent        PNG without the spaces colour painted behind the symbol",
           "  --preview            TIFF preview in the EPS file (the default)",
           "  --no-preview         no TIFF preview", "  --level1             PostScript language level 1, gray only",
           "  --verify             read the written file back like a scanner (EPS files",
           "                       through Ghostscript as well) and print one line"});
}

void SeriesOptionsHelp(bool series) {
    if (series) {
        Lines({"  -v VARIATION, --set FIELD=VALUE, --escapes, --fg, --bg   as for make",
               "  -d, -a, --upc-part, --ucc-part, --fact  the data of the first file (-d - reads",
               "                       standard input)",
               "  --before TEXT --start N --stop N [--step N]  the counter inside the data:",
               "                       the data is Before + Start + what follows; without",
               "                       --before, all of the data but its last 5 characters;",
               "                       without --start, the counter is what the data holds there",
               "  --addon-part         the counter is in the add-on (or the coupon's second part)"});
    } else {
        Lines({"  DATAFILE             one record per line (LF, CR LF or CR; a UTF-8 byte-order",
               "                       mark is skipped); - reads standard input",
               "  -v VARIATION, --set FIELD=VALUE, --fg, --bg   as for make"});
    }
    Lines({"  -f FORMAT            eps, wmf, emf, png, svg or pdf (default: the Format field)",
           "  --dpi, --transparent, --no-preview, --level1   as for make",
           "  -o FOLDER            folder of the files (default: the current one)",
           "  --script FILE        write the placement script (into FILE, or a FOLDER)",
           "  --replace            replace existing files (without it the run stops there,",
           "                       also when another run takes a name first)",
           "  names a run makes (its files, a script in a FOLDER) never follow a symbolic",
           "  link: --replace replaces the link itself, without it the link counts as an",
           "  existing file. A file the user may not write is never replaced, --replace or",
           "  not. A replaced file is a new file with the old one's mode and, where the user",
           "  may give it, its owner; other hard links keep the old content",
           "  --verify             prove every file as it is written; the first that does",
           "                       not scan stops the run (exit status 3)",
           "  Ctrl-C, SIGTERM and SIGHUP stop a run after the file being written and print",
           "  the count (exit status 128 + the signal: 130, 143, 129); a run removes the",
           "  temporary files (.vgl-save-PID-*) that a process no longer running left"});
}

void ExitStatusHelp() {
    Lines({"exit status: 0 written, 1 file not written or not readable, 2 input refused,",
           "             3 (--verify, verify) a file does not scan"});
}

void Usage(const Command& c) {
    std::printf("usage: vglyph %s%s%s\n%s\n", c.name, *c.arguments ? " " : "", c.arguments, c.summary);
}

}  // namespace

void PrintHelp() {
    Lines({"usage: vglyph <command> [arguments]", "       vglyph --version | --help",
           "       vglyph help COMMAND, or vglyph COMMAND --help: the command's own options", "", "commands:"});
    for (const Command& c : Commands()) {
        std::string synopsis = c.name;
        if (*c.arguments) synopsis += std::string(" ") + c.arguments;
        std::printf("  %-20s %s\n", synopsis.c_str(), c.summary);
    }
    Lines({"", "options:", "  --version            print the version", "  --help, -h           print this text",
           "  --lang en|zh         messages in English or as stored, anywhere on the line;",
           "                       by default Chinese locales get the stored texts, every",
           "                       other locale English (LC_ALL, LC_MESSAGES, LANG); the files",
           "                       written are the same either way", "", "make and pattern:"});
    SymbolOptionsHelp();
    std::puts("make only:");
    MakeOptionsHelp();
    PrintDialogOptionsHelp();
    std::puts("series and batch:");
    SeriesOptionsHelp(true);
    ExitStatusHelp();
}

bool PrintCommandHelp(const std::string& name) {
    const Command* c = FindCommand(name);
    if (!c) return false;
    Usage(*c);
    const std::string n = name;
    if (n == "list") {
        Lines({"", "  --short              the short names (code128, ean13, ...) and what they name"});
    } else if (n == "make" || n == "pattern" || n == "info") {
        std::puts("");
        SymbolOptionsHelp();
        if (n == "make") MakeOptionsHelp();
        if (n != "pattern") PrintDialogOptionsHelp();
    } else if (n == "kitlet") {
        Lines({"", "  -v VARIATION -o FILE a Kitlet of the variation's factory defaults",
               "  --full               the defaults applied as the variation stands",
               "  --set FIELD=VALUE    set a field first (repeatable)",
               "  --all DIR            one Kitlet per variation, a folder per family"});
    } else if (n == "verify") {
        Lines({"", "  FILE...              graphics of any format (EPS, WMF, EMF, PNG, SVG, PDF), ours or",
               "                       another program's; one line per file: scans, or why not",
               "  --expect TEXT        the text the symbol must hold"});
    } else if (n == "series" || n == "batch") {
        std::puts("");
        SeriesOptionsHelp(n == "series");
    } else if (n == "helppages") {
        Lines({"", "  DIR                  the folder the pages and their images are written to"});
    }
    std::puts("");
    ExitStatusHelp();
    return true;
}

bool AsksForHelp(const std::vector<std::string>& args) {
    // Options whose value may itself look like --help.
    static constexpr const char* kTakesText[] = {
        "-d", "-a", "--fact", "--upc-part", "--ucc-part", "--before", "--set", "--additional-text", "--expect"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") return true;
        for (const char* t : kTakesText)
            if (args[i] == t) {
                ++i;
                break;
            }
    }
    return false;
}

int RunHelp(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintHelp();
    } else if (args.size() > 1 || !PrintCommandHelp(args[0])) {
        return UsageError("help takes one command: " + (args.empty() ? std::string() : args[0]) +
                          " is none (vglyph --help lists them)");
    }
    return FlushOutput("the help text") ? kExitOk : kExitFailure;
}

}  // namespace vg::cli
