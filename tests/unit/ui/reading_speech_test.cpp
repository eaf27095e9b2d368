// The reading as a screen reader speaks it: the words, and when they are spoken.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/a11y/announcer.h"
#include "ui/a11y/reading_words.h"
#include "ui/a11y/speech_rate.h"

namespace {

using a11y::Announcer;
using a11y::Clock;
using std::chrono::milliseconds;

constexpr int NoString = -1;
constexpr int A5 = 1;
constexpr int E6 = 0;

struct WordsCase {
    TunerReading reading;
    int string;
    const char* words;
    int hertz = 0; // the block's strongest frequency, when known
};

TEST(ReadingWords, NoteHowFarOffAndWhichWay) {
    const WordsCase cases[] = {
        {{12, -6, 0}, NoString, "No note"},
        {{12, -6, 1}, A5, "No note"}, // nothing to tune toward without a note
        {{9, 0, 0}, NoString, "A, in tune"},
        {{9, 2, 0}, NoString, "A, 2 sharp"},
        {{9, -3, 0}, NoString, "A, 3 flat"},
        {{0, 5, 0}, NoString, "C, 5 sharp"},
        {{11, -5, 0}, NoString, "B, 5 flat"},
        {{1, -1, 0}, NoString, "C sharp, 1 flat"},
        {{9, 2, 0}, A5, "A, 2 sharp"}, // the string's own note: no arrow, no words for one
        {{4, -2, 1}, A5, "E, 2 flat, tune up"},
        {{10, 3, -1}, A5, "A sharp, 3 sharp, tune down"},
        {{3, -7, 1}, E6, "D sharp, 7 flat, tune up"},
        // The string's note in another octave: the arrow points at the octave, the words say it.
        {{9, -4, -1}, A5, "A, 4 flat, octave above"},
        {{9, 0, -1}, A5, "A, in tune, octave above"},
        {{4, 0, 1}, E6, "E, in tune, octave below"},
        {{4, 0, -1}, E6, "E, in tune, octave above"},
        // With a string picked, a partial within a semitone speaks of the string alone (the
        // rendered guitar in scan_guitar_test hears every string's partials so).
        {{4, 0, -1}, A5, "in tune", 331},  // A5's third partial, as its bin reads
        {{5, -5, -1}, A5, "5 sharp", 339}, // the same sharp: half way to F is 5 steps
        {{9, -4, 0}, A5, "4 flat", 215},   // A5's second partial, 40 cents flat
        {{4, 0, 0}, E6, "in tune", 164},   // E6's second partial, the button's own target
        {{0, 0, -1}, A5, "C, in tune, tune down", 131}, // further than a semitone: the note
    };
    for (const WordsCase& c : cases) {
        EXPECT_EQ(a11y::Words(a11y::Describe(c.reading, c.hertz, c.string)), c.words)
            << c.reading.frame << " " << c.reading.step << " " << c.reading.direction << " string "
            << c.string << " at " << c.hertz << " Hz";
    }
    // Readings without a note read alike, whatever else they carry.
    EXPECT_EQ(a11y::Describe({12, -6, 0}, 0, NoString), a11y::Describe({12, 3, 1}, 0, A5));
}

TEST(ReadingWords, TheTimeToSayThemGrowsWithTheirLengthAndPauses) {
    const auto time = [](const char* words) {
        return std::chrono::duration_cast<milliseconds>(Announcer::SpeakingTime(words)).count();
    };
    // espeak-ng at the default rate says "notification No note." in 1.6 s and
    // "notification A, 4 flat, tune down." in 3.0 s, and speech-dispatcher pauses 0.34 s after
    // each: never less than that.
    EXPECT_GE(time("No note"), 1600 + 340);
    EXPECT_GE(time("A, 4 flat, tune down"), 3000 + 340);
    EXPECT_LT(time("A, 4 flat, tune down"), 3800);
    EXPECT_GT(time("A, 4 flat, octave above"), time("A, 4 flat, tune up"));
    // At Orca's rate 25 (127 words a minute) espeak-ng takes 4.4 s over the same words; at 90
    // (399 words a minute), 1.0 s.
    const auto atRate = [](double rate) {
        return std::chrono::duration_cast<milliseconds>(
                   Announcer::SpeakingTime("A, 4 flat, tune down", a11y::PaceAtOrcaRate(rate)))
            .count();
    };
    EXPECT_GE(atRate(25), 4370 + 340);
    EXPECT_LT(atRate(25), 5300);
    EXPECT_NEAR(atRate(50), time("A, 4 flat, tune down"), 20);
    EXPECT_GE(atRate(90), 1000 + 340);
    EXPECT_LT(atRate(90), 1800);
}

// One event at a time and what is spoken then: a block's reading, the host's timer firing (no
// reading), or the blocks stopping.
struct Moment {
    int atMs;
    std::optional<TunerReading> reading;
    const char* spoken; // nullptr: nothing
    bool lost = false;
    bool found = false; // blocks come again after they were lost
};

class AnnouncerRule : public testing::Test {
protected:
    static Clock::time_point At(int ms) { return Clock::time_point{} + milliseconds(ms); }
    static int Ms(Clock::duration d) {
        return static_cast<int>(std::chrono::duration_cast<milliseconds>(d).count());
    }

    void Run(const std::vector<Moment>& moments) {
        for (const Moment& m : moments) {
            SCOPED_TRACE("at " + std::to_string(m.atMs) + " ms");
            std::optional<std::string> spoken;
            if (m.lost) {
                spoken = announcer.Lost(At(m.atMs));
            } else if (m.found) {
                spoken = announcer.Found(At(m.atMs));
            } else if (m.reading) {
                spoken = announcer.Heard(a11y::Describe(*m.reading, 0, NoString), At(m.atMs));
            } else {
                spoken = announcer.Due(At(m.atMs));
            }
            if (m.spoken == nullptr) {
                EXPECT_EQ(spoken, std::nullopt);
            } else {
                EXPECT_EQ(spoken, std::optional<std::string>(m.spoken));
            }
        }
    }

    Announcer announcer;
};

constexpr TunerReading None{12, -6, 0};
constexpr TunerReading AInTune{9, 0, 0};
constexpr TunerReading ASharp{9, 2, 0};
constexpr TunerReading AFlat{9, -1, 0};
constexpr TunerReading EOvertone{4, 1, 0};

TEST_F(AnnouncerRule, OnlyAReadingThatHoldsForTwoBlocksIsSpoken) {
    Run({
        {0, None, nullptr}, // nothing at start: the window starts with no note
        {370, AInTune, nullptr},
        {740, AInTune, "A, in tune"},
        {1110, AInTune, nullptr},
    });
    const int quiet = 740 + Ms(Announcer::SpeakingTime("A, in tune"));
    Run({
        // A flip to an overtone and back, after the words were said: never spoken.
        {quiet + 100, EOvertone, nullptr},
        {quiet + 470, AInTune, nullptr},
        {quiet + 840, EOvertone, nullptr},
        {quiet + 1210, ASharp, nullptr},
        {quiet + 1580, ASharp, "A, 2 sharp"},
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
}

TEST_F(AnnouncerRule, NothingIsSentWhileTheLastWordsCanStillBeSpokenAndTheLatestWins) {
    Run({{0, AInTune, nullptr}, {370, AInTune, "A, in tune"}});
    const int quiet = 370 + Ms(Announcer::SpeakingTime("A, in tune"));
    Run({
        {740, ASharp, nullptr},
        {1110, ASharp, nullptr}, // steady, but the screen reader may still be speaking
        {1480, AFlat, nullptr},
        {1850, AFlat, nullptr},             // replaces the sharp one: only one of ours ever waits
        {quiet - 1, std::nullopt, nullptr}, // a timer that fires early says nothing
    });
    EXPECT_EQ(announcer.NextDue(), At(quiet));
    Run({{quiet, std::nullopt, "A, 1 flat"}, {quiet + 10, std::nullopt, nullptr}});
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
}

TEST_F(AnnouncerRule, TheListenersRatePacesTheReadingsAndAChangeIsFollowed) {
    double pace = 1.5;
    announcer.SetPace([&pace] { return pace; });
    Run({{0, AInTune, nullptr}, {370, AInTune, "A, in tune"}});
    Run({{740, ASharp, nullptr}, {1110, ASharp, nullptr}});
    const Clock::time_point due = At(370) + Announcer::SpeakingTime("A, in tune", 1.5);
    EXPECT_EQ(announcer.NextDue(), due);
    pace = 0.5;
    EXPECT_EQ(announcer.Due(due), "A, 2 sharp");
    Run({{4000, AFlat, nullptr}, {4370, AFlat, nullptr}});
    EXPECT_EQ(announcer.NextDue(), due + Announcer::SpeakingTime("A, 2 sharp", 0.5));
}

TEST_F(AnnouncerRule, AChangeUndoneBeforeItsTurnIsNotSpoken) {
    Run({{0, AInTune, nullptr}, {370, AInTune, "A, in tune"}});
    Run({
        {740, ASharp, nullptr},
        {1110, ASharp, nullptr},
        {1480, AInTune, nullptr},
        {1850, AInTune, nullptr},
        {5000, std::nullopt, nullptr},
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
}

TEST_F(AnnouncerRule, TheStringsSilenceIsNotSpokenButLosingTheInputIsOnce) {
    Run({
        {0, AInTune, nullptr},
        {370, AInTune, "A, in tune"},
        {3000, None, nullptr},
        {3370, None, nullptr}, // the player hears the string stop
        {9000, TunerReading{12, -6, 1}, nullptr},
        {9370, AInTune, nullptr},
        {9740, AInTune, nullptr}, // plucked again, still in tune: nothing new to say
        {9800, std::nullopt, "Not listening", true}, // blocks stopped: said at once, once
        {9900, std::nullopt, nullptr, true},
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
    const int quiet = 20000 + Ms(Announcer::SpeakingTime("Listening"));
    Run({
        {20000, std::nullopt, "Listening", false, true}, // back, silent: said once
        {20000, None, nullptr},
        {20370, None, nullptr},
        {quiet, AInTune, nullptr},
        {quiet + 370, AInTune, "A, in tune"},
    });
    // Back while the last words may still be spoken: the return waits, and is said first.
    Run({{40000, std::nullopt, "Not listening", true}});
    const int quietAgain = 40000 + Ms(Announcer::SpeakingTime("Not listening"));
    Run({
        {40100, std::nullopt, nullptr, false, true},
        {40100, AInTune, nullptr},
        {40470, AInTune, nullptr},
        {quietAgain, AInTune, "Listening"},
        {quietAgain + 370, AInTune, nullptr},
    });
}

TEST_F(AnnouncerRule, AWaitingReadingIsSpokenOnlyWhileTheStringStillSaysIt) {
    Run({{0, AInTune, nullptr}, {370, AInTune, "A, in tune"}});
    const int quiet = 370 + Ms(Announcer::SpeakingTime("A, in tune"));
    Run({
        {740, ASharp, nullptr},
        {1110, ASharp, nullptr},
        {1480, None, nullptr}, // the string stopped while the sharp waited
        {quiet, std::nullopt, nullptr},
        {quiet + 100, EOvertone, nullptr},
        {quiet + 200, std::nullopt, nullptr}, // a flip, not what waited
        {quiet + 300, ASharp, nullptr},
        {quiet + 400, ASharp, "A, 2 sharp"},
    });
}

TEST_F(AnnouncerRule, OnDemandAndKeyAnswersAreSaidAtOnceAndReadingsWaitForThem) {
    Run({{0, AInTune, nullptr}});
    EXPECT_EQ(announcer.OnDemand(At(100)), "A, in tune"); // the latest block, steady or not
    const int quiet = 100 + Ms(Announcer::SpeakingTime("A, in tune"));
    Run({{370, AInTune, nullptr}, {740, ASharp, nullptr}, {1110, ASharp, nullptr}});
    EXPECT_EQ(announcer.NextDue(), At(quiet));
    announcer.Said("Readings off", At(1200));
    const int quietAfterKey = 1200 + Ms(Announcer::SpeakingTime("Readings off"));
    EXPECT_EQ(announcer.NextDue(), At(quietAfterKey));
    Run({{quietAfterKey, std::nullopt, "A, 2 sharp"}});
}

TEST_F(AnnouncerRule, ReadingsOffAreSpokenOnlyOnDemand) {
    announcer.SetSpeaking(false);
    Run({{0, AInTune, nullptr}, {370, AInTune, nullptr}, {5000, AInTune, nullptr}});
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
    EXPECT_EQ(announcer.OnDemand(At(5100)), "A, in tune");
    Run({{9000, ASharp, nullptr}, {9370, ASharp, nullptr}});
    // On again: the reading that changed meanwhile is said.
    announcer.SetSpeaking(true);
    Run({{9740, ASharp, "A, 2 sharp"}});
}

} // namespace
