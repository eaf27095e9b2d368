// The pace of the tuner's capture, for every layer that waits on it: the worker that records
// the blocks, the Windows layer that counts a silent device as gone, and the accessible face
// that says the tuner no longer listens. Here, in the lowest layer, so that each reads it once.
#pragma once

#include <chrono>

namespace block_pace {

// The tuner records blocks of this many samples at this rate.
inline constexpr int BlockLength = 4096;
inline constexpr int SampleRate = 11025;
// 4096 / 11025 s, a little over a third of a second.
inline constexpr std::chrono::microseconds Period{std::chrono::microseconds::rep{BlockLength} *
                                                  1'000'000 / SampleRate};

// This long without a block, the sound has stopped coming: several periods, and longer than the
// first block after an open takes (up to 2.3 s under Wine), so a device just opened is not yet
// counted silent.
inline constexpr std::chrono::seconds NoBlockTimeout{3};
static_assert(NoBlockTimeout > 8 * Period);

} // namespace block_pace
