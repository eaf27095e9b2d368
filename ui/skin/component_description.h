// One row of a form description: what a component is, where it sits and what it raises.
#pragma once

#include <string_view>

namespace skin {

enum class ComponentKind { Image, ImageList };

// The platform's stock cursors the skin uses.
enum class Cursor { Default, HandPoint, Help };

struct ComponentDescription {
    std::string_view name;
    ComponentKind kind = ComponentKind::Image;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
    Cursor cursor = Cursor::Default;
    std::string_view hint; // UTF-8; empty for none
    // Names of the form's handlers bound to the component's events; empty for none.
    std::string_view onMouseDown;
    std::string_view onMouseUp;
    std::string_view onClick;
};

// The window itself: what the platform frame shows and how large it starts.
struct FormDescription {
    std::string_view caption;
    int outerWidth = 0; // frame and title bar included; used for centring
    int outerHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
};

} // namespace skin
