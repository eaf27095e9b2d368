// The sound server's client library, loaded when the program first needs it rather than by the
// dynamic linker before main: libpulse and the dozen libraries under it would otherwise be
// loaded and relocated ahead of the window. The library's header gives the functions' types
// only; every call goes through the table below.
#pragma once

#include <string>

#include <pulse/pulseaudio.h>

// Every function of the library the back end calls, as X(name).
#define VIBRALON_PULSE_FUNCTIONS(X)                                                                \
    X(pa_context_connect)                                                                          \
    X(pa_context_disconnect)                                                                       \
    X(pa_context_errno)                                                                            \
    X(pa_context_get_server_info)                                                                  \
    X(pa_context_get_source_info_list)                                                             \
    X(pa_context_get_state)                                                                        \
    X(pa_context_new_with_proplist)                                                                \
    X(pa_context_set_state_callback)                                                               \
    X(pa_context_set_subscribe_callback)                                                           \
    X(pa_context_subscribe)                                                                        \
    X(pa_context_unref)                                                                            \
    X(pa_frame_size)                                                                               \
    X(pa_gettimeofday)                                                                             \
    X(pa_operation_cancel)                                                                         \
    X(pa_operation_get_state)                                                                      \
    X(pa_operation_unref)                                                                          \
    X(pa_proplist_free)                                                                            \
    X(pa_proplist_new)                                                                             \
    X(pa_proplist_sets)                                                                            \
    X(pa_stream_connect_record)                                                                    \
    X(pa_stream_disconnect)                                                                        \
    X(pa_stream_drop)                                                                              \
    X(pa_stream_get_state)                                                                         \
    X(pa_stream_new_with_proplist)                                                                 \
    X(pa_stream_peek)                                                                              \
    X(pa_stream_set_read_callback)                                                                 \
    X(pa_stream_set_state_callback)                                                                \
    X(pa_stream_unref)                                                                             \
    X(pa_threaded_mainloop_free)                                                                   \
    X(pa_threaded_mainloop_get_api)                                                                \
    X(pa_threaded_mainloop_lock)                                                                   \
    X(pa_threaded_mainloop_new)                                                                    \
    X(pa_threaded_mainloop_signal)                                                                 \
    X(pa_threaded_mainloop_start)                                                                  \
    X(pa_threaded_mainloop_stop)                                                                   \
    X(pa_threaded_mainloop_unlock)                                                                 \
    X(pa_threaded_mainloop_wait)                                                                   \
    X(pa_timeval_add)

struct PulseLibrary {
    // decltype reads the declaration only: naming a function here makes no reference to it.
#define VIBRALON_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    VIBRALON_PULSE_FUNCTIONS(VIBRALON_PULSE_POINTER)
#undef VIBRALON_PULSE_POINTER
};

// The library the program uses, "libpulse.so.0".
inline constexpr const char* PulseLibraryFile = "libpulse.so.0";

// Loads the library once, whichever thread asks first (the others wait for that load); later
// calls answer at once. False when it is missing or lacks a function, with the loader's reason
// on stderr, once; the program then has no sound server, never a crash.
bool LoadPulseLibrary();
// The functions, once LoadPulseLibrary() has returned true.
const PulseLibrary& Pulse();

// Loads `file` and fills `library` from it, for LoadPulseLibrary and its tests. False when the
// file cannot be loaded or lacks one of the functions; `reason` then holds the loader's message.
// The library, once loaded, stays loaded: its threads may outlive any owner here.
bool LoadPulseLibraryFrom(const char* file, PulseLibrary& library, std::string& reason);
