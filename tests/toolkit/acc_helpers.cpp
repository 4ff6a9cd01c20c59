#include "tests/toolkit/acc_helpers.h"

VARIANT AccSelf() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::wstring AccName(IAccessible* object) {
    BSTR name = nullptr;
    std::wstring out =
        object->get_accName(AccSelf(), &name) == S_OK && name != nullptr ? name : L"";
    SysFreeString(name);
    return out;
}

long AccRole(IAccessible* object) {
    VARIANT v;
    VariantInit(&v);
    return SUCCEEDED(object->get_accRole(AccSelf(), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

long AccState(IAccessible* object) {
    VARIANT v;
    VariantInit(&v);
    return SUCCEEDED(object->get_accState(AccSelf(), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

std::vector<AccPtr> AccChildren(IAccessible* object) {
    std::vector<AccPtr> out;
    long count = 0;
    object->get_accChildCount(&count);
    for (long i = 1; i <= count; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        IDispatch* dispatch = nullptr;
        if (object->get_accChild(index, &dispatch) != S_OK || dispatch == nullptr)
            continue;
        AccPtr child;
        dispatch->QueryInterface(__uuidof(IAccessible), child.put_void());
        dispatch->Release();
        out.push_back(std::move(child));
    }
    return out;
}

void AccDescribe(IAccessible* object, int depth, std::vector<std::wstring>& out) {
    out.push_back(AccLine(AccRole(object), AccName(object), depth));
    for (AccPtr& child : AccChildren(object))
        AccDescribe(child.get(), depth + 1, out);
}

std::wstring AccLine(long role, const std::wstring& name, int depth) {
    return std::wstring(static_cast<size_t>(depth) * 2, L' ') + std::to_wstring(role) + L" " + name;
}

AccPtr AccFind(IAccessible* root, const std::wstring& name, long role) {
    if (AccName(root) == name && (role == 0 || AccRole(root) == role)) {
        root->AddRef();
        return AccPtr(root);
    }
    for (AccPtr& child : AccChildren(root))
        if (AccPtr found = AccFind(child.get(), name, role))
            return found;
    return AccPtr();
}
