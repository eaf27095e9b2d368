#include "platform/linux/wavein/pulse/pulse_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <type_traits>

namespace {

// Whether the library and the dozen it brings (libsndfile and its codecs, libsystemd...) may
// look their symbols up in their own scope before the toolkit's many libraries: it loads them
// in two thirds of the time. Not when something interposes the C library's allocator (a
// sanitizer, a preloaded allocator or leak checker): they would then free with one allocator
// what the other allocated.
int OwnScopeFirst() {
#ifdef RTLD_DEEPBIND
    void* c = dlopen("libc.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (c == nullptr) {
        return 0;
    }
    bool ownAllocator = true;
    for (const char* name : {"malloc", "calloc", "realloc", "free"}) {
        ownAllocator = ownAllocator && dlsym(RTLD_DEFAULT, name) == dlsym(c, name);
    }
    dlclose(c);
    return ownAllocator ? RTLD_DEEPBIND : 0;
#else
    return 0;
#endif
}

// Plain data, filled once: nothing to destroy at exit while a thread may still use it.
PulseLibrary library;

} // namespace

bool LoadPulseLibraryFrom(const char* file, PulseLibrary& into, std::string& reason) {
    // Resolved now, not at each first call: a function the library lacks fails here, once.
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL | OwnScopeFirst());
    if (handle == nullptr) {
        const char* error = dlerror();
        reason = error != nullptr ? error : file;
        return false;
    }
    PulseLibrary loaded;
    bool complete = true;
    const auto resolve = [&](auto& function, const char* name) {
        dlerror();
        void* address = dlsym(handle, name);
        if (address == nullptr) {
            const char* error = dlerror();
            reason = error != nullptr ? error : std::string(file) + ": no " + name;
            complete = false;
            return;
        }
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(address);
    };
#define VIBRALON_PULSE_RESOLVE(name)                                                               \
    if (complete) {                                                                                \
        resolve(loaded.name, #name);                                                               \
    }
    VIBRALON_PULSE_FUNCTIONS(VIBRALON_PULSE_RESOLVE)
#undef VIBRALON_PULSE_RESOLVE
    if (!complete) {
        dlclose(handle);
        return false;
    }
    into = loaded;
    return true;
}

bool LoadPulseLibrary() {
    // A function's static: its first caller loads, any other waits for that caller.
    static const bool loaded = [] {
        std::string reason;
        if (LoadPulseLibraryFrom(PulseLibraryFile, library, reason)) {
            return true;
        }
        std::fprintf(stderr, "Vibralon: no sound server library: %s\n", reason.c_str());
        return false;
    }();
    return loaded;
}

const PulseLibrary& Pulse() {
    return library;
}
