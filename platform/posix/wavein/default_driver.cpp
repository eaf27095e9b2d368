// The back end used unless a test selects another: the desktop's sound server.
#include "platform/posix/wavein/pulse/pulse_driver.h"

const WaveInDriver& DefaultWaveInDriver() {
    return PulseWaveInDriver();
}
