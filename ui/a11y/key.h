// The keys the tuner's window answers, written once for every host: what each does and the
// name screen readers give it as a shortcut. A host turns its own key event into a KeyStroke
// in one function and asks KeyFor; letters and digits are their upper-case ASCII codes, as
// both Qt's key codes and Windows' virtual keys have them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace a11y {

enum class Key {
    Tab,         // focus to the next control, wrapping
    BackTab,     // focus to the previous control, wrapping
    Press,       // press the focused control
    Escape,      // let go of the selected string
    Help,        // open the help
    Digit1,      // pick string E1 (the digit in the string's name), or let go of it when picked
    Digit2,      // B2
    Digit3,      // G3
    Digit4,      // D4
    Digit5,      // A5
    Digit6,      // E6
    ReadReading, // say the current reading now
    ToggleSpeech // stop or resume speaking the readings as they change
};

// The keys that have no character of their own.
enum KeyCode : char32_t {
    CodeTab = U'\t',
    CodeEnter = U'\r',
    CodeEscape = 0x1B,
    CodeSpace = U' ',
    CodeF1 = 0xF001,
};

struct KeyStroke {
    char32_t code;
    bool shift = false;
};

struct KeyBinding {
    KeyStroke stroke;
    Key key;
    std::string_view name; // as a shortcut is written
};

// clang-format off
inline constexpr std::array<KeyBinding, 14> KeyTable{{
    {{CodeTab},          Key::Tab,          "Tab"},
    {{CodeTab, true},    Key::BackTab,      "Shift+Tab"},
    {{CodeSpace},        Key::Press,        "Space"},
    {{CodeEnter},        Key::Press,        "Enter"},
    {{CodeEscape},       Key::Escape,       "Escape"},
    {{CodeF1},           Key::Help,         "F1"},
    {{U'1'},             Key::Digit1,       "1"},
    {{U'2'},             Key::Digit2,       "2"},
    {{U'3'},             Key::Digit3,       "3"},
    {{U'4'},             Key::Digit4,       "4"},
    {{U'5'},             Key::Digit5,       "5"},
    {{U'6'},             Key::Digit6,       "6"},
    {{U'R'},             Key::ReadReading,  "R"},
    {{U'M'},             Key::ToggleSpeech, "M"},
}};
// clang-format on

// What a stroke does; none for a key the window does not answer. Shift matters for Tab only.
constexpr std::optional<Key> KeyFor(KeyStroke stroke) {
    for (const KeyBinding& binding : KeyTable) {
        const bool shiftMatters = binding.stroke.code == CodeTab;
        if (binding.stroke.code == stroke.code &&
            (!shiftMatters || binding.stroke.shift == stroke.shift)) {
            return binding.key;
        }
    }
    return std::nullopt;
}

// The shortcut's name of a key; empty for a key with none.
constexpr std::string_view NameOf(Key key) {
    for (const KeyBinding& binding : KeyTable) {
        if (binding.key == key) {
            return binding.name;
        }
    }
    return {};
}

} // namespace a11y
