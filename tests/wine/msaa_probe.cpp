// A screen reader's view of the tuner's window through MSAA, as a client in another process
// sees it, one fact a line, for the Wine tuner test to judge. Console program.
//
//   msaa_probe tree       "client NAME children N focus ID", then for every child
//                         "child ID ROLE STATES | NAME | ACTION | SHORTCUT | DESCRIPTION |
//                         LEFT TOP WIDTH HEIGHT | hit ID"
//                         (hit: what a hit test at the middle of its place finds), then
//                         "navigate ID... | ID..." the children walked from the first with
//                         NAVDIR_NEXT and from the last with NAVDIR_PREVIOUS
//   msaa_probe press ID   runs child ID's default action: "press ID ok" or its error
//   msaa_probe events S   "listening", then for S seconds the window's win events on its client
//                         area: "event focus|state|name|live ID", the live region's with
//                         " | NAME @MS" read from the event's object, MS its time in ms
//
// The window is the one titled "Vibralon"; exit code 1 when it or its client area is missing.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Utf8(BSTR text) {
    if (text == nullptr) {
        return {};
    }
    const int wide = static_cast<int>(SysStringLen(text));
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), length, nullptr, nullptr);
    SysFreeString(text);
    return utf8;
}

VARIANT Child(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The id a VARIANT answer holds: -1 for none (VT_EMPTY), -2 for anything else.
long IdOf(const VARIANT& answer) {
    if (answer.vt == VT_EMPTY) {
        return -1;
    }
    return answer.vt == VT_I4 ? answer.lVal : -2;
}

std::string RoleName(IAccessible& client, long id) {
    VARIANT role;
    if (FAILED(client.get_accRole(Child(id), &role)) || role.vt != VT_I4) {
        return "none";
    }
    switch (role.lVal) {
    case ROLE_SYSTEM_CLIENT: return "client";
    case ROLE_SYSTEM_CHECKBUTTON: return "checkbutton";
    case ROLE_SYSTEM_PUSHBUTTON: return "pushbutton";
    case ROLE_SYSTEM_STATICTEXT: return "statictext";
    default: return "role" + std::to_string(role.lVal);
    }
}

std::string States(IAccessible& client, long id) {
    VARIANT state;
    if (FAILED(client.get_accState(Child(id), &state)) || state.vt != VT_I4) {
        return "none";
    }
    std::string names;
    const auto add = [&](long flag, const char* name) {
        if ((state.lVal & flag) != 0) {
            names += names.empty() ? name : std::string(",") + name;
        }
    };
    add(STATE_SYSTEM_FOCUSABLE, "focusable");
    add(STATE_SYSTEM_FOCUSED, "focused");
    add(STATE_SYSTEM_CHECKED, "checked");
    add(STATE_SYSTEM_READONLY, "readonly");
    add(STATE_SYSTEM_INVISIBLE, "invisible");
    return names.empty() ? "plain" : names;
}

// The ids met walking from `first` (from the client area) by `step`, until the walk ends.
std::string Walk(IAccessible& client, long first, long step) {
    std::string ids;
    VARIANT at;
    HRESULT moved = client.accNavigate(first, Child(CHILDID_SELF), &at);
    // Bounded: a walk that never ends is a fault to show, not to hang on.
    for (int guard = 0; moved == S_OK && at.vt == VT_I4 && guard < 64; ++guard) {
        ids += ' ';
        ids += std::to_string(at.lVal);
        moved = client.accNavigate(step, Child(at.lVal), &at);
    }
    return ids;
}

int Tree(IAccessible& client) {
    BSTR name = nullptr;
    client.get_accName(Child(CHILDID_SELF), &name);
    long count = 0;
    client.get_accChildCount(&count);
    VARIANT focus;
    client.get_accFocus(&focus);
    std::printf("client %s children %ld focus %ld\n", Utf8(name).c_str(), count, IdOf(focus));
    for (long id = 1; id <= count; ++id) {
        IDispatch* object = nullptr;
        // Simple elements: no object of their own.
        if (client.get_accChild(Child(id), &object) != S_FALSE || object != nullptr) {
            std::printf("child %ld is not a simple element\n", id);
        }
        BSTR childName = nullptr;
        client.get_accName(Child(id), &childName);
        BSTR action = nullptr;
        client.get_accDefaultAction(Child(id), &action);
        BSTR shortcut = nullptr;
        client.get_accKeyboardShortcut(Child(id), &shortcut);
        BSTR description = nullptr;
        client.get_accDescription(Child(id), &description);
        long left = 0, top = 0, width = 0, height = 0;
        client.accLocation(&left, &top, &width, &height, Child(id));
        VARIANT hit;
        client.accHitTest(left + width / 2, top + height / 2, &hit);
        std::printf("child %ld %s %s | %s | %s | %s | %s | %ld %ld %ld %ld | hit %ld\n", id,
                    RoleName(client, id).c_str(), States(client, id).c_str(),
                    Utf8(childName).c_str(), Utf8(action).c_str(), Utf8(shortcut).c_str(),
                    Utf8(description).c_str(), left, top, width, height, IdOf(hit));
    }
    std::printf("navigate%s |%s\n", Walk(client, NAVDIR_FIRSTCHILD, NAVDIR_NEXT).c_str(),
                Walk(client, NAVDIR_LASTCHILD, NAVDIR_PREVIOUS).c_str());
    return 0;
}

int Press(IAccessible& client, long id) {
    const HRESULT pressed = client.accDoDefaultAction(Child(id));
    if (SUCCEEDED(pressed)) {
        std::printf("press %ld ok\n", id);
    } else {
        std::printf("press %ld error 0x%08lx\n", id, static_cast<unsigned long>(pressed));
    }
    return 0;
}

HWND tunerWindow = nullptr;

void CALLBACK EventHeard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG id, DWORD,
                         DWORD) {
    if (window != tunerWindow || object != OBJID_CLIENT) {
        return;
    }
    const char* kind = event == EVENT_OBJECT_FOCUS               ? "focus"
                       : event == EVENT_OBJECT_STATECHANGE       ? "state"
                       : event == EVENT_OBJECT_NAMECHANGE        ? "name"
                       : event == EVENT_OBJECT_LIVEREGIONCHANGED ? "live"
                                                                 : nullptr;
    if (kind == nullptr) {
        return;
    }
    std::string said;
    IAccessible* source = nullptr;
    VARIANT child;
    if (event == EVENT_OBJECT_LIVEREGIONCHANGED &&
        SUCCEEDED(AccessibleObjectFromEvent(window, object, id, &source, &child))) {
        BSTR name = nullptr;
        source->get_accName(child, &name);
        said = " | " + Utf8(name) + " @" + std::to_string(GetTickCount());
        source->Release();
    }
    std::printf("event %s %ld%s\n", kind, static_cast<long>(id), said.c_str());
    std::fflush(stdout);
}

int Events(HWND window, int seconds) {
    tunerWindow = window;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, &EventHeard,
                        process, 0, WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) {
        std::fprintf(stderr, "cannot listen to win events\n");
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    // Out-of-context events come as messages to this thread.
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    UnhookWinEvent(hook);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool tree = argc == 2 && std::strcmp(argv[1], "tree") == 0;
    const bool press = argc == 3 && std::strcmp(argv[1], "press") == 0;
    const bool events = argc == 3 && std::strcmp(argv[1], "events") == 0;
    if (!tree && !press && !events) {
        std::fprintf(stderr,
                     "usage: msaa_probe tree | msaa_probe press ID | msaa_probe events S\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HWND window = FindWindowW(nullptr, L"Vibralon");
    if (window == nullptr) {
        std::fprintf(stderr, "no window titled Vibralon\n");
        return 1;
    }
    if (events) {
        const int code = Events(window, std::atoi(argv[2]));
        CoUninitialize();
        return code;
    }
    IAccessible* client = nullptr;
    // __uuidof: the import library's IID_IAccessible is wrong under Wine.
    const HRESULT found =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&client));
    if (FAILED(found) || client == nullptr) {
        std::fprintf(stderr, "no accessible client area: 0x%08lx\n",
                     static_cast<unsigned long>(found));
        return 1;
    }
    const int code = tree ? Tree(*client) : Press(*client, std::strtol(argv[2], nullptr, 10));
    client->Release();
    CoUninitialize();
    std::fflush(stdout);
    return code;
}
