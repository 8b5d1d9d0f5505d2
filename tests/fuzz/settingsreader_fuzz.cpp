// Feeds arbitrary bytes to the settings comment reader: line by line to
// ParseSettingsLine, and as a whole file (after a DOS EPS header's room) to
// ReadSettingsComments. Settings that read back are then saved and reopened:
// unless the writer refuses them, they must come back as they were.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "eps/epswriter.h"
#include "eps/settingsblock.h"
#include "eps/settingsreader.h"
#include "model/settingsfields.h"
#include "model/symbolsettings.h"

namespace {

const vg::SettingsRecord& StartRecord() {
    static const vg::SettingsRecord start = vg::SymbolSettings;
    return start;
}

std::string ScratchPath(const char* what) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/vgl_settingsreader_fuzz." + std::to_string(getpid()) + what;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        static const char header[30] = {};
        std::fwrite(header, 1, sizeof header, f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

std::string BlockValue(const vg::SettingsRecord& r, const vg::SettingsBlockLine& line) {
    std::string value;
    vg::AppendBlockValue(value, r, line);
    return value;
}

void CheckTexts(const vg::SettingsRecord& r) {
    for (const vg::SettingsField& f : vg::SettingsFields())
        if (f.kind == vg::FieldKind::FixedText && f.getText(r).size() > f.capacity) std::abort();
}

// Saves a record and reopens the file into a fresh one; false when the writer refuses.
bool SaveAndReopen(const vg::SettingsRecord& from, vg::SettingsRecord& to) {
    static const std::string saved = ScratchPath(".saved.eps");
    vg::SymbolSettings = from;
    vg::EpsOptions options;
    options.WithPreview = false;
    options.Extent = {0, 0, 1000, 1000};
    if (!vg::WriteEpsFile(saved, options)) return false;
    vg::SymbolSettings = StartRecord();
    if (!vg::ReadSettingsComments(saved)) std::abort();
    to = vg::SymbolSettings;
    return true;
}

[[noreturn]] void Fail(const vg::SettingsBlockLine& line, const std::string& was, const std::string& is) {
    std::fprintf(stderr, "%s: '%s' came back as '%s'\n", line.field->name, was.c_str(), is.c_str());
    std::abort();
}

// Fields the reader takes as they are, with no range to fall back from. An
// out-of-range SizeAT, on the line after it, resets the additional text font.
bool TakenAsIs(const vg::SettingsField& f, const vg::SettingsRecord& stored) {
    const std::string_view name = f.name;
    if (name == "FontName4AdditionalText") return vg::kSizeRange.Contains(stored.SizeAT);
    if (f.kind == vg::FieldKind::Text || f.kind == vg::FieldKind::FixedText) return true;
    return name == "SymbolWidth" || name == "BarWidthReduction" || name == "Magnification" || name == "H" ||
           name == "V";
}

// What was read, saved and reopened: texts and free numbers come back as they
// were, and a second save and reopen changes nothing.
void RoundTrip() {
    const vg::SettingsRecord stored = vg::SymbolSettings;
    if (!vg::SettingsBlockProblem(stored).empty()) return;
    vg::SettingsRecord once, twice;
    if (!SaveAndReopen(stored, once) || !SaveAndReopen(once, twice)) std::abort();
    for (const vg::SettingsBlockLine& line : vg::SettingsBlockLines()) {
        if (!line.field) continue;
        const std::string before = BlockValue(stored, line);
        const std::string after = BlockValue(once, line);
        if (TakenAsIs(*line.field, stored) && !before.empty() && before != after) Fail(line, before, after);
        if (after != BlockValue(twice, line)) Fail(line, after, BlockValue(twice, line));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    vg::SettingsRecord record = StartRecord();
    vg::SettingsParseState state(record);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) end = input.size();
        vg::ParseSettingsLine(state, input.substr(start, end - start));
        start = end + 1;
    }
    CheckTexts(record);

    static const std::string path = ScratchPath(".eps");
    vg::SymbolSettings = StartRecord();
    WriteFile(path, input);
    std::string version;
    if (vg::ReadSettingsComments(path, &version)) {
        CheckTexts(vg::SymbolSettings);
        RoundTrip();
    }
    return 0;
}
