// The tuner window's accessible face and keyboard, described once for every host: its
// controls as roles, names, states and places; what a key does; and when the reading is
// spoken. The window owns one (TForm1::Access()); a host
//   - answers its platform's questions from WindowName, Child and ChildAt,
//   - runs a control's default action with DoDefaultAction,
//   - passes its key presses in as a11y::Key through KeyPressed,
//   - implements AccessObserver to hear of changes and announcements, and calls AnnounceDue
//     when the time it was given comes (NextAnnouncementDue tells it too).
// A press from here goes through the same click handlers as the mouse's.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/tuner_reading.h"
#include "ui/a11y/access_observer.h"
#include "ui/a11y/announcer.h"
#include "ui/a11y/key.h"
#include "ui/skin/form.h"

namespace a11y {

enum class Role { Window, CheckButton, PushButton, Text };

struct Element {
    Role role = Role::Text;
    std::string name;
    std::string description;
    std::string_view defaultAction; // empty for none
    bool focusable = false;
    bool focused = false;
    bool checked = false;
    skin::Rect place; // client area pixels of the skin
};

class TunerAccess {
public:
    // Children: the six strings in button order, the help button, the reading.
    static constexpr int StringE6 = 0;
    static constexpr int StringE1 = 5;
    static constexpr int HelpButton = 6;
    static constexpr int ReadingText = 7;
    static constexpr int ChildCount = 8;
    static constexpr int NoChild = -1;

    // Finds the form's string buttons, their lit twins, the help button and the panel;
    // throws std::logic_error when one is missing.
    explicit TunerAccess(skin::Form& form);
    TunerAccess(const TunerAccess&) = delete;
    TunerAccess& operator=(const TunerAccess&) = delete;

    // --- For the host -----------------------------------------------------------------------
    void SetObserver(AccessObserver* observer) { observer_ = observer; }
    Element Window() const;
    Element Child(int child) const;    // nameless outside 0 <= child < ChildCount
    int ChildAt(skin::Point at) const; // NoChild where none is
    int Focus() const { return focus_; }
    // Presses a button child as a click would; false for a child without an action.
    bool DoDefaultAction(int child);
    void KeyPressed(Key key);
    std::optional<Clock::time_point> NextAnnouncementDue() const;
    void AnnounceDue();

    // --- For the window ---------------------------------------------------------------------
    void ReadingShown(const TunerReading& reading);
    // A string was picked or let go, by whatever means.
    void SelectionChanged();
    // Time for the announcement rule; the steady clock unless a test says otherwise.
    void SetClock(std::function<Clock::time_point()> clock) { clock_ = std::move(clock); }

private:
    static constexpr int StringCount = 6;
    static constexpr int FocusableCount = 7;

    struct StringButton {
        skin::Image* unlit;
        skin::Image* lit;
    };

    skin::Image& Shown(int child) const;
    int SelectedString() const;
    void MoveFocus(int child);
    void UpdateRing();
    void Say(const std::optional<std::string>& words);

    skin::Form& form_;
    std::array<StringButton, StringCount> strings_{};
    skin::Image* help_;
    skin::Image* panel_;
    AccessObserver* observer_ = nullptr;
    std::function<Clock::time_point()> clock_ = [] { return Clock::now(); };
    Announcer announcer_;
    TunerReading reading_;
    std::array<bool, StringCount> checked_{};
    int focus_ = NoChild;
    // The ring shows only once a key was used: a mouse user's window stays as drawn.
    bool keyUsed_ = false;
};

} // namespace a11y
