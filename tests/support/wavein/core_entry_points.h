// Force-included into this test build's own copy of the wave-input core (CMakeLists.txt): there
// its entry points take these names, and the calls' recorder (wave_in_calls.cpp) stands under
// the names the code under test calls, passing each call on to them.
#pragma once

#define waveInGetNumDevs core_waveInGetNumDevs
#define waveInGetDevCapsA core_waveInGetDevCapsA
#define waveInOpen core_waveInOpen
#define waveInPrepareHeader core_waveInPrepareHeader
#define waveInUnprepareHeader core_waveInUnprepareHeader
#define waveInAddBuffer core_waveInAddBuffer
#define waveInStart core_waveInStart
#define waveInReset core_waveInReset
#define waveInClose core_waveInClose
