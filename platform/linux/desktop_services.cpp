#include "platform/linux/desktop_services.h"

#include <cstdio>
#include <string_view>

#include "platform/winapi.h"

namespace desktop {
namespace {

HandlerSlot<MessageBoxHandler> messageBoxHandler;
HandlerSlot<DocumentOpener> documentOpener;

// Windows paths as the portable code writes them, with '/' for this system.
std::string SlashPath(std::string path) {
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return messageBoxHandler.Swap(std::move(handler));
}

DocumentOpener SetDocumentOpener(DocumentOpener opener) {
    return documentOpener.Swap(std::move(opener));
}

} // namespace desktop

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const desktop::MessageBoxHandler handler = desktop::messageBoxHandler.Get();
    const std::string text = lpText != nullptr ? lpText : "";
    const std::string caption = lpCaption != nullptr ? lpCaption : "";
    if (handler) {
        return handler(text, caption, uType);
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return IDOK;
}

HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR, LPCSTR lpDirectory, INT) {
    // Only "open" (or the default verb) exists here; anything else is refused as Windows would.
    const auto failure = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(2));
    if (lpFile == nullptr || (lpOperation != nullptr && std::string_view(lpOperation) != "open")) {
        return failure;
    }
    std::string path = desktop::SlashPath(lpFile);
    if (lpDirectory != nullptr && *lpDirectory != '\0' && !path.starts_with('/')) {
        path = desktop::SlashPath(lpDirectory) + "/" + path;
    }
    const desktop::DocumentOpener opener = desktop::documentOpener.Get();
    const bool opened = opener && opener(path);
    // Windows reports success as a value above 32.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(opened ? 42 : 2));
}
