// A screen reader's view of a window, from another process, the way readers
// get it: AccessibleObjectFromWindow, then the IAccessible tree. Used by the
// end-to-end tests to read what the product exposes and to act on it.
//
//   acc_client tree   <window class>          every object, one per line:
//                                             depth, role, "name", states, x y w h
//   acc_client focus  <window class>          the focused object's name
//   acc_client press  <window class> <name>   default action of the object so named
//   acc_client locate <window class> <name>   "x y w h" of the object so named
//   acc_client outlive <window class>         holds the client and its first
//                                             child until the window is gone,
//                                             then prints what calls on them return
//
// Exit codes: 0 done, 2 no visible window of that class, 3 the window gave
// no accessible object (the HRESULT is printed), 4 no object of that name,
// 5 the action failed, 6 an object still answered after its window went.
#include "tests/toolkit/acc_helpers.h"

#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kNoWindow = 2;
constexpr int kNoObject = 3;
constexpr int kNoSuchName = 4;
constexpr int kActionFailed = 5;
constexpr int kStillAnswers = 6;
// How long "outlive" waits for the window to go.
constexpr DWORD kOutliveWaitMs = 60000;
constexpr DWORD kPollMs = 100;
constexpr int kUsage = 64;

void Write(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

struct Found {
    const wchar_t* className;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    if (lstrcmpW(name, found->className) == 0 && IsWindowVisible(window)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring RoleName(long role) {
    switch (role) {
    case ROLE_SYSTEM_CLIENT:
        return L"client";
    case ROLE_SYSTEM_STATICTEXT:
        return L"text";
    case ROLE_SYSTEM_PUSHBUTTON:
        return L"button";
    case ROLE_SYSTEM_LINK:
        return L"link";
    case ROLE_SYSTEM_GRAPHIC:
        return L"graphic";
    case ROLE_SYSTEM_GROUPING:
        return L"group";
    default:
        return L"role" + std::to_wstring(role);
    }
}

std::wstring StateNames(long state) {
    const struct {
        long bit;
        const wchar_t* name;
    } names[] = {{STATE_SYSTEM_FOCUSED, L"focused"},         {STATE_SYSTEM_FOCUSABLE, L"focusable"},
                 {STATE_SYSTEM_INVISIBLE, L"invisible"},     {STATE_SYSTEM_OFFSCREEN, L"offscreen"},
                 {STATE_SYSTEM_UNAVAILABLE, L"unavailable"}, {STATE_SYSTEM_LINKED, L"linked"},
                 {STATE_SYSTEM_READONLY, L"readonly"}};
    std::wstring out;
    for (const auto& n : names)
        if ((state & n.bit) != 0)
            out += (out.empty() ? L"" : L",") + std::wstring(n.name);
    return out.empty() ? L"-" : out;
}

struct Info {
    std::wstring name;
    long role = 0;
    long state = 0;
    long x = 0, y = 0, w = 0, h = 0;
};

Info Read(IAccessible* object) {
    Info info;
    info.name = AccName(object);
    info.role = std::max(AccRole(object), 0L);
    info.state = std::max(AccState(object), 0L);
    object->accLocation(&info.x, &info.y, &info.w, &info.h, AccSelf());
    return info;
}

// The children as full objects (this product exposes no simple elements).
std::vector<IAccessible*> Children(IAccessible* object) {
    std::vector<IAccessible*> out;
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0)
        return out;
    std::vector<VARIANT> kids(static_cast<size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(object, 0, count, kids.data(), &got)))
        return out;
    for (long i = 0; i < got; ++i) {
        VARIANT& kid = kids[static_cast<size_t>(i)];
        if (kid.vt == VT_DISPATCH && kid.pdispVal != nullptr) {
            IAccessible* child = nullptr;
            if (SUCCEEDED(kid.pdispVal->QueryInterface(IID_IAccessible,
                                                       reinterpret_cast<void**>(&child))))
                out.push_back(child);
        }
        VariantClear(&kid);
    }
    return out;
}

void PrintTree(IAccessible* object, int depth) {
    const Info info = Read(object);
    Write(std::wstring(static_cast<size_t>(depth) * 2, L' ') + RoleName(info.role) + L" \"" +
          info.name + L"\" " + StateNames(info.state) + L" " + std::to_wstring(info.x) + L" " +
          std::to_wstring(info.y) + L" " + std::to_wstring(info.w) + L" " +
          std::to_wstring(info.h) + L"\n");
    for (IAccessible* child : Children(object)) {
        PrintTree(child, depth + 1);
        child->Release();
    }
}

// The first object in tree order with this name; the caller releases it.
IAccessible* FindNamed(IAccessible* object, const std::wstring& name) {
    if (Read(object).name == name) {
        object->AddRef();
        return object;
    }
    IAccessible* found = nullptr;
    for (IAccessible* child : Children(object)) {
        if (found == nullptr)
            found = FindNamed(child, name);
        child->Release();
    }
    return found;
}

int Run(const std::vector<std::wstring>& args) {
    if (args.size() < 3)
        return kUsage;
    const std::wstring& command = args[1];
    Found found = {args[2].c_str(), nullptr};
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) {
        Write(L"no visible window of class " + args[2] + L"\n");
        return kNoWindow;
    }
    IAccessible* client = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(found.window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&client));
    if (FAILED(hr) || client == nullptr) {
        wchar_t text[64];
        wsprintfW(text, L"AccessibleObjectFromWindow failed: 0x%08lX\n", hr);
        Write(text);
        return kNoObject;
    }
    int status = 0;
    if (command == L"tree") {
        PrintTree(client, 0);
    } else if (command == L"focus") {
        VARIANT focus;
        VariantInit(&focus);
        client->get_accFocus(&focus);
        if (focus.vt == VT_DISPATCH && focus.pdispVal != nullptr) {
            IAccessible* object = nullptr;
            focus.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
            Write((object != nullptr ? Read(object).name : L"?") + L"\n");
            if (object != nullptr)
                object->Release();
        } else {
            Write(L"(none)\n");
        }
        VariantClear(&focus);
    } else if ((command == L"press" || command == L"locate") && args.size() >= 4) {
        IAccessible* object = FindNamed(client, args[3]);
        if (object == nullptr) {
            status = kNoSuchName;
        } else if (command == L"press") {
            status = SUCCEEDED(object->accDoDefaultAction(AccSelf())) ? 0 : kActionFailed;
        } else {
            const Info info = Read(object);
            Write(std::to_wstring(info.x) + L" " + std::to_wstring(info.y) + L" " +
                  std::to_wstring(info.w) + L" " + std::to_wstring(info.h) + L" " +
                  StateNames(info.state) + L"\n");
        }
        if (object != nullptr)
            object->Release();
    } else if (command == L"outlive") {
        std::vector<IAccessible*> children = Children(client);
        Write(L"holding the client and " + std::to_wstring(children.size()) + L" children\n");
        for (DWORD waited = 0; IsWindow(found.window) && waited < kOutliveWaitMs; waited += kPollMs)
            Sleep(kPollMs); // polling for the window to close, with a deadline
        // The window (and perhaps its process) is gone: every call must fail
        // cleanly, whatever the failure is called.
        BSTR name = nullptr;
        long count = 0;
        const HRESULT clientName = client->get_accName(AccSelf(), &name);
        SysFreeString(name);
        const HRESULT childCount = client->get_accChildCount(&count);
        HRESULT childName = E_FAIL;
        if (!children.empty()) {
            name = nullptr;
            childName = children[0]->get_accName(AccSelf(), &name);
            SysFreeString(name);
        }
        wchar_t text[160];
        wsprintfW(
            text,
            L"window gone: %d; client name 0x%08lX, child count 0x%08lX, child name 0x%08lX\n",
            IsWindow(found.window) ? 0 : 1, clientName, childCount, childName);
        Write(text);
        for (IAccessible* child : children)
            child->Release();
        if (IsWindow(found.window) || SUCCEEDED(clientName) || SUCCEEDED(childCount) ||
            SUCCEEDED(childName))
            status = kStillAnswers;
    } else {
        status = kUsage;
    }
    client->Release();
    return status;
}

} // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 0; i < argc; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = Run(args);
    CoUninitialize();
    return status;
}
