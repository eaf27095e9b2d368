#include "platform/posix/wavein/pulse/pulse_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <type_traits>

namespace {

// Plain data, filled once: nothing to destroy at exit while a thread may still use it.
PulseLibrary library;

} // namespace

bool LoadPulseLibraryFrom(const char* file, PulseLibrary& into, std::string& reason) {
    // Resolved now, not at each first call: a function the library lacks fails here, once.
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
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
