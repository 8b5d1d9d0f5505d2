// Feeds arbitrary bytes to the settings comment reader: line by line to
// ParseSettingsLine, and as a whole file (after a DOS EPS header's room) to
// ReadSettingsComments. Every input starts from the same settings record.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "eps/settingsreader.h"
#include "model/symbolsettings.h"

namespace {

const vg::SettingsRecord& StartRecord() {
    static const vg::SettingsRecord start = vg::SymbolSettings;
    return start;
}

const std::string& ScratchPath() {
    static const std::string path = "/tmp/vgl_settingsreader_fuzz." + std::to_string(getpid()) + ".eps";
    return path;
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

    vg::SymbolSettings = StartRecord();
    if (std::FILE* f = std::fopen(ScratchPath().c_str(), "wb")) {
        static const char header[30] = {};
        std::fwrite(header, 1, sizeof header, f);
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        std::string version;
        vg::ReadSettingsComments(ScratchPath(), &version);
    }
    return 0;
}
