// The real message box and document opener behind MessageBoxA and ShellExecuteA.
#pragma once

#include <functional>
#include <string>

namespace qt_host {

// A modal OK-only message box without icon, owned by the application, on the UI thread (a
// call from another thread waits for it there). Returns IDOK.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type);
// Opens the file with the desktop's default application, through the desktop's opener
// (xdg-open), on the UI thread; a relative path is taken from the current directory. False
// when the file is missing or the opener cannot be run; an opener that fails later (no
// application for the file) is told to the handler below.
bool OpenDocument(const std::string& path);
// Called on the UI thread when an opener that was started ends in failure; nullptr for none.
void SetOpenFailedHandler(std::function<void()> handler);

// Registers both with the desktop services; Unregister restores the defaults.
void RegisterDesktopDialogs();
void UnregisterDesktopDialogs();

} // namespace qt_host
