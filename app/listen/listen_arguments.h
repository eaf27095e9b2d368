// The command line of vibralon-listen.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ListenArguments {
    int selectedString = -1; // -1 for none, else 0..5 (E6 A5 D4 G3 B2 E1)
    bool everyBlock = false;
    bool json = false;
    bool plain = false; // new lines even on a terminal
    int seconds = 0;    // 0: until stopped
    bool help = false;
};

inline constexpr const char* ListenUsage =
    "usage: vibralon-listen [--string S] [--every-block] [--json] [--plain] [--seconds N]\n"
    "\n"
    "Listens to the default sound input and prints a line each time the reading changes, in the\n"
    "words a screen reader is given by the tuner's window.\n"
    "\n"
    "  --string S     tune string S: E6 A5 D4 G3 B2 E1, or the digit in its name (6 ... 1)\n"
    "  --every-block  a line for every block of sound (about 2.7 a second), changed or not\n"
    "  --json         one JSON object a line: time, note, octave, step, direction, hertz, words\n"
    "  --plain        new lines on a terminal too (a terminal otherwise gets each reading in\n"
    "                 place of the last)\n"
    "  --seconds N    end after N seconds (Ctrl+C ends it at any time)\n"
    "  -h, --help     this text\n"
    "\n"
    "Exit status: 0 when stopped or done, 1 when the input cannot be opened, 2 for a bad command\n"
    "line.";

// The parsed arguments (without the program name), or nothing with `error` set to one line.
std::optional<ListenArguments> ParseListenArguments(const std::vector<std::string>& args,
                                                    std::string& error);
