// The window's string buttons, E6 to E1: each with the lit twin that stands in its place while
// its string is picked.
#pragma once

#include <array>

#include "ui/skin/image.h"

struct StringButton {
    skin::Image* unlit;
    skin::Image* lit;
};

inline constexpr int StringButtonCount = 6;
using StringButtons = std::array<StringButton, StringButtonCount>;
