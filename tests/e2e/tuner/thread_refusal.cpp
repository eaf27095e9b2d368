// Preloaded into the tuner by the end-to-end test: the system refuses every thread started
// through the C++ library (std::thread: the analysis worker's, and the one that connects to the
// sound server ahead, which the program does without), as it does when a process has run out of
// threads or of memory for their stacks. The toolkit's and the sound client's threads start as
// usual, so the program gets as far as making its worker.
#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstring>

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto next = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    Dl_info where{};
    if (dladdr(reinterpret_cast<void*>(start), &where) != 0 && where.dli_fname != nullptr &&
        std::strstr(where.dli_fname, "libstdc++") != nullptr) {
        return EAGAIN;
    }
    return next(thread, attributes, start, argument);
}
