#include "device/cairolib.h"

#include <dlfcn.h>

namespace vg {

const CairoLibrary* Cairo() {
    static const CairoLibrary* library = [] {
        static CairoLibrary lib;
        void* handle = dlopen("libcairo.so.2", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return static_cast<const CairoLibrary*>(nullptr);
        bool all = true;
#define VGL_CAIRO_SYMBOL(name) \
    all = all && (lib.name = reinterpret_cast<decltype(lib.name)>(dlsym(handle, #name))) != nullptr;
        VGL_CAIRO_FUNCTIONS(VGL_CAIRO_SYMBOL)
#undef VGL_CAIRO_SYMBOL
        return all ? static_cast<const CairoLibrary*>(&lib) : nullptr;
    }();
    return library;
}

}  // namespace vg
