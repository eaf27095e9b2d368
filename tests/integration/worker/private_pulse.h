// A PulseAudio server of the test's own, with a steady sine as its only (so default) source.
// The process's PULSE_SERVER points at it while it lives.
#pragma once

#include <string>
#include <sys/types.h>

class PrivatePulse {
public:
    explicit PrivatePulse(int sineHertz);
    ~PrivatePulse();
    PrivatePulse(const PrivatePulse&) = delete;
    PrivatePulse& operator=(const PrivatePulse&) = delete;

    // Whether the server answers; why not, otherwise.
    bool Ready() const { return ready_; }
    const std::string& Problem() const { return problem_; }

private:
    std::string dir_;
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string problem_;
};
