// Libraries opened when first needed: the first of several names that loads,
// and its functions bound by name.
#pragma once

#include <dlfcn.h>

#include <initializer_list>

namespace vg {

// The first of the names that loads (RTLD_LOCAL), or nullptr.
inline void* OpenFirstLibrary(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return handle;
    return nullptr;
}

// Binds f to the library's function of that name; false (f null) when the
// library or the function is missing.
template <typename F>
bool BindFunction(void* handle, const char* name, F& f) {
    f = handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
    return f != nullptr;
}

}  // namespace vg
