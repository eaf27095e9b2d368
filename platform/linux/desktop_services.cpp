#include "platform/linux/desktop_services.h"

#include <cstdio>
#include <mutex>
#include <string_view>

#include "platform/winapi.h"

namespace desktop {
namespace {

std::mutex registryMutex;
MessageBoxHandler messageBoxHandler;
DocumentOpener documentOpener;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(registryMutex);
    std::swap(messageBoxHandler, handler);
    return handler;
}

DocumentOpener SetDocumentOpener(DocumentOpener opener) {
    std::lock_guard lock(registryMutex);
    std::swap(documentOpener, opener);
    return opener;
}

} // namespace desktop

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    desktop::MessageBoxHandler handler;
    {
        std::lock_guard lock(desktop::registryMutex);
        handler = desktop::messageBoxHandler;
    }
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
    std::string path = lpFile;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (lpDirectory != nullptr && *lpDirectory != '\0' && !path.starts_with('/')) {
        std::string directory = lpDirectory;
        for (char& c : directory) {
            if (c == '\\') {
                c = '/';
            }
        }
        path = directory + "/" + path;
    }
    desktop::DocumentOpener opener;
    {
        std::lock_guard lock(desktop::registryMutex);
        opener = desktop::documentOpener;
    }
    const bool opened = opener && opener(path);
    // Windows reports success as a value above 32.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(opened ? 42 : 2));
}
