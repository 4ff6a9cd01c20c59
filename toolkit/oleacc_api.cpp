#include "toolkit/oleacc_api.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 (not declared for Windows 7): oleacc comes
// from System32 only, never from the program's (download) folder.
constexpr DWORD kSearchSystem32 = 0x00000800;

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

HMODULE Oleacc() {
    // Loaded once and kept: objects it made may live as long as the process.
    static HMODULE module = [] {
        HMODULE m = LoadLibraryExW(L"oleacc.dll", nullptr, kSearchSystem32);
        if (m == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
            // Windows 7 without the search-path update: name System32 itself.
            wchar_t path[MAX_PATH] = {};
            const UINT length = GetSystemDirectoryW(path, MAX_PATH);
            if (length > 0 && length < MAX_PATH - 12) {
                lstrcatW(path, L"\\oleacc.dll");
                m = LoadLibraryW(path);
            }
        }
        return m;
    }();
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
