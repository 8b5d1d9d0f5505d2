// vglyph: command-line front end of the core library.

#include <link.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/dataproblem.h"
#include "cli/dialogoptions.h"
#include "model/atomicfile.h"
#include "model/strings.h"

namespace {

// On a virtual machine a page costs dear the first time it is touched, most of
// all through a page fault (about 20 us; 1.5 us a page when the pages are asked
// for in one call). A run of the tool touches most of its first heap once, and
// code all over the program and the C library: the heap a run needs, the
// program's zero-filled data and the stack it goes down to are mapped before
// the program's own set-up, freed memory is kept rather than handed back, and
// the read-only pages of the program and its libraries are mapped in one call
// each (they are in the page cache: no reading, only mapping).
constexpr int kMadvisePopulateRead = 22;  // Linux 5.14; older kernels refuse both
constexpr int kMadvisePopulateWrite = 23;

void MapSegments(uintptr_t base, const ElfW(Phdr) * headers, std::size_t count, bool program) {
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    for (std::size_t i = 0; i < count; ++i) {
        const ElfW(Phdr)& h = headers[i];
        if (h.p_type != PT_LOAD) continue;
        const uintptr_t end = base + h.p_vaddr + h.p_memsz;
        if ((h.p_flags & PF_W) == 0) {
            const uintptr_t from = (base + h.p_vaddr) & ~(page - 1);
            madvise(reinterpret_cast<void*>(from), end - from, kMadvisePopulateRead);
        } else if (program && h.p_memsz > h.p_filesz) {
            const uintptr_t from = (base + h.p_vaddr + h.p_filesz + page - 1) & ~(page - 1);
            if (end > from) madvise(reinterpret_cast<void*>(from), end - from, kMadvisePopulateWrite);
        }
    }
}

__attribute__((constructor(101))) void MapAtOnce() {
    constexpr std::size_t kHeap = 320 << 10;
    constexpr std::size_t kStack = 64 << 10;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    char here = 0;
    const uintptr_t frame = reinterpret_cast<uintptr_t>(&here) & ~(page - 1);
    madvise(reinterpret_cast<void*>(frame - kStack), kStack, kMadvisePopulateWrite);
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    mallopt(M_TRIM_THRESHOLD, 4 << 20);
    if (void* block = std::malloc(kHeap)) {
        const auto from = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~(page - 1);
        const auto to = (reinterpret_cast<uintptr_t>(block) + kHeap) & ~(page - 1);
        if (to > from) madvise(reinterpret_cast<void*>(from), to - from, kMadvisePopulateWrite);
        std::free(block);
    }
    // The program (the first, nameless entry), the C and the maths library.
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            const std::string_view name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            const std::string_view file = name.substr(name.find_last_of('/') + 1);
            if (name.empty() || file.rfind("libc.so", 0) == 0 || file.rfind("libm.so", 0) == 0)
                MapSegments(info->dlpi_addr, info->dlpi_phdr, info->dlpi_phnum, name.empty());
            return 0;
        },
        nullptr);
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

#if defined(__SANITIZE_ADDRESS__)
#define VGL_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VGL_LEAK_CHECKED 1
#endif
#endif

int LoadedObjects() {
    int count = 0;
    dl_iterate_phdr([](dl_phdr_info*, std::size_t, void* n) { return ++*static_cast<int*>(n), 0; }, &count);
    return count;
}

// A run that opened no library leaves exit nothing to do but flush: the
// static objects' teardown frees memory only, and the libraries opened at
// run time are the only ones to register work at exit (the proof's page
// folders among them). Sanitized builds exit in full, for the leak check.
[[noreturn]] void Leave(int status, int objectsAtStart) {
#ifdef VGL_LEAK_CHECKED
    (void)objectsAtStart;
    std::exit(status);
#else
    if (LoadedObjects() != objectsAtStart) std::exit(status);
    std::fflush(nullptr);
    _exit(status);
#endif
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
    const int objects = LoadedObjects();
    Leave(command->run(args), objects);
}
