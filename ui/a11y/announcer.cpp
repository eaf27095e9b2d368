#include "ui/a11y/announcer.h"

#include <algorithm>

namespace a11y {

namespace {

using std::chrono::milliseconds;

// Measured with espeak-ng through speech-dispatcher at Orca's default rate: "notification"
// with the pause after it and the voice's start take 1.2 s, a character 65 ms, a comma's
// pause 250 ms more; these go with the rate. The pause speech-dispatcher keeps between two
// utterances (0.34 s) does not.
constexpr milliseconds Role{1200};
constexpr milliseconds PerCharacter{65};
constexpr milliseconds PerComma{250};
constexpr milliseconds Pause{340};

} // namespace

Clock::duration Announcer::SpeakingTime(std::string_view words, double pace) {
    const auto commas = std::count(words.begin(), words.end(), ',');
    const milliseconds spoken =
        Role + PerCharacter * static_cast<int>(words.size()) + PerComma * static_cast<int>(commas);
    return Pause + std::chrono::duration_cast<Clock::duration>(spoken * pace);
}

std::optional<std::string> Announcer::Heard(const Spoken& spoken, Clock::time_point now) {
    if (latest_ == Listening && Waiting()) {
        return Consider(now); // the return is told before what is heard after it
    }
    held_ = spoken == latest_;
    latest_ = spoken;
    return Consider(now);
}

std::optional<std::string> Announcer::Lost(Clock::time_point now) {
    latest_ = NotListening;
    held_ = true;
    return Consider(now);
}

std::optional<std::string> Announcer::Found(Clock::time_point now) {
    latest_ = Listening;
    held_ = true;
    return Consider(now);
}

std::optional<std::string> Announcer::Due(Clock::time_point now) {
    return Consider(now);
}

std::optional<Clock::time_point> Announcer::NextDue() const {
    if (!Waiting()) {
        return std::nullopt;
    }
    return quietAt_;
}

void Announcer::Said(std::string_view words, Clock::time_point now) {
    quietAt_ = now + SpeakingTime(words, pace_());
}

std::string Announcer::OnDemand(Clock::time_point now) {
    return Speak(latest_, now);
}

bool Announcer::Waiting() const {
    // Only what the string still says now, and not its silence: the player hears the string
    // stop, and "No note" after every pluck would hold up the next reading.
    return speaking_ && held_ && latest_ != spoken_ && latest_.kind != Spoken::Kind::NoNote;
}

std::optional<std::string> Announcer::Consider(Clock::time_point now) {
    if (!Waiting() || now < quietAt_) {
        return std::nullopt;
    }
    return Speak(latest_, now);
}

std::string Announcer::Speak(const Spoken& spoken, Clock::time_point now) {
    spoken_ = spoken;
    std::string words = Words(spoken);
    Said(words, now);
    return words;
}

} // namespace a11y
