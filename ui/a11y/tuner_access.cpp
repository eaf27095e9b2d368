#include "ui/a11y/tuner_access.h"

#include <stdexcept>
#include <string>

#include "ui/a11y/reading_words.h"
#include "ui/skin/focus_ring.h"

namespace a11y {

namespace {

struct StringNames {
    std::string_view unlit;
    std::string_view lit;
};

constexpr std::array<StringNames, 6> StringImages{{
    {"E6", "LE6"},
    {"A5", "LA5"},
    {"D4", "LD4"},
    {"G3", "LG3"},
    {"B2", "LB2"},
    {"E1", "LE1"},
}};

skin::Image* Require(const skin::Form& form, std::string_view name) {
    skin::Image* image = form.FindImage(name);
    if (image == nullptr) {
        throw std::logic_error("the window has no component named " + std::string(name));
    }
    return image;
}

} // namespace

TunerAccess::TunerAccess(skin::Form& form)
    : form_(form), help_(Require(form, "Image2")), panel_(Require(form, "Shape1")) {
    for (int s = 0; s < StringCount; ++s) {
        strings_[s] = {Require(form, StringImages[s].unlit), Require(form, StringImages[s].lit)};
        checked_[s] = strings_[s].lit->Visible();
    }
}

Element TunerAccess::Window() const {
    Element window;
    window.role = Role::Window;
    window.name = std::string(form_.Caption());
    window.place = form_.ClientRect();
    return window;
}

Element TunerAccess::Child(int child) const {
    Element element;
    if (child < 0 || child >= ChildCount) {
        return element; // nameless: a host asked past the children
    }
    if (child == ReadingText) {
        element.role = Role::Text;
        element.name = ReadingWords(reading_);
        element.place = panel_->BoundsRect();
        return element;
    }
    element.role = child == HelpButton ? Role::PushButton : Role::CheckButton;
    element.name = child == HelpButton ? std::string("Help")
                                       : "String " + std::string(StringImages[child].unlit);
    element.description = std::string(Shown(child).Hint());
    element.defaultAction = "Press";
    element.focusable = true;
    element.focused = child == focus_;
    element.checked = child != HelpButton && strings_[child].lit->Visible();
    element.place = Shown(child).BoundsRect();
    return element;
}

int TunerAccess::ChildAt(skin::Point at) const {
    for (int child = 0; child < FocusableCount; ++child) {
        if (Shown(child).BoundsRect().Contains(at)) {
            return child;
        }
    }
    return panel_->BoundsRect().Contains(at) ? ReadingText : NoChild;
}

bool TunerAccess::DoDefaultAction(int child) {
    if (child < 0 || child >= FocusableCount) {
        return false;
    }
    form_.Click(Shown(child));
    return true;
}

void TunerAccess::KeyPressed(Key key) {
    keyUsed_ = true;
    switch (key) {
    case Key::Tab:
        MoveFocus(focus_ == NoChild ? 0 : (focus_ + 1) % FocusableCount);
        break;
    case Key::BackTab:
        MoveFocus(focus_ == NoChild ? FocusableCount - 1
                                    : (focus_ + FocusableCount - 1) % FocusableCount);
        break;
    case Key::Space:
    case Key::Enter:
        DoDefaultAction(focus_);
        break;
    case Key::Escape:
        DoDefaultAction(SelectedString());
        break;
    case Key::F1:
        DoDefaultAction(HelpButton);
        break;
    case Key::Digit1:
    case Key::Digit2:
    case Key::Digit3:
    case Key::Digit4:
    case Key::Digit5:
    case Key::Digit6: {
        // The digit in the string's name: 1 is E1, the last button.
        const int string = StringE1 - (static_cast<int>(key) - static_cast<int>(Key::Digit1));
        MoveFocus(string);
        DoDefaultAction(string);
        break;
    }
    case Key::ReadReading:
        Say(announcer_.OnDemand(clock_()));
        break;
    }
    UpdateRing();
}

std::optional<Clock::time_point> TunerAccess::NextAnnouncementDue() const {
    return announcer_.NextDue();
}

void TunerAccess::AnnounceDue() {
    Say(announcer_.Due(clock_()));
    // A timer that fired early: the host is told the time again.
    const std::optional<Clock::time_point> due = announcer_.NextDue();
    if (due && observer_ != nullptr) {
        observer_->AnnouncementDueAt(*due);
    }
}

void TunerAccess::ReadingShown(const TunerReading& reading) {
    const bool reworded = !SameWords(reading, reading_);
    reading_ = reading;
    if (reworded && observer_ != nullptr) {
        observer_->ChildChanged(ReadingText);
    }
    const std::optional<Clock::time_point> dueBefore = announcer_.NextDue();
    Say(announcer_.Reading(reading, clock_()));
    const std::optional<Clock::time_point> due = announcer_.NextDue();
    if (due && due != dueBefore && observer_ != nullptr) {
        observer_->AnnouncementDueAt(*due);
    }
}

void TunerAccess::SelectionChanged() {
    for (int s = 0; s < StringCount; ++s) {
        const bool checked = strings_[s].lit->Visible();
        if (checked != checked_[s]) {
            checked_[s] = checked;
            if (observer_ != nullptr) {
                observer_->ChildChanged(s);
            }
        }
    }
    // The focused string's picture moved to its twin, a little apart on some strings.
    UpdateRing();
}

skin::Image& TunerAccess::Shown(int child) const {
    if (child == HelpButton) {
        return *help_;
    }
    const StringButton& button = strings_[child];
    return button.lit->Visible() ? *button.lit : *button.unlit;
}

int TunerAccess::SelectedString() const {
    for (int s = 0; s < StringCount; ++s) {
        if (strings_[s].lit->Visible()) {
            return s;
        }
    }
    return NoChild;
}

void TunerAccess::MoveFocus(int child) {
    if (child == focus_) {
        return;
    }
    focus_ = child;
    if (observer_ != nullptr) {
        observer_->FocusMoved(child);
    }
}

void TunerAccess::UpdateRing() {
    const bool drawn = keyUsed_ && focus_ != NoChild;
    form_.SetFocusRing(drawn ? skin::FocusRingAround(Shown(focus_).BoundsRect()) : skin::Rect{});
}

void TunerAccess::Say(const std::optional<std::string>& words) {
    if (words && observer_ != nullptr) {
        observer_->Announce(*words);
    }
}

} // namespace a11y
