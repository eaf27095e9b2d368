// The command line of vibralon-scan: FILE [--string N].
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ScanArguments {
    std::string file;
    int selectedString = -1; // -1 when no --string was given, else 0..5 (E6 A5 D4 G3 B2 E1)
    bool help = false;
};

inline constexpr const char* ScanUsage =
    "usage: vibralon-scan FILE [--string N]  (N: 0..5 = E6 A5 D4 G3 B2 E1)";

// The parsed arguments (without the program name), or nothing with `error` set to one line.
std::optional<ScanArguments> ParseScanArguments(const std::vector<std::string>& args,
                                                std::string& error);
