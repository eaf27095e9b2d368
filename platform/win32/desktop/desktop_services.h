// Where the portable code's message boxes go on Windows: the system's own box, unless a program
// without a window registers a handler (vibralon-listen turns them into a line on stderr), as
// platform/linux/desktop_services.h lets programs do on Linux.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/desktop_handlers.h"

namespace desktop {

// Returns the handler it replaces; nullptr restores the system's box.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace desktop

// What platform/winapi.h names MessageBoxA for the portable code.
int VibralonMessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
