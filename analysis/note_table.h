// The notes the tuner can name and the note each guitar string is tuned to.
#pragma once

#include <array>

struct Note {
    int frequency; // whole hertz
    char name[3];  // letter, then a blank or '#'
};

inline constexpr int NoteCount = 48;
inline constexpr int NotesPerOctave = 12;

// Four equal-tempered octaves from C (65 Hz) to B (988 Hz), ascending; index mod 12 is the name.
// The B of the second octave is 248 Hz, not the 247 Hz of equal temperament: the table is kept
// as the tuner's readings are defined, so 247 Hz reads as B just flat and 255 Hz goes up to C.
inline constexpr std::array<Note, NoteCount> NoteTable{{
    {65, "C "},  {69, "C#"},  {73, "D "},  {78, "D#"},  {82, "E "},  {87, "F "},  {93, "F#"},
    {98, "G "},  {104, "G#"}, {110, "A "}, {117, "A#"}, {123, "B "}, {131, "C "}, {139, "C#"},
    {147, "D "}, {156, "D#"}, {165, "E "}, {175, "F "}, {185, "F#"}, {196, "G "}, {208, "G#"},
    {220, "A "}, {233, "A#"}, {248, "B "}, {262, "C "}, {277, "C#"}, {294, "D "}, {311, "D#"},
    {330, "E "}, {349, "F "}, {370, "F#"}, {392, "G "}, {415, "G#"}, {440, "A "}, {466, "A#"},
    {494, "B "}, {523, "C "}, {554, "C#"}, {587, "D "}, {622, "D#"}, {659, "E "}, {698, "F "},
    {740, "F#"}, {784, "G "}, {831, "G#"}, {880, "A "}, {932, "A#"}, {988, "B "},
}};

inline constexpr int StringCount = 6;

// NoteTable index each string is tuned to, in button order E6 A5 D4 G3 B2 E1. The low E string
// aims at its second harmonic (165 Hz), which is what its spectrum shows strongest.
inline constexpr std::array<int, StringCount> StringTargets{16, 9, 14, 19, 23, 28};
