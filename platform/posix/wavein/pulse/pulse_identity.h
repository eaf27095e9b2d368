// How this program names itself to the sound server, so that desktops' sound settings list its
// stream by name and icon.
#pragma once

#include <pulse/proplist.h>

inline constexpr const char* ApplicationName = "Vibralon";
inline constexpr const char* StreamName = "Vibralon";

// A new property list with the application's name, id, icon and role; the caller frees it.
pa_proplist* NewApplicationProperties();
