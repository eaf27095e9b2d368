#include "ui/a11y/announcer.h"

#include "ui/a11y/reading_words.h"

namespace a11y {

std::optional<std::string> Announcer::Reading(const TunerReading& reading, Clock::time_point now) {
    current_ = reading;
    if (SameWords(reading, spoken_)) {
        // Back to what was last said before its turn came: nothing to say after all.
        heldBack_ = false;
        return std::nullopt;
    }
    if (lastSpoken_ && now - *lastSpoken_ < MinimumGap) {
        heldBack_ = true;
        return std::nullopt;
    }
    return Speak(now);
}

std::optional<std::string> Announcer::Due(Clock::time_point now) {
    const std::optional<Clock::time_point> due = NextDue();
    if (!due || now < *due) {
        return std::nullopt;
    }
    return Speak(now);
}

std::optional<Clock::time_point> Announcer::NextDue() const {
    if (!heldBack_ || !lastSpoken_) {
        return std::nullopt;
    }
    return *lastSpoken_ + MinimumGap;
}

std::string Announcer::OnDemand(Clock::time_point now) {
    return Speak(now);
}

std::string Announcer::Speak(Clock::time_point now) {
    spoken_ = current_;
    lastSpoken_ = now;
    heldBack_ = false;
    return ReadingWords(current_);
}

} // namespace a11y
