// The capture sources the sound server offers, as wave-input devices: device 0 is the server's
// default source, the others follow in the server's order.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct PulseSource {
    std::string name;        // the server's name, used to connect a stream
    std::string description; // what people see in sound settings
};

// Empty optional when no server answered in time; an empty list when it has no source.
std::optional<std::vector<PulseSource>> ListPulseSources();
