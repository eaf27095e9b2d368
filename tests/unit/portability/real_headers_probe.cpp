// Proves the cross build reads Windows' own headers through winapi.h rather than our layer:
// only there is windows.h seen, DWORD an unsigned long and WAVEHDR laid out as on 64-bit Windows.
#include "platform/winapi.h"

#include <type_traits>

#ifndef _WIN32
#error "not a Windows target"
#endif
#ifndef _WINDOWS_
#error "winapi.h did not include windows.h"
#endif

static_assert(std::is_same_v<DWORD, unsigned long>, "DWORD is not the Windows one");
static_assert(sizeof(WAVEHDR) == 48, "WAVEHDR is not the 64-bit Windows layout");
