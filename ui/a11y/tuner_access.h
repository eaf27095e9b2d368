// The tuner window's accessible face and keyboard, described once for every host: its
// controls as roles, names, states and places; what a key does; and what is spoken when. The
// window owns one (TForm1::Access()); a host
//   - answers its platform's questions from Window, Child and ChildAt,
//   - runs a control's default action with DoDefaultAction,
//   - turns its key presses into a11y::Key (KeyFor) and passes them to KeyPressed,
//   - implements AccessObserver to hear of changes and announcements, and calls Woken when
//     the time it was given comes.
// A press from here goes through the same click handlers as the mouse's.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/tuner_reading.h"
#include "platform/wavein/block_pace.h"
#include "ui/a11y/access_observer.h"
#include "ui/a11y/announcer.h"
#include "ui/a11y/key.h"
#include "ui/skin/form.h"
#include "ui/string_buttons.h"
#include "worker/tuner_view.h"

namespace a11y {

enum class Role { Window, CheckButton, PushButton, Text };

struct Element {
    Role role = Role::Text;
    std::string name;
    std::string_view description;
    std::string_view defaultAction; // empty for none
    std::string_view shortcut;      // empty for none
    bool focusable = false;
    bool focused = false;
    bool checked = false;
    skin::Rect place; // client area pixels of the skin
};

class TunerAccess {
public:
    // Children: the six strings in button order, the help button, the reading.
    static constexpr int StringE6 = 0;
    static constexpr int StringE1 = StringButtonCount - 1;
    static constexpr int HelpButton = StringButtonCount;
    static constexpr int ReadingText = HelpButton + 1;
    static constexpr int ChildCount = ReadingText + 1;
    static constexpr int NoChild = -1;
    static constexpr std::chrono::seconds ListeningTimeout = block_pace::NoBlockTimeout;

    // The window's controls and where its one selection state is read; all must outlive this.
    TunerAccess(skin::Form& form, const StringButtons& strings, skin::Image& help,
                skin::Image& panel, const TunerView& selection);
    TunerAccess(const TunerAccess&) = delete;
    TunerAccess& operator=(const TunerAccess&) = delete;

    // --- For the host -----------------------------------------------------------------------
    // From now on the host hears of changes; blocks are awaited from now.
    void SetObserver(AccessObserver* observer);
    Element Window() const;
    Element Child(int child) const;    // nameless outside 0 <= child < ChildCount
    int ChildAt(skin::Point at) const; // NoChild where none is
    int Focus() const { return focus_; }
    // Presses a button child as a click would; false for a child without an action.
    bool DoDefaultAction(int child);
    void KeyPressed(Key key);
    void Woken();

    // --- For the window ---------------------------------------------------------------------
    // `frequency` is the strongest frequency the reading was made from, 0 when unknown.
    void ReadingShown(const TunerReading& reading, int frequency = 0);
    // The help document could not be opened: the player hears so, the window shows nothing.
    void HelpNotOpened();
    // A control was pressed, by whatever means: the keyboard focus goes there.
    void Pressed(const skin::Image& control);
    // A string was picked or let go, by whatever means.
    void SelectionChanged();
    // Time for the speech rules; the steady clock unless a test says otherwise.
    void SetClock(std::function<Clock::time_point()> clock) { clock_ = std::move(clock); }
    // The listener's speech rate, where the host can read it (Announcer::Pace).
    void SetSpeechPace(Announcer::Pace pace) { announcer_.SetPace(std::move(pace)); }

private:
    static constexpr int FocusableCount = 7;

    skin::Image& Shown(int child) const;
    int SelectedString() const { return selection_.SelectedString(); }
    void MoveFocus(int child);
    void UpdateRing();
    void LetGo();
    void PressKeepingFocus(int child);
    void Say(const std::optional<std::string>& words);
    void SayNow(std::string_view words);
    // Asks the host for the next wake, if it changed; `now` is the caller's time.
    void Schedule(Clock::time_point now);

    skin::Form& form_;
    const StringButtons& strings_;
    skin::Image& help_;
    skin::Image& panel_;
    const TunerView& selection_;
    AccessObserver* observer_ = nullptr;
    std::function<Clock::time_point()> clock_ = [] { return Clock::now(); };
    Announcer announcer_;
    Spoken shown_;
    int checked_ = NoChild;
    // The keyboard starts on the first string.
    int focus_ = StringE6;
    // The ring shows only once a key was used: a mouse user's window stays as drawn.
    bool keyUsed_ = false;
    bool pressKeepsFocus_ = false;
    Clock::time_point lastBlock_{};
    bool listening_ = true;
    std::optional<Clock::time_point> wakeAt_;
};

} // namespace a11y
