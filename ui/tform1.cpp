#include "ui/tform1.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/form1_description.h"
#include "ui/skin/embedded_skin.h"

namespace {

// Each picture comes from the program's data at the art scale in use.
skin::Image MakeImage(skin::Form& owner, std::string_view name) {
    return skin::Image(owner, form1::Component(name), &skin::EmbeddedPicture);
}

using MouseMethod = void (TForm1::*)(skin::Image&, skin::MouseButton, int, int);
using NotifyMethod = void (TForm1::*)(skin::Image&);

struct MouseMethodEntry {
    std::string_view name;
    MouseMethod method;
};

struct NotifyMethodEntry {
    std::string_view name;
    NotifyMethod method;
};

template <typename Entry, std::size_t N>
auto Lookup(const std::array<Entry, N>& table, std::string_view name) {
    for (const Entry& entry : table) {
        if (entry.name == name) {
            return entry.method;
        }
    }
    throw std::logic_error("the form has no handler named " + std::string(name));
}

} // namespace

TForm1::TForm1(int artScale)
    : skin::Form(form1::kForm, skin::EmbeddedBytes(form1::kIcon), artScale),
      Fond(MakeImage(*this, "Fond")), Shape1(MakeImage(*this, "Shape1")),
      Off(MakeImage(*this, "Off")), On(MakeImage(*this, "On")), Image2(MakeImage(*this, "Image2")),
      Image3(MakeImage(*this, "Image3")), E6(MakeImage(*this, "E6")), LE6(MakeImage(*this, "LE6")),
      A5(MakeImage(*this, "A5")), LA5(MakeImage(*this, "LA5")), D4(MakeImage(*this, "D4")),
      LD4(MakeImage(*this, "LD4")), G3(MakeImage(*this, "G3")), LG3(MakeImage(*this, "LG3")),
      B2(MakeImage(*this, "B2")), LB2(MakeImage(*this, "LB2")), E1(MakeImage(*this, "E1")),
      LE1(MakeImage(*this, "LE1")), moins(MakeImage(*this, "moins")),
      plus(MakeImage(*this, "plus")),
      Liste(form1::Component("Liste"), form1::kListeFrames, &skin::EmbeddedPicture) {
    // Each string button pairs with its lit twin, "L" + its name, in the form's order.
    const auto find = [this](auto matches) {
        for (skin::Image* image : Images()) {
            if (matches(image->Name())) {
                return image;
            }
        }
        throw std::logic_error("the form lacks a string button or its lit twin");
    };
    for (int string = 0; string < StringCount; ++string) {
        const std::string_view name = form1::StringButtonNames()[string];
        strings_[string] = {find([name](std::string_view it) { return it == name; }),
                            find([name](std::string_view it) {
                                return it.starts_with('L') && it.substr(1) == name;
                            })};
    }
    // Every picture is there from the start, so a missing one is told now, not at a painting.
    // The note frames, the largest bitmap, wait for the first one drawn: no note shows before
    // a block has been heard, long after the window is up.
    for (skin::Image* image : Images()) {
        image->Load();
    }
    BindHandlers();
}

void TForm1::BindHandlers() {
    static constexpr std::array<MouseMethodEntry, 2> mouseHandlers{{
        {"FondMouseDown", &TForm1::FondMouseDown},
        {"FondMouseUp", &TForm1::FondMouseUp},
    }};
    static constexpr std::array<NotifyMethodEntry, 3> notifyHandlers{{
        {"IE6NClick", &TForm1::IE6NClick},
        {"IE1OClick", &TForm1::IE1OClick},
        {"Image2Click", &TForm1::Image2Click},
    }};
    const auto bindMouse = [this](skin::MouseBinding& binding, std::string_view name) {
        if (name.empty()) {
            return;
        }
        const MouseMethod method = Lookup(mouseHandlers, name);
        binding = {name, [this, method](skin::Image& sender, skin::MouseButton button, int x,
                                        int y) { (this->*method)(sender, button, x, y); }};
    };
    for (skin::Image* image : Images()) {
        const skin::ComponentDescription& description = image->Description();
        bindMouse(image->OnMouseDown, description.onMouseDown);
        bindMouse(image->OnMouseUp, description.onMouseUp);
        if (!description.onClick.empty()) {
            const NotifyMethod method = Lookup(notifyHandlers, description.onClick);
            image->OnClick = {description.onClick,
                              [this, method](skin::Image& sender) { (this->*method)(sender); }};
        }
    }
}
