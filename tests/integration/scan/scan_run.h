// Runs the built vibralon-scan and collects what it printed, for the tests of the tool.
#pragma once

#include <string>
#include <vector>

#include "tests/support/pulse/pulse_server.h"

using testsupport::TempDir;

struct ScanRow {
    int block;
    int hertz;
    int frame;
    int step;
    int direction;
    std::string words;
};

struct ScanRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::vector<std::string> outLines;
    std::vector<std::string> errLines;

    // The rows after the header; a malformed row fails the calling test.
    std::vector<ScanRow> Rows() const;
};

// Runs the tool with `args` (each passed as one argument, shell-quoted here).
ScanRun RunScan(const std::vector<std::string>& args);

// Wraps `text` in single quotes for /bin/sh.
std::string ShellQuote(const std::string& text);
