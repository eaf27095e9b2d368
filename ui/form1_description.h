// The main window's form description: the window and its components in creation order.
#pragma once

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/skin/component_description.h"
#include "ui/skin/geometry.h"

namespace form1 {

using skin::ComponentDescription;
using skin::ComponentKind;
using skin::Cursor;

// 423 x 328 is the client area that a classic Windows frame of 431 x 355 leaves.
inline constexpr skin::FormDescription kForm{"Vibralon", 431, 355, 423, 328};

inline constexpr std::string_view kIcon = "MAINICON";
inline constexpr int kListeFrames = 13;

inline constexpr ComponentKind kImage = ComponentKind::Image;
inline constexpr Cursor kArrow = Cursor::Default;
inline constexpr Cursor kHand = Cursor::HandPoint;

// clang-format off
inline constexpr std::array<ComponentDescription, 21> kComponents{{
    // name     kind   left  top  width height shown cursor       hint              press            release        click
    {"Fond",    kImage,   3,   0,  418,  326, true,  kArrow,       "",               "FondMouseDown", "FondMouseUp", ""},
    {"Shape1",  kImage, 105,  62,  168,  179, true,  kArrow,       "",               "",              "",            ""},
    {"Off",     kImage,  71,  23,   16,   15, true,  kArrow,       "",               "",              "",            ""},
    {"On",      kImage,  71,  23,   16,   16, false, kArrow,       "",               "",              "",            ""},
    {"Image2",  kImage, 330,  24,   16,   16, true,  Cursor::Help, "Accés à l'aide", "",              "",            "Image2Click"},
    {"Image3",  kImage, 282, 248,   86,   43, true,  kArrow,       "",               "",              "",            ""},
    {"E6",      kImage,  24,  50,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LE6",     kImage,  24,  48,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"A5",      kImage,  24, 120,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LA5",     kImage,  24, 120,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"D4",      kImage,  24, 192,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LD4",     kImage,  24, 192,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"G3",      kImage, 287,  48,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LG3",     kImage, 284,  48,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"B2",      kImage, 284, 120,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LB2",     kImage, 284, 120,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"E1",      kImage, 284, 192,   59,   58, true,  kHand,        "",               "",              "",            "IE6NClick"},
    {"LE1",     kImage, 284, 192,   59,   58, false, kHand,        "",               "",              "",            "IE1OClick"},
    {"moins",   kImage, 231, 168,   32,   26, false, kArrow,       "",               "",              "",            ""},
    {"plus",    kImage, 112, 173,   31,   20, false, kArrow,       "",               "",              "",            ""},
    {"Liste",   ComponentKind::ImageList, 0, 0, 129, 75, false, kArrow, "",          "",              "",            ""},
}};
// clang-format on

// The row named `name`; throws std::out_of_range for a name the form does not have.
constexpr const ComponentDescription& Component(std::string_view name) {
    const auto it = std::find_if(kComponents.begin(), kComponents.end(),
                                 [&](const ComponentDescription& c) { return c.name == name; });
    if (it == kComponents.end()) {
        throw std::out_of_range("no component named " + std::string(name));
    }
    return *it;
}

// The string buttons' names in button order, the low E first: the components whose click picks
// a string. Each has a lit twin, "L" + its name, that stands in its place while it is picked.
inline constexpr int kStringButtons = static_cast<int>(std::ranges::count_if(
    kComponents, [](const ComponentDescription& c) { return c.onClick == "IE6NClick"; }));
constexpr std::array<std::string_view, kStringButtons> StringButtonNames() {
    std::array<std::string_view, kStringButtons> names{};
    std::size_t found = 0;
    for (const ComponentDescription& c : kComponents) {
        if (c.onClick == "IE6NClick") {
            names[found++] = c.name;
        }
    }
    return names;
}

// What is drawn on Shape1, in its own pixels: Liste's frames go at kNoteAt.
inline constexpr skin::Point kNoteAt{16, 23};

// The meter's bars, left to right, step -5 to +5: 4 pixels wide on an 8-pixel pitch, standing on
// y = 169 and 5 pixels taller per step toward the middle one. The artwork's slot for a bar is one
// pixel wider and taller, so that its right column and bottom row stay green when it lights.
inline constexpr int kMeterBars = 11;
// The bar of step 0, in tune.
inline constexpr int kMiddleBar = kMeterBars / 2;
constexpr skin::Rect MeterBar(int bar) {
    const int fromMiddle = bar < kMiddleBar ? kMiddleBar - bar : bar - kMiddleBar;
    return {40 + 8 * bar, 138 + 5 * fromMiddle, 44 + 8 * bar, 169};
}

} // namespace form1
