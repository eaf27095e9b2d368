#include "platform/win32/desktop/desktop_services.h"

#include <mutex>

namespace desktop {
namespace {

std::mutex registryMutex;
MessageBoxHandler messageBoxHandler;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(registryMutex);
    std::swap(messageBoxHandler, handler);
    return handler;
}

} // namespace desktop

int VibralonMessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    desktop::MessageBoxHandler handler;
    {
        std::lock_guard lock(desktop::registryMutex);
        handler = desktop::messageBoxHandler;
    }
    if (handler) {
        return handler(lpText != nullptr ? lpText : "", lpCaption != nullptr ? lpCaption : "",
                       uType);
    }
    return MessageBoxA(hWnd, lpText, lpCaption, uType);
}
