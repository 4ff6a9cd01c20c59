// The IAccessible objects a screen reader walks: one for the window's client
// area and one per exposed control (accessible_tree.h decides which). Each
// holds only a weak reference: when its control or window goes, the object
// stays alive for whoever still holds it and answers CO_E_OBJNOTCONNECTED.
// Calls arrive on the window's thread (its single-threaded apartment).
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <vector>

class CControlUI;
class CPaintManagerUI;

class AccessibleObject final : public IAccessible {
public:
    // Each starts with one reference, the caller's.
    static AccessibleObject* ForControl(CControlUI* control, int uniqueId);
    static AccessibleObject* ForClient(CPaintManagerUI* manager);

    // The control or window is going: forget it.
    void Disconnect();
    // Negative for a control (its id in focus events), CHILDID_SELF for the
    // client.
    int UniqueId() const { return m_id; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients use the vtable.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    AccessibleObject(CControlUI* control, CPaintManagerUI* manager, int id);
    ~AccessibleObject() = default;

    // The window's manager while the object is connected, else null.
    CPaintManagerUI* Manager() const;
    // The object a VARIANT child id names: CHILDID_SELF, a 1-based child
    // index, or (on the client) a negative id from a focus event. Not
    // AddRef'd; null with the HRESULT to return.
    AccessibleObject* Resolve(const VARIANT& child, HRESULT& error);
    std::vector<CControlUI*> Children() const;
    // Siblings of this object under its parent, this one included.
    std::vector<CControlUI*> Siblings() const;
    // The client rectangle, or the control's, in screen coordinates.
    RECT ScreenRect(bool visiblePart) const;
    long State() const;

    LONG m_refs = 1;
    CControlUI* m_control;      // null for the client object, or once gone
    CPaintManagerUI* m_manager; // the client object's window, until it goes
    int m_id;
};
