#include "ui/a11y/tuner_access.h"

#include <string>
#include <utility>

#include "ui/a11y/reading_words.h"
#include "ui/skin/focus_ring.h"

namespace a11y {

namespace {

// The digit in a string's name: 6 for E6, the first button, down to 1 for E1.
Key DigitOf(int string) {
    return static_cast<Key>(static_cast<int>(Key::Digit1) + TunerAccess::StringE1 - string);
}

} // namespace

TunerAccess::TunerAccess(skin::Form& form, const StringButtons& strings, skin::Image& help,
                         skin::Image& panel, const TunerView& selection)
    : form_(form), strings_(strings), help_(help), panel_(panel), selection_(selection),
      checked_(selection.SelectedString()) {}

void TunerAccess::SetObserver(AccessObserver* observer) {
    observer_ = observer;
    lastBlock_ = clock_();
    wakeAt_.reset();
    Schedule(lastBlock_);
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
        element.name = Words(shown_);
        element.place = panel_.BoundsRect();
        return element;
    }
    const bool help = child == HelpButton;
    element.role = help ? Role::PushButton : Role::CheckButton;
    element.name =
        help ? std::string("Help") : "String " + std::string(strings_[child].unlit->Name());
    // The button's hover hint is the artwork's French; a screen reader's voice is English.
    element.description = help ? "Opens the guide" : "";
    element.defaultAction = "Press";
    element.shortcut = NameOf(help ? Key::Help : DigitOf(child));
    element.focusable = true;
    element.focused = child == focus_;
    element.checked = child == SelectedString();
    element.place = Shown(child).BoundsRect();
    return element;
}

int TunerAccess::ChildAt(skin::Point at) const {
    for (int child = 0; child < FocusableCount; ++child) {
        if (Shown(child).BoundsRect().Contains(at)) {
            return child;
        }
    }
    return panel_.BoundsRect().Contains(at) ? ReadingText : NoChild;
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
    case Key::Tab: MoveFocus((focus_ + 1) % FocusableCount); break;
    case Key::BackTab: MoveFocus((focus_ + FocusableCount - 1) % FocusableCount); break;
    case Key::Press: DoDefaultAction(focus_); break;
    case Key::Escape: LetGo(); break;
    case Key::Help: PressKeepingFocus(HelpButton); break;
    case Key::Digit1:
    case Key::Digit2:
    case Key::Digit3:
    case Key::Digit4:
    case Key::Digit5:
    case Key::Digit6:
        DoDefaultAction(StringE1 - (static_cast<int>(key) - static_cast<int>(Key::Digit1)));
        break;
    case Key::ReadReading: Say(announcer_.OnDemand(clock_())); break;
    case Key::ToggleSpeech:
        announcer_.SetSpeaking(!announcer_.Speaking());
        SayNow(announcer_.Speaking() ? "Readings on" : "Readings off");
        break;
    }
    UpdateRing();
    Schedule(clock_());
}

void TunerAccess::Woken() {
    wakeAt_.reset();
    const Clock::time_point now = clock_();
    if (listening_ && now - lastBlock_ >= ListeningTimeout) {
        listening_ = false;
        shown_ = NotListening;
        if (observer_ != nullptr) {
            observer_->ChildChanged(ReadingText);
        }
        Say(announcer_.Lost(now));
    } else {
        Say(announcer_.Due(now));
    }
    Schedule(now);
}

void TunerAccess::ReadingShown(const TunerReading& reading, int frequency) {
    const Clock::time_point now = clock_();
    lastBlock_ = now;
    if (!std::exchange(listening_, true)) {
        Say(announcer_.Found(now));
    }
    const Spoken spoken = Describe(reading, frequency, SelectedString());
    if (spoken != shown_) {
        shown_ = spoken;
        if (observer_ != nullptr) {
            observer_->ChildChanged(ReadingText);
        }
    }
    Say(announcer_.Heard(spoken, now));
    Schedule(now);
}

void TunerAccess::HelpNotOpened() {
    SayNow("Help could not be opened");
}

void TunerAccess::Pressed(const skin::Image& control) {
    if (pressKeepsFocus_) {
        return;
    }
    for (int child = 0; child < FocusableCount; ++child) {
        const bool isString = child < StringButtonCount;
        if (&control == (isString ? strings_[child].unlit : &help_) ||
            (isString && &control == strings_[child].lit)) {
            MoveFocus(child);
            return;
        }
    }
}

void TunerAccess::SelectionChanged() {
    const int selected = SelectedString();
    const int before = checked_;
    checked_ = selected;
    if (observer_ != nullptr && before != selected) {
        for (const int changed : {before, selected}) {
            if (changed != NoChild) {
                observer_->ChildChanged(changed);
            }
        }
    }
    // The focused string's picture moved to its twin, a little apart on some strings.
    UpdateRing();
}

skin::Image& TunerAccess::Shown(int child) const {
    if (child == HelpButton) {
        return help_;
    }
    return child == SelectedString() ? *strings_[child].lit : *strings_[child].unlit;
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

void TunerAccess::LetGo() {
    const int selected = SelectedString();
    if (selected == NoChild) {
        SayNow("No string picked");
        return;
    }
    const std::string name = Child(selected).name;
    PressKeepingFocus(selected);
    SayNow(name + " let go");
}

void TunerAccess::PressKeepingFocus(int child) {
    // A key that reaches a control from anywhere leaves the keyboard where it is.
    pressKeepsFocus_ = true;
    DoDefaultAction(child);
    pressKeepsFocus_ = false;
}

void TunerAccess::Say(const std::optional<std::string>& words) {
    if (words && observer_ != nullptr) {
        observer_->Announce(*words);
    }
}

void TunerAccess::SayNow(std::string_view words) {
    announcer_.Said(words, clock_());
    if (observer_ != nullptr) {
        observer_->Announce(words);
    }
}

void TunerAccess::Schedule(Clock::time_point now) {
    std::optional<Clock::time_point> next = announcer_.NextDue();
    if (listening_) {
        const Clock::time_point deadline = lastBlock_ + ListeningTimeout;
        if (!next || deadline < *next) {
            next = deadline;
        }
    }
    if (!next || observer_ == nullptr) {
        return;
    }
    // One wake asked for at a time: a later one waits for it; a past one was lost (a host
    // that was not listening) and is asked for again.
    if (wakeAt_ && *wakeAt_ <= *next && *wakeAt_ > now) {
        return;
    }
    wakeAt_ = next;
    observer_->WakeAt(*next);
}

} // namespace a11y
