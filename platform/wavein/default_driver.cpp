// Until a sound-server back end is built in, the default is a machine without sound input.
#include "platform/wavein/wave_in_driver.h"

const WaveInDriver& DefaultWaveInDriver() {
    return NullWaveInDriver();
}
