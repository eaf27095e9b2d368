// From peak frequency to what the window shows: note frame, deviation step, direction.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "analysis/identify_note.h"
#include "analysis/note_table.h"

namespace {

constexpr int NoString = -1;

struct Case {
    int hertz;
    int frame;
    int step;
};

// The table's ends, its odd B (248) and A at 440 are the cases below; its order holds for all.
TEST(NoteTables, Ascending) {
    for (int i = 1; i < NoteCount; ++i) {
        EXPECT_LT(NoteTable[i - 1].frequency, NoteTable[i].frequency) << "index " << i;
    }
}

TEST(IdentifyNote, OutsideTheTableNoNote) {
    for (int hertz : {0, -5, 64, 989, 5509}) {
        const TunerReading r = IdentifyNote(hertz, 1);
        EXPECT_EQ(r.frame, 12) << hertz << " Hz";
        EXPECT_EQ(r.step, -6) << hertz << " Hz";
        EXPECT_EQ(r.direction, 0) << hertz << " Hz";
    }
}

TEST(IdentifyNote, NearestNoteAndTruncatedDeviation) {
    const std::vector<Case> cases{
        {65, 0, 0},                // exactly the lowest note
        {988, 11, 0},              // exactly the highest
        {440, 9, 0},               // exactly A
        {247, 11, 0},              // B (248), -0.71 truncates to 0
        {250, 11, 1},              // B, +1.43
        {254, 11, 4},              // B, +4.29: the midpoint rule never gives +5
        {255, 0, -5},              // the midpoint of 248 and 262 goes up to C, -5.0 exactly
        {75, 3, -7},               // midpoint of 73 and 78 goes to D#: half 2, -7.5
        {113, 10, -6},             // midpoint of 110 and 117 goes to A#: -6.67, a note with step -6
        {111, 9, 1},               // A, +1.67
        {82, 4, 0},    {83, 4, 2}, // E, +2.5: the 82.41 Hz string's peak
    };
    for (const Case& c : cases) {
        const TunerReading r = IdentifyNote(c.hertz, NoString);
        EXPECT_EQ(r.frame, c.frame) << c.hertz << " Hz";
        EXPECT_EQ(r.step, c.step) << c.hertz << " Hz";
        EXPECT_EQ(r.direction, 0) << c.hertz << " Hz";
    }
}

TEST(IdentifyNote, DirectionComparesNoteIndicesWithTheStringsTarget) {
    EXPECT_EQ(IdentifyNote(110, 0).direction, 1); // A below the low E's 165 Hz target
    EXPECT_EQ(IdentifyNote(110, 1).direction, 0); // the A string itself
    EXPECT_EQ(IdentifyNote(110, 4).direction, 1); // A below B
    EXPECT_EQ(IdentifyNote(165, 0).direction, 0);
    EXPECT_EQ(IdentifyNote(82, 0).direction, 1); // E an octave low: still tune up
    EXPECT_EQ(IdentifyNote(82, 0).frame, 4);
    EXPECT_EQ(IdentifyNote(330, 0).direction, -1); // E an octave high: tune down
    EXPECT_EQ(IdentifyNote(330, 5).direction, 0);
    EXPECT_EQ(IdentifyNote(196, 2).direction, -1); // G above D
    EXPECT_EQ(IdentifyNote(145, 2).direction, 0);  // rounds to D itself, 2 Hz flat
    EXPECT_EQ(IdentifyNote(196, 3).direction, 0);  // the G string itself
    EXPECT_EQ(IdentifyNote(247, 4).direction, 0);  // the B string itself
    EXPECT_EQ(IdentifyNote(50, 1).direction, 0);   // no note, no direction
    EXPECT_EQ(IdentifyNote(2000, 1).direction, 0);
}

TEST(IdentifyNote, NoStringSelectedNeverPointsAnArrow) {
    for (int hertz = 0; hertz <= 1100; ++hertz) {
        ASSERT_EQ(IdentifyNote(hertz, NoString).direction, 0) << hertz << " Hz";
    }
}

TEST(IdentifyNote, AStringOutsideTheSixIsNoStringAndReadsNoTarget) {
    // A note below every target and one above them all: whatever lay past StringTargets, one of
    // the two would point an arrow.
    for (const int string : {6, 7, 64, INT_MAX, -2, INT_MIN}) {
        for (const int hertz : {82, 988}) {
            const TunerReading r = IdentifyNote(hertz, string);
            EXPECT_EQ(r.direction, 0) << hertz << " Hz, string " << string;
            EXPECT_EQ(r.frame, hertz == 82 ? 4 : 11) << hertz << " Hz, string " << string;
        }
    }
}

TEST(IdentifyNote, StepsStayWithinTheirStatedRange) {
    // Over every frequency the tuner can report, a found note gives steps -7..+4.
    for (int bin = 0; bin < 2048; ++bin) {
        const TunerReading r = IdentifyNote(bin * 11025 / 4096, NoString);
        if (r.frame != 12) {
            ASSERT_GE(r.step, -7) << "bin " << bin;
            ASSERT_LE(r.step, 4) << "bin " << bin;
        }
    }
}

} // namespace
