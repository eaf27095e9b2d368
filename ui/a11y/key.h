// The keys the tuner's window answers, as every host hands them over: hosts map their own key
// events onto these and pass nothing else.
#pragma once

namespace a11y {

enum class Key {
    Tab,         // focus to the next control, wrapping
    BackTab,     // Shift+Tab: focus to the previous control, wrapping
    Space,       // press the focused control
    Enter,       // press the focused control
    Escape,      // let go of the selected string
    F1,          // open the help
    Digit1,      // pick string E1 (the digit in the string's name), or let go of it when picked
    Digit2,      // B2
    Digit3,      // G3
    Digit4,      // D4
    Digit5,      // A5
    Digit6,      // E6
    ReadReading, // say the current reading now (R on both hosts)
};

} // namespace a11y
