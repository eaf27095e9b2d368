// What the player does with the window: picks a string, moves the window, opens the help.
#include <cstdint>
#include <utility>

#include "platform/winapi.h"
#include "ui/tform1.h"

void TForm1::IE6NClick(skin::Image& sender) {
    for (int string = 0; string < StringCount; ++string) {
        if (strings_[string].unlit != &sender) {
            continue;
        }
        // One string at most is lit: the one selected before goes out first.
        const int selected = SelectedString();
        if (selected != NoString) {
            Deselect(selected);
        }
        sender.Hide();
        strings_[string].lit->Show();
        selectedString_.store(string, std::memory_order_relaxed);
        access_.Pressed(sender);
        access_.SelectionChanged();
        return;
    }
}

void TForm1::IE1OClick(skin::Image& sender) {
    for (int string = 0; string < StringCount; ++string) {
        if (strings_[string].lit == &sender) {
            Deselect(string);
            access_.Pressed(sender);
            access_.SelectionChanged();
            return;
        }
    }
}

void TForm1::Deselect(int string) {
    strings_[string].unlit->Show();
    strings_[string].lit->Hide();
    selectedString_.store(NoString, std::memory_order_relaxed);
}

void TForm1::FondMouseDown(skin::Image&, skin::MouseButton, int x, int y) {
    dragOrigin_ = {x, y};
    // Any button drags the body. Where the window cannot place itself, the platform moves it
    // with the pointer instead, and the form's idea of where it is must not move on release.
    platformMoves_ = StartInteractiveMove();
}

void TForm1::FondMouseUp(skin::Image&, skin::MouseButton, int x, int y) {
    if (std::exchange(platformMoves_, false)) {
        return;
    }
    // The window jumps once, on release, by how far the pointer went since the press.
    if (y != dragOrigin_.y) {
        SetTop(Top() + y - dragOrigin_.y);
    }
    if (x != dragOrigin_.x) {
        SetLeft(Left() + x - dragOrigin_.x);
    }
}

void TForm1::Image2Click(skin::Image& sender) {
    access_.Pressed(sender);
    // Relative to the current directory, owned by the tuner's window; a help document that
    // cannot be opened is not worth a message box, but a screen reader's user hears of it.
    const HINSTANCE opened =
        ShellExecuteA(HostWindow(), "open", "help\\guide.htm", nullptr, nullptr, SW_SHOWNORMAL);
    // Windows reports success as a value above 32.
    if (reinterpret_cast<std::uintptr_t>(opened) <= 32) {
        access_.HelpNotOpened();
    }
}
