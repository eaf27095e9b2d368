#include "platform/win32/desktop/desktop_services.h"

namespace desktop {
namespace {

HandlerSlot<MessageBoxHandler> messageBoxHandler;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return messageBoxHandler.Swap(std::move(handler));
}

} // namespace desktop

int VibralonMessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    if (const desktop::MessageBoxHandler handler = desktop::messageBoxHandler.Get()) {
        return handler(lpText != nullptr ? lpText : "", lpCaption != nullptr ? lpCaption : "",
                       uType);
    }
    return MessageBoxA(hWnd, lpText, lpCaption, uType);
}
