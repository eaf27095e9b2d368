// The reading as a screen reader speaks it: the words, and when they are spoken.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/a11y/announcer.h"
#include "ui/a11y/reading_words.h"

namespace {

using a11y::Announcer;
using a11y::Clock;
using std::chrono::milliseconds;

struct WordsCase {
    TunerReading reading;
    const char* words;
};

TEST(ReadingWords, NoteHowFarOffAndWhichWay) {
    const WordsCase cases[] = {
        {{12, -6, 0}, "No note"},
        {{12, -6, 1}, "No note"}, // nothing to tune toward without a note
        {{9, 0, 0}, "A, in tune"},
        {{9, 2, 0}, "A, 2 sharp"},
        {{9, -3, 0}, "A, 3 flat"},
        {{0, 5, 0}, "C, 5 sharp"},
        {{11, -5, 0}, "B, 5 flat"},
        {{1, -1, 0}, "C sharp, 1 flat"},
        {{9, 2, -1}, "A, 2 sharp, tune down"},
        {{4, -2, 1}, "E, 2 flat, tune up"},
        {{4, 0, 1}, "E, in tune, tune up"}, // an E in tune, an octave below the string's
        {{10, 3, 1}, "A sharp, 3 sharp, tune up"},
        {{3, -7, 1}, "D sharp, 7 flat, tune up"},
    };
    for (const WordsCase& c : cases) {
        EXPECT_EQ(a11y::ReadingWords(c.reading), c.words)
            << c.reading.frame << " " << c.reading.step << " " << c.reading.direction;
    }
}

// One reading arriving at a time, and what is spoken then; a reading of nullopt stands for the
// host's timer firing instead.
struct Moment {
    int atMs;
    std::optional<TunerReading> reading;
    const char* spoken; // nullptr: nothing
};

class AnnouncerRule : public testing::Test {
protected:
    static Clock::time_point At(int ms) { return Clock::time_point{} + milliseconds(ms); }

    void Run(const std::vector<Moment>& moments) {
        for (const Moment& m : moments) {
            SCOPED_TRACE("at " + std::to_string(m.atMs) + " ms");
            const std::optional<std::string> spoken =
                m.reading ? announcer.Reading(*m.reading, At(m.atMs)) : announcer.Due(At(m.atMs));
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
constexpr TunerReading ASharpDown{9, 2, -1};

TEST_F(AnnouncerRule, SpeaksChangesOnlyAndNothingAtStart) {
    Run({
        {0, None, nullptr},
        {370, AInTune, "A, in tune"},
        {2000, AInTune, nullptr},
        {4000, AInTune, nullptr},
        {6000, ASharp, "A, 2 sharp"},
        {8000, ASharpDown, "A, 2 sharp, tune down"}, // the direction alone changed
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
}

TEST_F(AnnouncerRule, AChangeWithinTheGapWaitsAndTheLatestReadingWins) {
    Run({
        {0, AInTune, "A, in tune"},
        {370, ASharp, nullptr},
        {740, AFlat, nullptr},
        {1110, ASharpDown, nullptr},
        {1499, std::nullopt, nullptr}, // a timer that fires early says nothing
    });
    EXPECT_EQ(announcer.NextDue(), At(1500));
    Run({
        {1500, std::nullopt, "A, 2 sharp, tune down"}, {1600, std::nullopt, nullptr}, // said once
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
    // A reading may itself arrive once the gap is up: it is spoken then, the latest one.
    Run({
        {2000, AInTune, nullptr},
        {3100, ASharp, "A, 2 sharp"},
    });
}

TEST_F(AnnouncerRule, AChangeUndoneBeforeItsTurnIsNotSpoken) {
    Run({
        {0, AInTune, "A, in tune"},
        {370, ASharp, nullptr},
        {740, AInTune, nullptr},
        {1500, std::nullopt, nullptr},
        {3000, AInTune, nullptr},
    });
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
}

TEST_F(AnnouncerRule, TheEndOfANoteIsSpokenOnce) {
    Run({
        {0, AInTune, "A, in tune"},
        {1500, None, "No note"},
        {1870, None, nullptr},
        {5000, None, nullptr},
        {5370, TunerReading{12, -6, 1}, nullptr}, // still no note, whatever else it says
        {5740, AFlat, "A, 1 flat"},
        {6110, None, nullptr}, // within the gap: held back
        {7240, std::nullopt, "No note"},
        {9000, None, nullptr},
    });
}

TEST_F(AnnouncerRule, OnDemandSpeaksNowAndCountsAsSpoken) {
    EXPECT_EQ(announcer.OnDemand(At(0)), "No note");
    Run({{370, AInTune, nullptr}}); // within the gap of the reading asked for
    EXPECT_EQ(announcer.OnDemand(At(740)), "A, in tune");
    // What was held back has now been said.
    EXPECT_EQ(announcer.NextDue(), std::nullopt);
    Run({
        {1500, std::nullopt, nullptr},
        {2000, ASharp, nullptr},
        {2240, std::nullopt, "A, 2 sharp"},
    });
}

} // namespace
