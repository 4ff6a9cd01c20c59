// The paint manager's side of screen reader support: the client object,
// WM_GETOBJECT, ids of controls' objects, and actions run from the loop.
#include "toolkit/paint_manager.h"

#include "support/win_handles.h"
#include "toolkit/accessible.h"
#include "toolkit/container.h"
#include "toolkit/oleacc_api.h"

IAccessible* CPaintManagerUI::GetAccessible() {
    if (m_window == nullptr)
        return nullptr;
    if (!m_accessible)
        m_accessible.reset(AccessibleObject::ForClient(this));
    m_accessible->AddRef();
    return m_accessible.get();
}

CControlUI* CPaintManagerUI::FindByAccessibleId(int id) const {
    // Ids are negative; 0 would match every control without an object.
    // Only shown controls: a reader is never told of the others.
    CControlUI* found = nullptr;
    if (id < 0 && m_root)
        VisitShown(*m_root, [id, &found](CControlUI& control) {
            if (control.GetAccessibleId() != id)
                return VisitStep::Enter;
            found = &control;
            return VisitStep::Stop;
        });
    return found;
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
    if (m_accessible) {
        m_accessible->Disconnect();
        m_accessible.reset();
    }
    // The handle may soon name another window: nothing is sent to it again.
    m_window = nullptr;
}
