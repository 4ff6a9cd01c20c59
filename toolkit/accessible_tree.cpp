#include "toolkit/accessible_tree.h"

#include "toolkit/accessible_names.h"
#include "toolkit/container.h"

#include <oleacc.h>

namespace {

// A control a screen reader is told of stands for everything inside it; a
// hidden one hands its place to what it holds.
void CollectExposed(CControlUI& control, std::vector<CControlUI*>& out) {
    VisitShown(control, [&out](CControlUI& c) {
        if (KindOf(c) == AccessibleKind::Hidden)
            return VisitStep::Enter;
        out.push_back(&c);
        return VisitStep::Pass;
    });
}

} // namespace

AccessibleKind KindOf(const CControlUI& control) {
    const AccessibleRole role = control.GetAccessibleRole();
    if (role == AccessibleRole::None)
        return AccessibleKind::Hidden;
    const bool named = !control.GetAccessibleName().empty();
    if (dynamic_cast<const CButtonUI*>(&control) != nullptr)
        return role == AccessibleRole::Link ? AccessibleKind::Link : AccessibleKind::Button;
    if (role == AccessibleRole::Link)
        return AccessibleKind::Link;
    if (role == AccessibleRole::Group)
        return AccessibleKind::Group;
    if (control.AsContainer() != nullptr)
        return named ? AccessibleKind::Group : AccessibleKind::Hidden;
    if (dynamic_cast<const CLabelUI*>(&control) != nullptr)
        return named || !control.GetText().empty() ? AccessibleKind::Text : AccessibleKind::Hidden;
    return named ? AccessibleKind::Graphic : AccessibleKind::Hidden;
}

long RoleOf(AccessibleKind kind) {
    switch (kind) {
    case AccessibleKind::Text:
        return ROLE_SYSTEM_STATICTEXT;
    case AccessibleKind::Button:
        return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleKind::Link:
        return ROLE_SYSTEM_LINK;
    case AccessibleKind::Graphic:
        return ROLE_SYSTEM_GRAPHIC;
    case AccessibleKind::Group:
        return ROLE_SYSTEM_GROUPING;
    case AccessibleKind::Hidden:
        break;
    }
    return 0;
}

std::wstring AccessibleNameOf(const CControlUI& control) {
    const AccessibleKind kind = KindOf(control);
    if (kind != AccessibleKind::Group)
        return control.GetAccessibleName().empty() ? control.GetText()
                                                   : control.GetAccessibleName();
    // A group is heard as one line; its buttons and links are left out of
    // it, as they are heard on their own when they get the focus.
    std::vector<std::wstring> parts;
    for (CControlUI* child : ExposedChildren(control)) {
        const AccessibleKind childKind = KindOf(*child);
        if (childKind != AccessibleKind::Button && childKind != AccessibleKind::Link)
            parts.push_back(AccessibleNameOf(*child));
    }
    return ComposeGroupName(control.GetAccessibleName(), parts);
}

std::vector<CControlUI*> ExposedChildren(const CControlUI& control) {
    std::vector<CControlUI*> out;
    if (const CContainerUI* container = control.AsContainer())
        for (CControlUI* child : container->ShownChildren())
            CollectExposed(*child, out);
    return out;
}

std::vector<CControlUI*> ExposedTopLevel(CControlUI* root) {
    std::vector<CControlUI*> out;
    if (root != nullptr)
        CollectExposed(*root, out);
    return out;
}

CControlUI* ExposedParent(const CControlUI& control) {
    for (CContainerUI* p = control.GetParent(); p != nullptr; p = p->GetParent())
        if (KindOf(*p) != AccessibleKind::Hidden)
            return p;
    return nullptr;
}
