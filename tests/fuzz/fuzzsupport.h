// What the fuzz targets share: a message sink that answers every box with OK,
// scratch files in memory, and the record as the program starts with it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "model/messages.h"
#include "model/symbolsettings.h"

namespace vg::fuzz {

class QuietSink : public MessageSink {
public:
    MsgResult Show(const std::string&, const std::string&, MsgIcon, MsgButtons) override { return MsgResult::Ok; }
};

// Message boxes answered, the tool's printing gone.
inline void QuietStart() {
    static QuietSink sink;
    SetMessageSink(&sink);
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
}

// A file of this process for the target, in memory where there is room.
inline std::string ScratchPath(const std::string& target, const std::string& suffix) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/vgl_" + target + "." + std::to_string(getpid()) + suffix;
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The extension of the record's output format.
inline const char* FormatExtension(int format) { return format == 1 ? ".eps" : format == 2 ? ".emf" : ".wmf"; }

}  // namespace vg::fuzz
