// Where message boxes and the shell's "open" go on this platform. The window host registers the
// real dialog and opener; tests register recorders. Unregistered, a message box is written to
// stderr and an open does nothing.
#pragma once

#include <functional>
#include <string>

#include "platform/desktop_handlers.h"

namespace desktop {

// Opens a document with the desktop's default application; `path` uses '/' separators.
using DocumentOpener = std::function<bool(const std::string& path)>;

// Each returns the handler it replaces; pass nullptr to restore the default.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
DocumentOpener SetDocumentOpener(DocumentOpener opener);

} // namespace desktop
