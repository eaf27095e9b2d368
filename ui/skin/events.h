// Mouse events as the skin delivers them to a form's handlers.
#pragma once

#include <functional>
#include <string_view>

namespace skin {

class Image;

enum class MouseButton { Left, Right, Middle };

// Position in the sender's own coordinates (may lie outside it while the mouse is captured).
using MouseHandler = std::function<void(Image& sender, MouseButton button, int x, int y)>;
using NotifyHandler = std::function<void(Image& sender)>;

struct MouseBinding {
    std::string_view name; // the handler's name in the form description
    MouseHandler call;
    explicit operator bool() const { return static_cast<bool>(call); }
};

struct NotifyBinding {
    std::string_view name;
    NotifyHandler call;
    explicit operator bool() const { return static_cast<bool>(call); }
};

enum class EventKind { MouseDown, MouseUp, Click };

} // namespace skin
