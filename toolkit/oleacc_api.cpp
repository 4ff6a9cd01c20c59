#include "toolkit/oleacc_api.h"

#include "support/system_library_win.h"

namespace {

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

HMODULE Oleacc() {
    // Loaded once and kept: objects it made may live as long as the process.
    static HMODULE module = LoadSystemLibrary(L"oleacc.dll");
    return module;
}

template <typename Fn> Fn Lookup(const char* name) {
    HMODULE module = Oleacc();
    return module != nullptr
               ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace

LRESULT AccessibleResult(REFIID iid, WPARAM flags, IUnknown* object) {
    static const auto fn = Lookup<LresultFromObjectFn>("LresultFromObject");
    return fn != nullptr && object != nullptr ? fn(iid, flags, object) : 0;
}

IAccessible* StandardWindowObject(HWND window) {
    static const auto fn = Lookup<CreateStdAccessibleObjectFn>("CreateStdAccessibleObject");
    IAccessible* object = nullptr;
    if (fn == nullptr || window == nullptr ||
        FAILED(fn(window, OBJID_WINDOW, __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}
