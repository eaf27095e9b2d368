#include "tests/support/routing/event_recorder.h"

#include <utility>

namespace test_routing {

EventRecorder::EventRecorder(skin::Form& form, std::function<void(const RoutedEvent&)> settled)
    : settled_(std::move(settled)) {
    for (skin::Image* image : form.Images()) {
        const auto wrapMouse = [this](skin::MouseBinding& binding, skin::EventKind kind) {
            binding.call = [this, kind, name = binding.name, inner = std::move(binding.call)](
                               skin::Image& sender, skin::MouseButton button, int x, int y) {
                Record({&sender, kind, button, x, y, name});
                if (inner) {
                    inner(sender, button, x, y);
                }
            };
        };
        wrapMouse(image->OnMouseDown, skin::EventKind::MouseDown);
        wrapMouse(image->OnMouseUp, skin::EventKind::MouseUp);
        image->OnClick.call = [this, name = image->OnClick.name,
                               inner = std::move(image->OnClick.call)](skin::Image& sender) {
            const skin::Rect bounds = sender.BoundsRect();
            Record({&sender, skin::EventKind::Click, skin::MouseButton::Left,
                    (bounds.left + bounds.right) / 2 - sender.Left(),
                    (bounds.top + bounds.bottom) / 2 - sender.Top(), name});
            if (inner) {
                inner(sender);
            }
        };
    }
}

std::string ToString(const RoutedEvent& event) {
    static constexpr const char* kinds[] = {"down", "up", "click"};
    static constexpr const char* buttons[] = {"left", "right", "middle"};
    return std::string(event.target->Name()) + " " + kinds[static_cast<int>(event.kind)] + " " +
           buttons[static_cast<int>(event.button)] + " " + std::to_string(event.x) + "," +
           std::to_string(event.y) + " " + std::string(event.handler);
}

void EventRecorder::Record(const RoutedEvent& event) {
    if (clickOpen_) {
        RoutedEvent& click = events_.back();
        if (event.kind == skin::EventKind::MouseUp && event.button == skin::MouseButton::Left &&
            event.target == click.target) {
            click.x = event.x;
            click.y = event.y;
        }
        clickOpen_ = false;
        if (settled_) {
            settled_(click);
        }
    }
    events_.push_back(event);
    if (event.kind == skin::EventKind::Click) {
        clickOpen_ = true;
    } else if (settled_) {
        settled_(event);
    }
}

} // namespace test_routing
