// What the player does with the main window, through the real mouse routing and the keyboard:
// picking strings, moving the window by its body, and opening the help; and the window as a
// screen reader sees it.
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/desktop_services.h"
#include "tests/unit/ui/host_recorder.h"
#include "ui/skin/focus_ring.h"
#include "ui/tform1.h"

namespace {

using a11y::Key;
using a11y::TunerAccess;
using skin::MouseButton;
using skin::Point;
using skin::Rect;

constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;

constexpr const char* kStrings[] = {"E6", "A5", "D4", "G3", "B2", "E1"};

// Whether string `selected` (-1: none) alone shows its lit twin and every other string its
// unlit button, as a click leaves them.
bool ShowsSelected(const TForm1& form, int selected) {
    for (int s = 0; s < 6; ++s) {
        const std::string name = kStrings[s];
        if (form.FindImage(name)->Visible() == (s == selected) ||
            form.FindImage("L" + name)->Visible() != (s == selected)) {
            return false;
        }
    }
    return true;
}

class Form1Controls : public testing::Test {
protected:
    // The middle of a component, in client coordinates.
    static Point Centre(const skin::Image& image) {
        const skin::Rect r = image.BoundsRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(const skin::Image& image) {
        const Point at = Centre(image);
        form.MouseDown(L, at, false);
        form.MouseUp(L, at);
    }
    void Press(std::initializer_list<Key> keys) {
        for (const Key key : keys) {
            form.Access().KeyPressed(key);
        }
    }
    // Pixels of the ring's colour in the whole client area.
    int RingPixels() {
        skin::RgbPixels client(form.ClientSize().width, form.ClientSize().height);
        form.ComposeArea(form.ClientRect(), client);
        int count = 0;
        for (int y = 0; y < client.Height(); ++y) {
            for (int x = 0; x < client.Width(); ++x) {
                count += client.At(x, y) == skin::FocusRingColour ? 1 : 0;
            }
        }
        return count;
    }

    TForm1 form;
    HostRecorder host{form};
};

// Records what the window tells its host about itself, one line an event.
struct ObserverLog final : a11y::AccessObserver {
    void ChildChanged(int child) override { lines.push_back("changed " + std::to_string(child)); }
    void FocusMoved(int child) override { lines.push_back("focus " + std::to_string(child)); }
    void Announce(std::string_view text) override { lines.push_back("say " + std::string(text)); }
    void WakeAt(a11y::Clock::time_point when) override {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
        lines.push_back("wake " + std::to_string(ms.count()));
    }
    std::vector<std::string> Take() { return std::exchange(lines, {}); }
    std::vector<std::string> lines;
};

// Clicked in turn, each button moves the selection from the one before.
TEST_F(Form1Controls, EachStringButtonSelectsItsString) {
    for (int string = 0; string < 6; ++string) {
        SCOPED_TRACE(kStrings[string]);
        Click(*form.FindImage(kStrings[string]));
        EXPECT_EQ(form.SelectedString(), string);
        EXPECT_TRUE(ShowsSelected(form, string));
    }
}

struct DragCase {
    Point window; // where the window is before the press
    MouseButton button;
    Point press;
    Point release;
    Point to; // where the release leaves it: one host move for each axis that changed
};

TEST_F(Form1Controls, ReleasingOnTheBodyMovesTheWindowOnceByTheDragOffset) {
    // Fond lies 3 pixels right of the client's edge: (100, 50) on Fond is (103, 50).
    const DragCase cases[] = {
        {{200, 100}, L, {103, 50}, {133, 40}, {230, 90}},
        {{230, 90}, L, {150, 300}, {150, 300}, {230, 90}}, // no drag, no move
        {{10, 20}, L, {103, 50}, {103, 45}, {10, 15}},
        // A release left of the window still reaches Fond and moves it, past the screen's edge.
        {{10, 15}, L, {103, 50}, {-100, 50}, {-193, 15}},
        {{300, 300}, R, {103, 50}, {93, 70}, {290, 320}}, // any button drags
        // A right press captures nothing: released over the panel, no one on Fond hears it.
        {{290, 320}, R, {103, 50}, {200, 150}, {290, 320}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.window.x << "," << c.window.y << " to "
                                        << c.release.x << "," << c.release.y);
        form.WindowMoved(c.window);
        host.moves.clear();
        form.MouseDown(c.button, c.press, false);
        EXPECT_TRUE(host.moves.empty());
        form.MouseUp(c.button, c.release);
        const std::size_t axes = (c.to.x != c.window.x ? 1 : 0) + (c.to.y != c.window.y ? 1 : 0);
        ASSERT_EQ(host.moves.size(), axes);
        if (axes > 0) {
            EXPECT_EQ(host.moves.back(), c.to);
        }
        EXPECT_EQ(form.Left(), c.to.x);
        EXPECT_EQ(form.Top(), c.to.y);
    }
}

TEST_F(Form1Controls, TheHelpButtonF1AndEnterOnItOpenTheGuideFromTheCurrentDirectory) {
    std::vector<std::string> opened;
    auto previous = desktop::SetDocumentOpener([&](const std::string& path) {
        opened.push_back(path);
        return false; // a failed launch
    });
    Press({Key::Help});
    EXPECT_EQ(form.Access().Focus(), TunerAccess::StringE6); // F1 leaves the keyboard there
    Press({Key::BackTab, Key::Press, Key::Tab, Key::Press});
    EXPECT_EQ(form.SelectedString(), 0);
    Click(form.Image2);
    Click(form.Image3); // the logo opens nothing
    desktop::SetDocumentOpener(previous);
    EXPECT_EQ(opened, std::vector<std::string>(3, "help/guide.htm"));
    // A failed launch closes nothing: the window stays.
    EXPECT_EQ(host.closes, 0);
}

struct KeyCase {
    std::vector<Key> keys;
    int selected; // the string picked after them
    int focus;    // the child focused after them
};

TEST_F(Form1Controls, KeysPickStringsAndMoveTheFocus) {
    constexpr int None = -1;
    constexpr int Help = TunerAccess::HelpButton;
    const KeyCase cases[] = {
        {{Key::Digit1}, 5, 5}, // the digit in the string's name: E1
        {{Key::Digit6}, 0, 0},
        {{Key::Digit5, Key::Digit2}, 4, 4},
        {{Key::Digit4, Key::Digit4}, None, 2}, // the same digit again lets go
        {{Key::Digit3, Key::Escape}, None, 3},
        {{Key::Digit3, Key::Tab, Key::Tab, Key::Escape}, None, 5}, // let go from elsewhere
        {{Key::Escape}, None, 0},
        {{Key::Press}, 0, 0}, // the first string has the focus from the start
        {{Key::Tab}, None, 1},
        {{Key::Tab, Key::Press}, 1, 1},
        {{Key::Tab, Key::Tab, Key::Press}, 2, 2},
        {{Key::Tab, Key::Tab, Key::Press, Key::Press}, None, 2},
        {{Key::Digit2, Key::Tab, Key::Press}, 5, 5}, // focus follows the digit
        {{Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab}, None, Help},
        {{Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab, Key::Tab}, None, 0},
        {{Key::BackTab}, None, Help},
        {{Key::BackTab, Key::BackTab}, None, 5},
        {{Key::Tab, Key::BackTab}, None, 0},
        {{Key::Digit1, Key::BackTab, Key::Press, Key::Escape}, None, 4},
    };
    for (const KeyCase& c : cases) {
        TForm1 fresh;
        std::string trace;
        for (const Key key : c.keys) {
            trace += std::to_string(static_cast<int>(key)) + " ";
            fresh.Access().KeyPressed(key);
        }
        SCOPED_TRACE("keys " + trace);
        EXPECT_EQ(fresh.SelectedString(), c.selected);
        EXPECT_EQ(fresh.Access().Focus(), c.focus);
        // The buttons show the selection as a click would have left them.
        EXPECT_TRUE(ShowsSelected(fresh, c.selected));
    }
}

TEST_F(Form1Controls, TheFocusRingShowsOnlyOnceAKeyWasUsed) {
    // A mouse user's window: strings picked and let go, the help pressed, no ring anywhere.
    auto previous = desktop::SetDocumentOpener([](const std::string&) { return true; });
    Click(form.B2);
    Click(form.LB2);
    Click(form.E6);
    Click(form.Image2);
    EXPECT_TRUE(form.FocusRing().Empty());
    EXPECT_EQ(RingPixels(), 0);

    host.painted.clear();
    Press({Key::Tab}); // E6, lit: its twin sits 2 pixels higher
    const Rect aroundLE6{21, 45, 86, 109};
    EXPECT_EQ(form.FocusRing(), aroundLE6);
    EXPECT_EQ(host.painted, (std::vector<Rect>{aroundLE6}));
    const int ring = RingPixels();
    EXPECT_GT(ring, 2 * (65 + 64)); // two pixels deep all round, less the rounded corners
    EXPECT_LT(ring, 2 * 2 * (65 + 64));
    // The ring follows the focused button to its twin and on to the next control.
    Press({Key::Press});
    EXPECT_EQ(form.FocusRing(), (Rect{21, 47, 86, 111}));
    Press({Key::BackTab});
    EXPECT_EQ(form.FocusRing(), (Rect{327, 21, 349, 43}));
    // A click takes the keyboard focus, and the ring, along.
    Click(form.G3);
    EXPECT_EQ(form.Access().Focus(), 3);
    EXPECT_EQ(form.FocusRing(), skin::FocusRingAround(form.LG3.BoundsRect()));
    desktop::SetDocumentOpener(previous);
}

// Each control's name, role, action, state and shortcut as a screen reader reads them are
// access_e2e_test's (AT-SPI) and tuner_wine_test's (MSAA); here, what lies behind them.
TEST_F(Form1Controls, ScreenReadersSeeTheControlsByRoleNameAndState) {
    TunerAccess& access = form.Access();
    for (int child = 0; child < 7; ++child) {
        const a11y::Element e = access.Child(child);
        // The shortcut named is the key that does it.
        const a11y::KeyStroke stroke{e.shortcut == "F1" ? char32_t{a11y::CodeF1}
                                                        : static_cast<char32_t>(e.shortcut[0])};
        const Key expected =
            child < 6 ? static_cast<Key>(static_cast<int>(Key::Digit6) - child) : Key::Help;
        EXPECT_EQ(a11y::KeyFor(stroke), expected);
        const skin::Image& button = child < 6 ? *form.FindImage(kStrings[child]) : form.Image2;
        EXPECT_EQ(access.ChildAt(Centre(button)), child);
    }
    // The hover hint stays the artwork's, whatever the voice reads.
    EXPECT_EQ(form.Image2.Hint(), "Accés à l'aide");
    EXPECT_TRUE(access.Child(TunerAccess::ReadingText).shortcut.empty());
    EXPECT_EQ(access.Child(TunerAccess::HelpButton).place, form.Image2.BoundsRect());
    const a11y::Element reading = access.Child(TunerAccess::ReadingText);
    EXPECT_EQ(reading.role, a11y::Role::Text);
    EXPECT_EQ(reading.name, "No note");
    EXPECT_TRUE(reading.defaultAction.empty());
    EXPECT_FALSE(reading.focusable);
    EXPECT_EQ(access.ChildAt({150, 100}), TunerAccess::ReadingText);
    EXPECT_EQ(access.ChildAt({5, 5}), TunerAccess::NoChild);
    EXPECT_TRUE(access.Child(TunerAccess::ChildCount).name.empty());
    EXPECT_TRUE(access.Child(-1).name.empty());

    // The default action is the click: G3 picked, then let go; the reading has none.
    EXPECT_TRUE(access.DoDefaultAction(3));
    EXPECT_TRUE(access.Child(3).checked);
    EXPECT_EQ(access.Child(3).place, form.LG3.BoundsRect());
    EXPECT_TRUE(ShowsSelected(form, 3));
    EXPECT_TRUE(access.DoDefaultAction(3));
    EXPECT_TRUE(ShowsSelected(form, -1));
    EXPECT_FALSE(access.DoDefaultAction(TunerAccess::ReadingText));
    EXPECT_FALSE(access.DoDefaultAction(42));
}

TEST_F(Form1Controls, HostsHearOfStatesFocusAndTheSpokenReading) {
    ObserverLog log;
    TunerAccess& access = form.Access();
    int now = 0;
    access.SetClock([&] { return a11y::Clock::time_point{} + std::chrono::milliseconds(now); });
    access.SetObserver(&log);
    const auto wake = [](int ms) { return "wake " + std::to_string(ms); };
    const auto quietAfter = [](int ms, const char* words) {
        return ms + static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         a11y::Announcer::SpeakingTime(words))
                                         .count());
    };
    // Blocks are awaited from the start.
    EXPECT_EQ(log.Take(), (std::vector<std::string>{wake(3000)}));

    Press({Key::Digit5});
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"focus 1", "changed 1"}));
    Click(form.E1); // the mouse moves the selection and the focus
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"focus 5", "changed 1", "changed 5"}));
    Press({Key::Tab, Key::Escape}); // let go from the help button: said, the focus stays
    EXPECT_EQ(log.Take(),
              (std::vector<std::string>{"focus 6", "changed 5", "say String E1 let go"}));
    Press({Key::Escape});
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say No string picked"}));
    EXPECT_EQ(access.Focus(), TunerAccess::HelpButton);

    // Readings: said once steady and once the answers above can have been heard.
    now = 1000;
    form.ShowReading({9, 0, 0});
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"changed 7"}));
    EXPECT_EQ(access.Child(TunerAccess::ReadingText).name, "A, in tune");
    now = 1370;
    form.ShowReading({9, 0, 0});
    const int quiet = quietAfter(0, "No string picked");
    ASSERT_GT(quiet, now);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{wake(quiet)}));
    now = quiet;
    access.Woken();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say A, in tune", wake(1370 + 3000)}));
    Press({Key::ToggleSpeech});
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say Readings off"}));
    Press({Key::ReadReading}); // still read on demand
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say A, in tune"}));

    // No block for 3 s: the reading says so, once.
    now = 1370 + 3000;
    access.Woken();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"changed 7"}));
    EXPECT_EQ(access.Child(TunerAccess::ReadingText).name, "Not listening");
    Press({Key::ToggleSpeech});
    EXPECT_EQ(log.Take(),
              (std::vector<std::string>{"say Readings on", wake(quietAfter(now, "Readings on"))}));
    now = quietAfter(now, "Readings on");
    access.Woken();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say Not listening"}));
    form.ShowReading({9, 0, 0}); // blocks again: said once the last words can have been heard
    const int back = now;
    now = quietAfter(now, "Not listening");
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"changed 7", wake(now)}));
    access.Woken();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say Listening", wake(back + 3000)}));
    access.SetObserver(nullptr);
}

} // namespace
