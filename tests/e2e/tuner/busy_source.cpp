// Keeps the sound server's default source busy for the end-to-end test: opens paused recording
// streams on it until the server refuses one more, says how many it holds, and holds them until
// it is killed. Whoever opens that source next is refused as well.
//
//   busy_source    prints "holding N" once the source is full; exit 1 if that never happens
#include <pulse/pulseaudio.h>

#include <cstdio>
#include <vector>

namespace {

// More streams than any server allows one source; reaching it means nothing refuses us.
constexpr std::size_t Enough = 4096;

bool Iterate(pa_mainloop* loop) {
    return pa_mainloop_iterate(loop, 1, nullptr) >= 0;
}

} // namespace

int main() {
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "busy source");
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        std::fprintf(stderr, "busy_source: no server: %s\n",
                     pa_strerror(pa_context_errno(context)));
        return 1;
    }
    while (pa_context_get_state(context) != PA_CONTEXT_READY) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) || !Iterate(loop)) {
            std::fprintf(stderr, "busy_source: %s\n", pa_strerror(pa_context_errno(context)));
            return 1;
        }
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, 11025, 1};
    std::vector<pa_stream*> held;
    while (held.size() < Enough) {
        pa_stream* stream = pa_stream_new(context, "held", &format, nullptr);
        if (stream == nullptr ||
            pa_stream_connect_record(stream, nullptr, nullptr, PA_STREAM_START_CORKED) < 0) {
            break;
        }
        while (pa_stream_get_state(stream) == PA_STREAM_CREATING && Iterate(loop)) {
        }
        if (pa_stream_get_state(stream) != PA_STREAM_READY) {
            std::fprintf(stderr, "busy_source: refused after %zu: %s\n", held.size(),
                         pa_strerror(pa_context_errno(context)));
            pa_stream_unref(stream);
            break;
        }
        held.push_back(stream);
    }
    if (held.empty() || held.size() == Enough ||
        pa_context_get_state(context) != PA_CONTEXT_READY) {
        return 1;
    }
    std::printf("holding %zu\n", held.size());
    std::fflush(stdout);
    return pa_mainloop_run(loop, nullptr);
}
