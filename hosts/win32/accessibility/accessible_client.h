// The window's client area as MSAA clients (screen readers) see it: the tuner's controls and
// the announcement as simple children (child_ids.h). A client may hold it after the window is
// gone: Disconnect cuts it from the window, and every call then fails.
#pragma once

#include "hosts/win32/windows_names.h"

#include <oleacc.h>

#include <string>

#include "hosts/win32/dpi_scale.h"
#include "ui/a11y/tuner_access.h"

namespace win32_host {

class AccessibleClient final : public IAccessible {
public:
    // `scale` is the window's, followed as it changes, and `announcement` the words last
    // announced; all must outlive the connection.
    AccessibleClient(HWND window, a11y::TunerAccess& access, const DpiScale& scale,
                     const std::string& announcement);
    AccessibleClient(const AccessibleClient&) = delete;
    AccessibleClient& operator=(const AccessibleClient&) = delete;

    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients call through the interface.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT id) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* id) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT id, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT id, BSTR value) override;

private:
    ~AccessibleClient() = default;
    // `answer(element, child)` for what `id` names (child_ids.h), as the face describes it,
    // with its TunerAccess child (NoChild for the client area and the announcement); fails
    // without asking when disconnected or when `id` names nothing.
    template <typename Answer> HRESULT WithElement(const VARIANT& id, Answer answer) const;
    // One of the element's texts; S_FALSE with none when it is empty.
    template <typename Field>
    HRESULT ElementText(const VARIANT& id, Field a11y::Element::*field, BSTR* out) const;

    LONG references_ = 1;
    HWND window_;
    a11y::TunerAccess* access_;
    const DpiScale* scale_;
    const std::string* announcement_;
};

} // namespace win32_host
