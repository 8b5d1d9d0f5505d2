// vglyph: command-line front end of the core library.

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/dataproblem.h"
#include "cli/dialogoptions.h"
#include "model/atomicfile.h"
#include "model/strings.h"

namespace {

// A page fault is dear on a virtual machine (about 20 us; 1.5 us a page when
// the pages are asked for in one call), and a run of the tool touches most of
// its heap once: the heap a run needs is mapped before the program's own
// set-up, and freed memory is kept rather than handed back.
__attribute__((constructor(101))) void MapTheHeapAtOnce() {
    constexpr std::size_t kHeap = 256 << 10;
    constexpr int kMadvisePopulateWrite = 23;  // Linux 5.14; older kernels refuse it
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 4 << 20);
    void* block = std::malloc(kHeap);
    if (!block) return;
    const long page = sysconf(_SC_PAGESIZE);
    const auto from = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~static_cast<uintptr_t>(page - 1);
    const auto to = (reinterpret_cast<uintptr_t>(block) + kHeap) & ~static_cast<uintptr_t>(page - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, kMadvisePopulateWrite);
    std::free(block);
}

// Messages follow the locale: Chinese locales get the stored texts, every
// other locale English.
bool LocaleWantsEnglish() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::strncmp(value, "zh", 2) != 0;
    }
    return true;
}

// Takes --lang out of the line wherever it stands; false after a usage error.
bool TakeLanguage(std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size();) {
        std::string value;
        if (args[i] == "--lang") {
            if (i + 1 >= args.size()) return vg::cli::UsageError("--lang needs a value: en or zh"), false;
            value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (args[i].rfind("--lang=", 0) == 0) {
            value = args[i].substr(7);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            // A data text may be "--lang" itself.
            static constexpr const char* kTakesText[] = {"-d",         "-a",       "--fact", "--upc-part",
                                                         "--ucc-part", "--before", "--set",  "--additional-text"};
            bool text = false;
            for (const char* t : kTakesText) text = text || args[i] == t;
            i += text ? 2 : 1;
            continue;
        }
        if (value != "en" && value != "zh")
            return vg::cli::UsageError("unknown language '" + value + "': en or zh"), false;
        vg::SetEnglishTexts(value == "en");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vg::cli;
    vg::RemoveTemporariesOnSignals();
    vg::SetEnglishTexts(LocaleWantsEnglish());
    InstallToolMessageSink();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!TakeLanguage(args)) return kExitUsage;
    if (args.empty()) return UsageError("no command given");
    const std::string first = args[0];
    if (first == "--version" || first == "--help" || first == "-h") {
        if (args.size() > 1) return UsageError(first + " takes no arguments");
        if (first == "--version")
            std::puts(vg::kVersionText);
        else
            PrintHelp();
        return FlushOutput(first == "--version" ? "the version" : "the help text") ? kExitOk : kExitFailure;
    }
    if (first.size() > 1 && first[0] == '-') return UsageError("unknown option '" + first + "'");
    const Command* command = FindCommand(first);
    if (!command) return UsageError("unknown command '" + first + "'");
    args.erase(args.begin());
    if (AsksForHelp(args)) {
        PrintCommandHelp(command->name);
        return FlushOutput("the help text") ? kExitOk : kExitFailure;
    }
    return command->run(args);
}
