// The paint manager's side of screen reader support: the client object,
// WM_GETOBJECT, ids of controls' objects, and actions run from the loop.
#include "toolkit/paint_manager.h"

#include "support/win_handles.h"
#include "toolkit/accessible.h"
#include "toolkit/container.h"
#include "toolkit/oleacc_api.h"

namespace {

CControlUI* FindById(CControlUI* control, int id) {
    if (control->GetAccessibleId() == id)
        return control;
    if (auto* container = dynamic_cast<CContainerUI*>(control))
        for (int i = 0; i < container->GetCount(); ++i)
            if (CControlUI* found = FindById(container->GetItemAt(i), id))
                return found;
    return nullptr;
}

} // namespace

IAccessible* CPaintManagerUI::GetAccessible() {
    if (m_window == nullptr)
        return nullptr;
    if (m_accessible == nullptr)
        m_accessible = AccessibleObject::ForClient(this);
    m_accessible->AddRef();
    return m_accessible;
}

CControlUI* CPaintManagerUI::FindByAccessibleId(int id) const {
    // Ids are negative; 0 would match every control without an object.
    if (id >= 0 || !m_root)
        return nullptr;
    return FindById(m_root.get(), id);
}

UINT CPaintManagerUI::ActivateMessage() {
    static const UINT message = RegisterWindowMessageW(L"TavolexToolkitActivate");
    return message;
}

void CPaintManagerUI::PostActivate(CControlUI* control) {
    // By id, not pointer: the control may be gone when the message arrives.
    if (control != nullptr && m_window != nullptr && control->GetAccessibleObject() != nullptr)
        PostMessageW(m_window, ActivateMessage(), 0, control->GetAccessibleId());
}

LRESULT CPaintManagerUI::AnswerGetObject(WPARAM flags) {
    // Handing the object to another process marshals it, which needs COM
    // on this thread. The window's thread sets it up when a reader first
    // asks (a single-threaded apartment, whose calls the modal loop
    // dispatches) and keeps it while the window lives.
    if (!m_com) {
        m_com = std::make_unique<ComInitGuard>(COINIT_APARTMENTTHREADED);
        m_comThread = GetCurrentThreadId();
    }
    if (!m_com->usable())
        return 0;
    ComOwner<IAccessible> client(GetAccessible());
    const LRESULT result = AccessibleResult(__uuidof(IAccessible), flags, client.get());
    // A failure comes back as a negative HRESULT: let the system answer.
    return result > 0 ? result : 0;
}

void CPaintManagerUI::OnWindowGone() {
    if (m_accessible != nullptr) {
        static_cast<AccessibleObject*>(m_accessible)->Disconnect();
        m_accessible->Release();
        m_accessible = nullptr;
    }
    // The handle may soon name another window: nothing is sent to it again.
    m_window = nullptr;
}
