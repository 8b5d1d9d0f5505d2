#include "device/uemflib.h"

#include <dlfcn.h>

namespace vg {

const UemfLibrary* Uemf() {
    static const UemfLibrary* library = [] {
        static UemfLibrary lib;
        void* handle = dlopen("libuemf.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return static_cast<const UemfLibrary*>(nullptr);
        bool all = true;
#define VGL_UEMF_SYMBOL(name) \
    all = all && (lib.name = reinterpret_cast<decltype(lib.name)>(dlsym(handle, #name))) != nullptr;
        VGL_UEMF_FUNCTIONS(VGL_UEMF_SYMBOL)
#undef VGL_UEMF_SYMBOL
        return all ? static_cast<const UemfLibrary*>(&lib) : nullptr;
    }();
    return library;
}

}  // namespace vg
