// Our own sentence for every code the wave-input layer returns.
#include <algorithm>
#include <cstring>

#include "platform/winapi.h"

MMRESULT waveInGetErrorTextA(MMRESULT mmrError, LPSTR pszText, UINT cchText) {
    if (pszText == nullptr || cchText == 0) {
        return MMSYSERR_INVALPARAM;
    }
    const char* text = nullptr;
    switch (mmrError) {
    case MMSYSERR_NOERROR: text = "The command completed successfully."; break;
    case MMSYSERR_ERROR: text = "The sound server reported an unexpected error."; break;
    case MMSYSERR_BADDEVICEID: text = "There is no sound input device with this number."; break;
    case MMSYSERR_NOTENABLED:
        text = "The sound server does not allow this program to record.";
        break;
    case MMSYSERR_ALLOCATED:
        text = "The sound input device is already in use by another program.";
        break;
    case MMSYSERR_INVALHANDLE: text = "The sound input device handle is not valid."; break;
    case MMSYSERR_NODRIVER:
        text = "No sound server could be reached, so sound input cannot be opened.";
        break;
    case MMSYSERR_NOMEM: text = "There is not enough memory to open sound input."; break;
    case MMSYSERR_INVALFLAG: text = "An unknown flag was passed to sound input."; break;
    case MMSYSERR_INVALPARAM: text = "An invalid parameter was passed to sound input."; break;
    case WAVERR_BADFORMAT: text = "The sound input device cannot record in this format."; break;
    case WAVERR_STILLPLAYING: text = "Buffers are still queued with the sound input device."; break;
    case WAVERR_UNPREPARED: text = "A buffer was queued without being prepared."; break;
    default: return MMSYSERR_BADERRNUM;
    }
    const std::size_t length = std::min<std::size_t>(std::strlen(text), cchText - 1);
    std::memcpy(pszText, text, length);
    pszText[length] = '\0';
    return MMSYSERR_NOERROR;
}
