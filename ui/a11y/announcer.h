// When the reading is spoken, so that speech keeps pace with the string:
//   - only a reading that holds for the last two blocks (a flip to an overtone and back is not
//     spoken), and only when it reads otherwise than what was last said; never the string's
//     silence ("No note"), which the player hears for himself;
//   - never while the screen reader can still be saying our last words: screen readers queue
//     what they are given (Orca cuts nothing short unless a key is pressed), so a reading that
//     comes sooner waits, and a newer one replaces it. Nothing of ours ever waits in their queue.
// How long words take to say is estimated from them and from the listener's speech rate. Time
// comes in from the caller, so the rule is tested without waiting.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/a11y/reading_words.h"

namespace a11y {

using Clock = std::chrono::steady_clock;

class Announcer {
public:
    // How long the listener's speech takes to say words, against the screen reader's default
    // rate: 2 is twice as long. Asked afresh for each estimate, so a change is followed.
    using Pace = std::function<double()>;

    // How long a screen reader takes to say `words` as an announcement, with the role it names
    // first ("notification") and the pause between utterances, at `pace`: an estimate on the
    // long side, since words said too early queue behind the last ones.
    static Clock::duration SpeakingTime(std::string_view words, double pace = 1.0);
    void SetPace(Pace pace) { pace_ = std::move(pace); }

    // A block was read as `spoken` at `now`: the words to speak now, if any.
    std::optional<std::string> Heard(const Spoken& spoken, Clock::time_point now);
    // Blocks stopped coming: said at once, as no block's reading would be.
    std::optional<std::string> Lost(Clock::time_point now);
    // Blocks came again after Lost: said once, before any reading, whether or not a note sounds.
    std::optional<std::string> Found(Clock::time_point now);
    // The waiting reading, if its time has come by `now`.
    std::optional<std::string> Due(Clock::time_point now);
    // When the waiting reading is to be spoken; none when nothing waits.
    std::optional<Clock::time_point> NextDue() const;

    // Words of ours said at `now` outside the rule (a key's answer): readings wait for them.
    void Said(std::string_view words, Clock::time_point now);
    // The latest block's reading, asked for at `now`: said at once, and counted as said.
    std::string OnDemand(Clock::time_point now);

    // Readings spoken as they change, or only on demand.
    void SetSpeaking(bool on) { speaking_ = on; }
    bool Speaking() const { return speaking_; }

private:
    bool Waiting() const;
    std::optional<std::string> Consider(Clock::time_point now);
    std::string Speak(const Spoken& spoken, Clock::time_point now);

    // Nothing is said at start: the window starts showing no note.
    Spoken latest_;
    // The latest block read as the one before it.
    bool held_ = false;
    Spoken spoken_;
    // Until when the screen reader may still be saying our last words.
    Clock::time_point quietAt_{};
    bool speaking_ = true;
    Pace pace_ = [] { return 1.0; };
};

} // namespace a11y
