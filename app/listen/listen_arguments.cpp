#include "app/listen/listen_arguments.h"

#include <array>
#include <charconv>
#include <string_view>

#include "ui/form1_description.h"

namespace {

// A string is named as the window's button is, or by its number alone: "1" is E1, as the
// window's digit keys have it.
std::optional<int> StringNamed(std::string_view name) {
    constexpr auto StringNames = form1::StringButtonNames();
    for (std::size_t k = 0; k < StringNames.size(); ++k) {
        const std::string_view known = StringNames[k];
        if (name == known ||
            (name.size() == 2 && name[0] == known[0] + ('a' - 'A') && name[1] == known[1])) {
            return static_cast<int>(k);
        }
        if (name.size() == 1 && name[0] == known[1]) {
            return static_cast<int>(k);
        }
    }
    return std::nullopt;
}

bool ParseSeconds(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [last, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && last == end && !text.empty() && value > 0;
}

} // namespace

std::optional<ListenArguments> ParseListenArguments(const std::vector<std::string>& args,
                                                    std::string& error) {
    ListenArguments parsed;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            return parsed;
        }
        if (arg == "--every-block") {
            parsed.everyBlock = true;
            continue;
        }
        if (arg == "--json") {
            parsed.json = true;
            continue;
        }
        if (arg == "--plain") {
            parsed.plain = true;
            continue;
        }
        std::string option = arg;
        std::string value;
        if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            option = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        } else if (arg == "--string" || arg == "--seconds") {
            if (k + 1 == args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            value = args[++k];
        }
        if (option == "--string") {
            const std::optional<int> string = StringNamed(value);
            if (!string) {
                error = "--string must be E6, A5, D4, G3, B2, E1 or 6 ... 1, got '" + value + "'";
                return std::nullopt;
            }
            parsed.selectedString = *string;
        } else if (option == "--seconds") {
            if (!ParseSeconds(value, parsed.seconds)) {
                error = "--seconds must be a whole number above 0, got '" + value + "'";
                return std::nullopt;
            }
        } else {
            error = "unknown argument '" + arg + "'";
            return std::nullopt;
        }
    }
    return parsed;
}
