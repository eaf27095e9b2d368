// The Windows headers as this host uses them: Windows 10 names (per-monitor DPI), no min/max
// macros, and the program's Windows names (winapi.h) first.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "platform/winapi.h"
