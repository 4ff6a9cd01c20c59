#include "toolkit/accessible.h"

#include "toolkit/accessible_tree.h"
#include "toolkit/container.h"
#include "toolkit/oleacc_api.h"
#include "toolkit/paint_manager.h"

#include <algorithm>
#include <string>

namespace {

// The default actions' names, as native buttons and links report them.
constexpr wchar_t kPressAction[] = L"Press";
constexpr wchar_t kJumpAction[] = L"Jump";

HRESULT GiveText(const std::wstring& text, BSTR* out) {
    *out = text.empty() ? nullptr : SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (text.empty())
        return S_FALSE;
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT GiveNumber(long value, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

// The object of a control, as an IDispatch with one reference for the caller.
IDispatch* DispatchOf(CControlUI* control) {
    AccessibleObject* object = control != nullptr ? control->GetAccessibleObject() : nullptr;
    if (object != nullptr)
        object->AddRef();
    return object;
}

HRESULT GiveObject(IDispatch* object, VARIANT* out) {
    if (object == nullptr) {
        out->vt = VT_EMPTY;
        return S_FALSE;
    }
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
}

bool IsActionKind(AccessibleKind kind) {
    return kind == AccessibleKind::Button || kind == AccessibleKind::Link;
}

} // namespace

AccessibleObject::AccessibleObject(CControlUI* control, CPaintManagerUI* manager, int id)
    : m_control(control), m_manager(manager), m_id(id) {}

AccessibleObject* AccessibleObject::ForControl(CControlUI* control, int uniqueId) {
    return new AccessibleObject(control, nullptr, uniqueId);
}

AccessibleObject* AccessibleObject::ForClient(CPaintManagerUI* manager) {
    return new AccessibleObject(nullptr, manager, CHILDID_SELF);
}

void AccessibleObject::Disconnect() {
    m_control = nullptr;
    m_manager = nullptr;
}

CPaintManagerUI* AccessibleObject::Manager() const {
    CPaintManagerUI* manager = m_control != nullptr ? m_control->GetManager() : m_manager;
    // A control whose window is gone is as good as gone.
    return manager != nullptr && manager->GetPaintWindow() != nullptr ? manager : nullptr;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AccessibleObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG STDMETHODCALLTYPE AccessibleObject::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                                   VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

std::vector<CControlUI*> AccessibleObject::Children() const {
    if (m_control != nullptr)
        return ExposedChildren(*m_control);
    CPaintManagerUI* manager = Manager();
    return manager != nullptr ? ExposedTopLevel(manager->GetRoot()) : std::vector<CControlUI*>();
}

std::vector<CControlUI*> AccessibleObject::Siblings() const {
    if (m_control == nullptr)
        return {};
    if (CControlUI* parent = ExposedParent(*m_control))
        return ExposedChildren(*parent);
    return ExposedTopLevel(m_control->GetManager()->GetRoot());
}

AccessibleObject* AccessibleObject::Resolve(const VARIANT& child, HRESULT& error) {
    error = E_INVALIDARG;
    if (Manager() == nullptr) {
        error = CO_E_OBJNOTCONNECTED;
        return nullptr;
    }
    if (child.vt != VT_I4)
        return nullptr;
    if (child.lVal == CHILDID_SELF)
        return this;
    CControlUI* target = nullptr;
    if (child.lVal > 0) {
        const std::vector<CControlUI*> children = Children();
        if (static_cast<size_t>(child.lVal) <= children.size())
            target = children[static_cast<size_t>(child.lVal) - 1];
    } else if (m_control == nullptr) {
        target = Manager()->FindByAccessibleId(child.lVal);
    }
    return target != nullptr ? target->GetAccessibleObject() : nullptr;
}

RECT AccessibleObject::ScreenRect(bool visiblePart) const {
    CPaintManagerUI* manager = Manager();
    RECT r = {0, 0, 0, 0};
    if (manager == nullptr)
        return r;
    if (m_control == nullptr) {
        GetClientRect(manager->GetPaintWindow(), &r);
    } else {
        manager->UpdateLayout();
        r = visiblePart ? m_control->GetVisibleRect() : m_control->GetPos();
    }
    MapWindowPoints(manager->GetPaintWindow(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

long AccessibleObject::State() const {
    CPaintManagerUI* manager = Manager();
    const bool windowFocused = manager != nullptr && GetFocus() == manager->GetPaintWindow();
    if (m_control == nullptr)
        return STATE_SYSTEM_FOCUSABLE |
               (windowFocused && manager->GetFocus() == nullptr ? STATE_SYSTEM_FOCUSED : 0);
    long state = 0;
    if (!m_control->IsShown())
        return STATE_SYSTEM_INVISIBLE;
    const RECT visible = m_control->GetVisibleRect();
    if (IsRectEmpty(&visible))
        state |= STATE_SYSTEM_OFFSCREEN;
    const AccessibleKind kind = KindOf(*m_control);
    if (kind == AccessibleKind::Text)
        state |= STATE_SYSTEM_READONLY;
    if (kind == AccessibleKind::Link)
        state |= STATE_SYSTEM_LINKED;
    if (!m_control->IsEnabled())
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (m_control->IsTabStop())
        state |= STATE_SYSTEM_FOCUSABLE;
    if (windowFocused && manager->GetFocus() == m_control)
        state |= STATE_SYSTEM_FOCUSED;
    if (const auto* button = dynamic_cast<const CButtonUI*>(m_control)) {
        if (button->IsPushed())
            state |= STATE_SYSTEM_PRESSED;
        if (button->IsHot())
            state |= STATE_SYSTEM_HOTTRACKED;
    }
    return state;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accParent(IDispatch** parent) {
    if (parent == nullptr)
        return E_INVALIDARG;
    *parent = nullptr;
    CPaintManagerUI* manager = Manager();
    if (manager == nullptr)
        return CO_E_OBJNOTCONNECTED;
    if (m_control == nullptr) {
        *parent = StandardWindowObject(manager->GetPaintWindow());
        return *parent != nullptr ? S_OK : S_FALSE;
    }
    if (CControlUI* above = ExposedParent(*m_control))
        *parent = DispatchOf(above);
    else
        *parent = manager->GetAccessible();
    return *parent != nullptr ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChildCount(long* count) {
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    if (Manager() == nullptr)
        return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(Children().size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr)
        return E_INVALIDARG;
    *object = nullptr;
    if (child.vt == VT_I4 && child.lVal == CHILDID_SELF)
        return E_INVALIDARG;
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    target->AddRef();
    *object = target;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accName(VARIANT child, BSTR* name) {
    if (name == nullptr)
        return E_INVALIDARG;
    *name = nullptr;
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    if (target->m_control != nullptr)
        return GiveText(AccessibleNameOf(*target->m_control), name);
    // The client reads as the window's title.
    HWND window = target->Manager()->GetPaintWindow();
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(
        static_cast<size_t>(GetWindowTextW(window, &title[0], static_cast<int>(title.size()))));
    return GiveText(title, name);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    if (value == nullptr)
        return E_INVALIDARG;
    *value = nullptr;
    HRESULT error = S_OK;
    return Resolve(child, error) != nullptr ? S_FALSE : error;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDescription(VARIANT child, BSTR* text) {
    return get_accValue(child, text);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelp(VARIANT child, BSTR* text) {
    return get_accValue(child, text);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    return get_accValue(child, keys);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child,
                                                             long* topic) {
    if (file == nullptr || topic == nullptr)
        return E_INVALIDARG;
    *file = nullptr;
    *topic = 0;
    HRESULT error = S_OK;
    return Resolve(child, error) != nullptr ? S_FALSE : error;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr)
        return E_INVALIDARG;
    VariantInit(role);
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    return GiveNumber(target->m_control != nullptr ? RoleOf(KindOf(*target->m_control))
                                                   : ROLE_SYSTEM_CLIENT,
                      role);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr)
        return E_INVALIDARG;
    VariantInit(state);
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    return GiveNumber(target->State(), state);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accFocus(VARIANT* focused) {
    if (focused == nullptr)
        return E_INVALIDARG;
    VariantInit(focused);
    CPaintManagerUI* manager = Manager();
    if (manager == nullptr)
        return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != manager->GetPaintWindow())
        return S_FALSE;
    CControlUI* focus = manager->GetFocus();
    if (focus != nullptr && !focus->IsShown())
        focus = nullptr;
    if (m_control != nullptr)
        return focus == m_control ? GiveNumber(CHILDID_SELF, focused) : S_FALSE;
    return focus != nullptr ? GiveObject(DispatchOf(focus), focused)
                            : GiveNumber(CHILDID_SELF, focused);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accSelection(VARIANT* selected) {
    if (selected == nullptr)
        return E_INVALIDARG;
    VariantInit(selected);
    return Manager() != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (action == nullptr)
        return E_INVALIDARG;
    *action = nullptr;
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    if (target->m_control == nullptr)
        return S_FALSE;
    const AccessibleKind kind = KindOf(*target->m_control);
    if (!IsActionKind(kind))
        return S_FALSE;
    return GiveText(kind == AccessibleKind::Link ? kJumpAction : kPressAction, action);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accSelect(long flags, VARIANT child) {
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    CControlUI* control = target->m_control;
    if ((flags & SELFLAG_TAKEFOCUS) == 0 || control == nullptr || !control->IsShown() ||
        !control->IsTabStop())
        return DISP_E_MEMBERNOTFOUND;
    // A reader moving the focus is keyboard use: the ring shows.
    control->GetManager()->SetFocus(control, true);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accLocation(long* left, long* top, long* width,
                                                        long* height, VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    const RECT r = target->ScreenRect(false);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accNavigate(long direction, VARIANT start,
                                                        VARIANT* end) {
    if (end == nullptr)
        return E_INVALIDARG;
    VariantInit(end);
    HRESULT error = S_OK;
    AccessibleObject* from = Resolve(start, error);
    if (from == nullptr)
        return error;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD: {
        if (from != this)
            return E_INVALIDARG;
        const std::vector<CControlUI*> children = Children();
        if (children.empty())
            return S_FALSE;
        return GiveObject(
            DispatchOf(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back()), end);
    }
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS: {
        const std::vector<CControlUI*> siblings = from->Siblings();
        const auto at = std::find(siblings.begin(), siblings.end(), from->m_control);
        if (at == siblings.end())
            return S_FALSE;
        if (direction == NAVDIR_NEXT)
            return at + 1 != siblings.end() ? GiveObject(DispatchOf(*(at + 1)), end) : S_FALSE;
        return at != siblings.begin() ? GiveObject(DispatchOf(*(at - 1)), end) : S_FALSE;
    }
    default:
        return DISP_E_MEMBERNOTFOUND; // no spatial navigation
    }
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr)
        return E_INVALIDARG;
    VariantInit(child);
    if (Manager() == nullptr)
        return CO_E_OBJNOTCONNECTED;
    const POINT point = {x, y};
    const RECT own = ScreenRect(true);
    if (!PtInRect(&own, point))
        return S_FALSE;
    // Later children paint over earlier ones: they are hit first.
    const std::vector<CControlUI*> children = Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        AccessibleObject* object = (*it)->GetAccessibleObject();
        if (object == nullptr)
            continue;
        const RECT r = object->ScreenRect(true);
        if (!PtInRect(&r, point))
            continue;
        VARIANT inner;
        VariantInit(&inner);
        object->accHitTest(x, y, &inner);
        if (inner.vt == VT_DISPATCH)
            return GiveObject(inner.pdispVal, child);
        object->AddRef();
        return GiveObject(object, child);
    }
    return GiveNumber(CHILDID_SELF, child);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accDoDefaultAction(VARIANT child) {
    HRESULT error = S_OK;
    AccessibleObject* target = Resolve(child, error);
    if (target == nullptr)
        return error;
    CControlUI* control = target->m_control;
    if (control == nullptr || !IsActionKind(KindOf(*control)))
        return DISP_E_MEMBERNOTFOUND;
    if (!control->IsShown() || !control->IsEnabled())
        return E_FAIL;
    control->GetManager()->PostActivate(control);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::put_accName(VARIANT, BSTR) {
    return Manager() != nullptr ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::put_accValue(VARIANT, BSTR) {
    return Manager() != nullptr ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
}
