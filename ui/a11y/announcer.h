// When the reading is spoken: on a change of note, step or direction only, at most once every
// 1.5 s. A change that comes sooner is held back and spoken when the 1.5 s are up, with the
// reading of that moment (or not at all if by then it reads as what was last spoken). The end
// of a note is spoken once, as "No note". Time comes in from the caller, so the rule is tested
// without waiting.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "analysis/tuner_reading.h"

namespace a11y {

using Clock = std::chrono::steady_clock;

class Announcer {
public:
    static constexpr std::chrono::milliseconds MinimumGap{1500};

    // A reading was shown at `now`: the words to speak now, if any.
    std::optional<std::string> Reading(const TunerReading& reading, Clock::time_point now);
    // The held-back change, if its time has come by `now`.
    std::optional<std::string> Due(Clock::time_point now);
    // When a held-back change is to be spoken; none when nothing is held back.
    std::optional<Clock::time_point> NextDue() const;
    // The current reading, asked for at `now`: spoken at once, and counted as spoken then.
    std::string OnDemand(Clock::time_point now);

private:
    std::string Speak(Clock::time_point now);

    TunerReading current_;
    // Nothing is said at start: the window starts showing no note.
    TunerReading spoken_;
    std::optional<Clock::time_point> lastSpoken_;
    bool heldBack_ = false;
};

} // namespace a11y
