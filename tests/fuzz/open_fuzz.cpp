// Feeds arbitrary bytes, behind a DOS EPS header, to the open command of the
// vglyph tool. The first input byte chooses the header's section length: the
// true one, or one taken from the next four bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "model/messages.h"
#include "model/symbolsettings.h"

namespace {

class QuietSink : public vg::MessageSink {
public:
    vg::MsgResult Show(const std::string&, const std::string&, vg::MsgIcon, vg::MsgButtons) override {
        return vg::MsgResult::Ok;
    }
};

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static QuietSink sink;
    vg::SetMessageSink(&sink);
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vg::SettingsRecord start = vg::SymbolSettings;
    static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/vgl_open_fuzz." + std::to_string(getpid()) + ".eps";
    std::size_t skip = 0;
    uint32_t length = static_cast<uint32_t>(size);
    if (size >= 5 && (data[0] & 1)) {
        length = data[1] | data[2] << 8 | data[3] << 16 | static_cast<uint32_t>(data[4]) << 24;
        skip = 5;
    } else if (size >= 1) {
        skip = 1;
    }
    std::string file = "\xC5\xD0\xD3\xC6";
    PutU32(file, 30);
    PutU32(file, length - static_cast<uint32_t>(skip));
    for (int i = 0; i < 4; ++i) PutU32(file, 0);
    file += "\xFF\xFF";
    file.append(reinterpret_cast<const char*>(data) + skip, size - skip);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
    vg::SymbolSettings = start;
    vg::cli::RunOpen({path});
    std::clearerr(stdout);
    return 0;
}
