// The real message box and document opener behind MessageBoxA and ShellExecuteA.
#pragma once

#include <string>

namespace qt_host {

// A modal OK-only message box without icon, owned by the application, on the UI thread (a
// call from another thread waits for it there). Returns IDOK.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type);
// Opens the file with the desktop's default application; a relative path is taken from the
// current directory.
bool OpenDocument(const std::string& path);

// Registers both with the desktop services; Unregister restores the defaults.
void RegisterDesktopDialogs();
void UnregisterDesktopDialogs();

} // namespace qt_host
