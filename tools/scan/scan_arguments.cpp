#include "tools/scan/scan_arguments.h"

#include <charconv>

#include "analysis/note_table.h"

namespace {

bool ParseString(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [last, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && last == end && !text.empty();
}

} // namespace

std::optional<ScanArguments> ParseScanArguments(const std::vector<std::string>& args,
                                                std::string& error) {
    ScanArguments parsed;
    bool haveFile = false;
    bool haveString = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            return parsed;
        }
        std::string value;
        if (arg == "--string") {
            if (k + 1 == args.size()) {
                error = "--string needs a value 0..5";
                return std::nullopt;
            }
            value = args[++k];
        } else if (arg.starts_with("--string=")) {
            value = arg.substr(9);
        } else if (arg.starts_with("-")) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        } else if (haveFile) {
            error = "only one FILE can be scanned, got '" + parsed.file + "' and '" + arg + "'";
            return std::nullopt;
        } else {
            parsed.file = arg;
            haveFile = true;
            continue;
        }
        if (haveString) {
            error = "--string given twice";
            return std::nullopt;
        }
        if (!ParseString(value, parsed.selectedString) || parsed.selectedString < 0 ||
            parsed.selectedString >= StringCount) {
            error = "--string must be a whole number 0..5, got '" + value + "'";
            return std::nullopt;
        }
        haveString = true;
    }
    if (!haveFile) {
        error = "no FILE given";
        return std::nullopt;
    }
    return parsed;
}
