// Sees every mouse and click event a form routes to its components, by wrapping each
// component's handlers: the event is recorded, then the form's own handler (if any) runs.
//
// A click carries no position of its own: it is recorded at the component's middle (where a
// click from the keyboard lands) and moved to the release's position when the release of the
// same left press follows it at once, as a click by the mouse always is.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/skin/form.h"

namespace test_routing {

struct RoutedEvent {
    skin::Image* target = nullptr;
    skin::EventKind kind = skin::EventKind::MouseDown;
    skin::MouseButton button = skin::MouseButton::Left;
    int x = 0;
    int y = 0;
    std::string_view handler; // empty when the component has no handler for it
};

// "Fond down left 7,10 FondMouseDown": target, kind, button, position and handler (nothing after
// the position's space when there is none).
std::string ToString(const RoutedEvent& event);

class EventRecorder {
public:
    // `settled` hears each event once its position is known: a click when the next event
    // comes. Wraps the handlers the form has bound by now; both must outlive the recorder's
    // use, and the recorder must outlive the form's events.
    explicit EventRecorder(skin::Form& form,
                           std::function<void(const RoutedEvent&)> settled = nullptr);
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    // Every event so far, in order.
    const std::vector<RoutedEvent>& Events() const { return events_; }

private:
    void Record(const RoutedEvent& event);

    std::vector<RoutedEvent> events_;
    bool clickOpen_ = false; // the last event is a click that its release may still place
    std::function<void(const RoutedEvent&)> settled_;
};

} // namespace test_routing
