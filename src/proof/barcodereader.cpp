#include "proof/barcodereader.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>

namespace vg {
namespace {

constexpr const char* kModule = "libvgl_zxingreader.so";

// Installed, the module stands in the library folder beside the program's;
// else it is where the build wrote it.
std::string ModulePath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path installed = exe.parent_path() / VGL_MODULE_INSTALL_DIR / kModule;
        if (std::filesystem::is_regular_file(installed, ec)) return installed.string();
    }
    return (std::filesystem::path(VGL_MODULE_BUILD_DIR) / kModule).string();
}

}  // namespace

bool ReadBarcodes(const ReadRequest& request, std::vector<ReadSymbol>& out, std::string* error) {
    static std::once_flag once;
    static ReadBarcodesEntry entry = nullptr;
    static std::string why;
    std::call_once(once, [] {
        const std::string path = ModulePath();
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) entry = reinterpret_cast<ReadBarcodesEntry>(dlsym(handle, kReadBarcodesEntry));
        if (entry == nullptr) {
            const char* message = dlerror();
            why = "the bar code reader could not be loaded (" + (message ? std::string(message) : path) + ")";
        }
    });
    if (entry == nullptr) {
        if (error) *error = why;
        return false;
    }
    struct Sink {
        std::vector<ReadSymbol>& out;
        bool failed = false;
    } sink{out};
    // Nothing may unwind through the module's frames.
    const ReadSymbolSink emit = [](void* context, int format, const char* bytes, std::size_t size, int gs1) {
        Sink& s = *static_cast<Sink*>(context);
        try {
            s.out.push_back({static_cast<ReaderFormat>(format), std::string(bytes, size), gs1 != 0});
        } catch (...) {
            s.failed = true;
        }
    };
    if (entry(&request, emit, &sink) != 0 || sink.failed) {
        if (error) *error = "the bar code reader failed";
        return false;
    }
    return true;
}

}  // namespace vg
