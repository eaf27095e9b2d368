#include "capture/recorder_m16.h"

#include <cstdint>

RecorderM16::RecorderM16(int samplesPerBlock, int sampleRate)
    : Recorder(samplesPerBlock, sampleRate, 1, 16) {}

int RecorderM16::GetSample(const char* data, int index) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data) + 2 * index;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}
