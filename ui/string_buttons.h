// The window's string buttons, E6 to E1: each with the lit twin that stands in its place while
// its string is picked.
#pragma once

#include <array>

#include "analysis/note_table.h"
#include "ui/form1_description.h"
#include "ui/skin/image.h"

struct StringButton {
    skin::Image* unlit;
    skin::Image* lit;
};

// One for each string the analysis tunes to.
inline constexpr int StringButtonCount = StringCount;
static_assert(form1::kStringButtons == StringButtonCount);
using StringButtons = std::array<StringButton, StringButtonCount>;
