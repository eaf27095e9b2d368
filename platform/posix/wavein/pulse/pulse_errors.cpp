#include "platform/posix/wavein/pulse/pulse_errors.h"

#include <pulse/def.h>

MMRESULT WaveInResultFromPulse(int pulseError) {
    switch (pulseError) {
    case PA_OK:
        return MMSYSERR_NOERROR;
    case PA_ERR_BUSY:
    case PA_ERR_TOOLARGE:
        // The source is held exclusively by another client or device user, or takes no more
        // recording streams: either way other programs hold it.
        return MMSYSERR_ALLOCATED;
    case PA_ERR_ACCESS:
        return MMSYSERR_NOTENABLED;
    case PA_ERR_NOENTITY:
        return MMSYSERR_BADDEVICEID;
    case PA_ERR_NOTSUPPORTED:
    case PA_ERR_INVALID:
        return WAVERR_BADFORMAT;
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_CONNECTIONTERMINATED:
    case PA_ERR_TIMEOUT:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_AUTHKEY:
    case PA_ERR_VERSION:
        return MMSYSERR_NODRIVER;
    default:
        return MMSYSERR_ERROR;
    }
}
