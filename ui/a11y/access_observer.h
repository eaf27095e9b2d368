// What the tuner's accessible face tells the host that shows it to assistive technology
// (AT-SPI through QAccessible on Linux, MSAA on Windows). The host implements this and hands
// it to TunerAccess::SetObserver; every call comes on the UI thread. Children are numbered as
// TunerAccess numbers them.
#pragma once

#include <string_view>

#include "ui/a11y/announcer.h"

namespace a11y {

class AccessObserver {
public:
    // A child's name or state changed (a string picked or let go, the reading's words).
    virtual void ChildChanged(int child) = 0;
    // The keyboard focus went to `child` (TunerAccess::NoChild: to none).
    virtual void FocusMoved(int child) = 0;
    // Words for the screen reader to speak now, politely (a live region's notification).
    virtual void Announce(std::string_view text) = 0;
    // Call TunerAccess::Woken at `when` (a single-shot timer; a later call replaces the time).
    virtual void WakeAt(Clock::time_point when) = 0;

protected:
    ~AccessObserver() = default;
};

} // namespace a11y
