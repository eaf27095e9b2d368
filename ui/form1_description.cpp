#include "ui/form1_description.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace form1 {

const ComponentDescription& Component(std::string_view name) {
    const auto it = std::find_if(kComponents.begin(), kComponents.end(),
                                 [&](const ComponentDescription& c) { return c.name == name; });
    if (it == kComponents.end()) {
        throw std::out_of_range("no component named " + std::string(name));
    }
    return *it;
}

} // namespace form1
