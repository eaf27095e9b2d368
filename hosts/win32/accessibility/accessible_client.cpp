#include "hosts/win32/accessibility/accessible_client.h"

#include <string>
#include <string_view>

#include "hosts/win32/accessibility/child_ids.h"
#include "hosts/win32/handler_errors.h"
#include "hosts/win32/text_conversion.h"

namespace win32_host {
namespace {

using a11y::TunerAccess;

// `*out` for a text; S_FALSE with none when the text is empty.
HRESULT Text(std::string_view utf8, BSTR* out) {
    *out = nullptr;
    if (utf8.empty()) {
        return S_FALSE;
    }
    *out = SysAllocString(Utf16(utf8).c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetI4(VARIANT* out, LONG value) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

LONG RoleOf(a11y::Role role) {
    switch (role) {
    case a11y::Role::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
    case a11y::Role::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case a11y::Role::Text: return ROLE_SYSTEM_STATICTEXT;
    case a11y::Role::Window: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

} // namespace

AccessibleClient::AccessibleClient(HWND window, TunerAccess& access, const DpiScale& scale,
                                   const std::string& announcement)
    : window_(window), access_(&access), scale_(&scale), announcement_(&announcement) {}

void AccessibleClient::Disconnect() {
    window_ = nullptr;
    access_ = nullptr;
    scale_ = nullptr;
    announcement_ = nullptr;
    // Clients in other processes hold proxies: their calls now fail there, and their
    // references to this object are let go.
    CoDisconnectObject(this, 0);
}

template <typename Answer>
HRESULT AccessibleClient::WithElement(const VARIANT& id, Answer answer) const {
    if (access_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (id.vt != VT_I4 || id.lVal < 0 || id.lVal > kChildIds) {
        return E_INVALIDARG;
    }
    if (id.lVal == CHILDID_SELF) {
        return answer(access_->Window(), TunerAccess::NoChild);
    }
    if (id.lVal == kAnnouncementId) {
        a11y::Element announcement;
        announcement.name = *announcement_;
        return answer(announcement, TunerAccess::NoChild);
    }
    const int child = static_cast<int>(id.lVal) - 1;
    return answer(access_->Child(child), child);
}

template <typename Field>
HRESULT AccessibleClient::ElementText(const VARIANT& id, Field a11y::Element::*field,
                                      BSTR* out) const {
    *out = nullptr;
    return WithElement(
        id, [&](const a11y::Element& element, int) { return Text(element.*field, out); });
}

HRESULT AccessibleClient::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleClient::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG AccessibleClient::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT AccessibleClient::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT AccessibleClient::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT AccessibleClient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT AccessibleClient::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
    return E_NOTIMPL;
}

HRESULT AccessibleClient::get_accParent(IDispatch** parent) {
    *parent = nullptr;
    if (access_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    // The window's frame, as the system describes it.
    return CreateStdAccessibleObject(window_, OBJID_WINDOW, __uuidof(IDispatch),
                                     reinterpret_cast<void**>(parent));
}

HRESULT AccessibleClient::get_accChildCount(long* count) {
    *count = 0;
    if (access_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    *count = kChildIds;
    return S_OK;
}

HRESULT AccessibleClient::get_accChild(VARIANT id, IDispatch** child) {
    *child = nullptr;
    // Simple elements: the caller asks this object about them by id.
    return WithElement(id, [](const a11y::Element&, int) { return S_FALSE; });
}

HRESULT AccessibleClient::get_accName(VARIANT id, BSTR* name) {
    return ElementText(id, &a11y::Element::name, name);
}

HRESULT AccessibleClient::get_accValue(VARIANT, BSTR* value) {
    *value = nullptr;
    return access_ == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleClient::get_accDescription(VARIANT id, BSTR* description) {
    return ElementText(id, &a11y::Element::description, description);
}

HRESULT AccessibleClient::get_accRole(VARIANT id, VARIANT* role) {
    VariantInit(role);
    return WithElement(id, [&](const a11y::Element& element, int) {
        SetI4(role, RoleOf(element.role));
        return S_OK;
    });
}

HRESULT AccessibleClient::get_accState(VARIANT id, VARIANT* state) {
    VariantInit(state);
    return WithElement(id, [&](const a11y::Element& element, int) {
        const bool windowFocused = GetFocus() == window_;
        LONG flags = 0;
        if (element.role == a11y::Role::Window) {
            flags = STATE_SYSTEM_FOCUSABLE | (windowFocused ? STATE_SYSTEM_FOCUSED : 0);
        } else {
            flags = (element.focusable ? STATE_SYSTEM_FOCUSABLE : 0) |
                    (element.focused && windowFocused ? STATE_SYSTEM_FOCUSED : 0) |
                    (element.checked ? STATE_SYSTEM_CHECKED : 0) |
                    (element.role == a11y::Role::Text ? STATE_SYSTEM_READONLY : 0);
        }
        if (!IsWindowVisible(window_)) {
            flags |= STATE_SYSTEM_INVISIBLE;
        }
        SetI4(state, flags);
        return S_OK;
    });
}

HRESULT AccessibleClient::get_accHelp(VARIANT, BSTR* help) {
    *help = nullptr;
    return access_ == nullptr ? CO_E_OBJNOTCONNECTED : S_FALSE;
}

HRESULT AccessibleClient::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    *file = nullptr;
    *topic = -1;
    return access_ == nullptr ? CO_E_OBJNOTCONNECTED : S_FALSE;
}

HRESULT AccessibleClient::get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) {
    return ElementText(id, &a11y::Element::shortcut, shortcut);
}

HRESULT AccessibleClient::get_accFocus(VARIANT* focus) {
    VariantInit(focus);
    if (access_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (GetFocus() != window_) {
        return S_FALSE; // VT_EMPTY: the focus is elsewhere
    }
    SetI4(focus, ChildId(access_->Focus()));
    return S_OK;
}

HRESULT AccessibleClient::get_accSelection(VARIANT* selection) {
    VariantInit(selection);
    return access_ == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleClient::get_accDefaultAction(VARIANT id, BSTR* action) {
    return ElementText(id, &a11y::Element::defaultAction, action);
}

HRESULT AccessibleClient::accSelect(long, VARIANT) {
    return access_ == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleClient::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT id) {
    *left = *top = *width = *height = 0;
    return WithElement(id, [&](const a11y::Element& element, int) {
        const skin::Rect& place = element.place;
        // Skin pixels to the screen's, from the client area's corner on screen.
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        *left = origin.x + scale_->Device(place.left);
        *top = origin.y + scale_->Device(place.top);
        *width = scale_->Device(place.right) - scale_->Device(place.left);
        *height = scale_->Device(place.bottom) - scale_->Device(place.top);
        return S_OK;
    });
}

HRESULT AccessibleClient::accNavigate(long direction, VARIANT start, VARIANT* end) {
    VariantInit(end);
    return WithElement(start, [&](const a11y::Element&, int) {
        // The children in their order (strings, help, reading, announcement); the client area's
        // own siblings and places on screen are the system's window object's to tell.
        const LONG from = start.lVal;
        LONG to = CHILDID_SELF;
        if (from == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) {
                to = 1;
            } else if (direction == NAVDIR_LASTCHILD) {
                to = kChildIds;
            } else {
                return E_NOTIMPL;
            }
        } else if (direction == NAVDIR_NEXT) {
            to = from < kChildIds ? from + 1 : CHILDID_SELF;
        } else if (direction == NAVDIR_PREVIOUS) {
            to = from - 1;
        } else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            return S_FALSE; // a simple element has no children
        } else {
            return E_NOTIMPL;
        }
        if (to == CHILDID_SELF) {
            return S_FALSE; // VT_EMPTY: no element that way
        }
        SetI4(end, to);
        return S_OK;
    });
}

HRESULT AccessibleClient::accHitTest(long x, long y, VARIANT* id) {
    VariantInit(id);
    if (access_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    POINT at{x, y};
    RECT client{};
    if (!ScreenToClient(window_, &at) || !GetClientRect(window_, &client) ||
        !PtInRect(&client, at)) {
        return S_FALSE; // VT_EMPTY: outside the client area
    }
    SetI4(id, ChildId(access_->ChildAt({scale_->Skin(at.x), scale_->Skin(at.y)})));
    return S_OK;
}

HRESULT AccessibleClient::accDoDefaultAction(VARIANT id) {
    return WithElement(id, [&](const a11y::Element&, int child) {
        bool pressed = false;
        // The press runs the click handlers: an error of theirs ends the loop as a click's would,
        // and never unwinds into the caller's frames.
        GuardHandler([&] { pressed = access_->DoDefaultAction(child); });
        return pressed ? S_OK : DISP_E_MEMBERNOTFOUND;
    });
}

HRESULT AccessibleClient::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT AccessibleClient::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace win32_host
