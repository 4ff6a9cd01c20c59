#include "app/process_hardening_win.h"

#include "support/system_library_win.h"

#include <windows.h>

#include <delayimp.h>

#include <cstdint>
#include <cstring>

namespace {

// Not in Windows 7 without KB2533623, and not declared for _WIN32_WINNT
// 0x0601: looked up at run time so the exe still starts there.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// DLLs that a delay-loaded DLL loads by bare name on first use, in a way the
// search limits do not reach: Wine's GDI+ pulls in windowscodecs through its
// own delay import, which ignores SetDefaultDllDirectories. Loaded from
// System32 beforehand, the later load by name finds the module already there.
struct PulledIn {
    const char* dll;
    const wchar_t* pulls;
};
constexpr PulledIn kPulledIn[] = {{"gdiplus.dll", L"windowscodecs.dll"}};

// Longest DLL name the delay-load table holds, with room to spare.
constexpr size_t kDllNameChars = 64;

// Called by the delay-load helper (mingw-w64's delayimp, like Visual C++'s)
// before it loads a DLL by bare name with LoadLibraryA. That search is
// limited to System32 where SetDefaultDllDirectories exists; on Windows 7
// without KB2533623 it would look in the exe's folder first. The module
// returned here is used instead; null leaves the helper to its own load.
// https://learn.microsoft.com/cpp/build/reference/understanding-the-helper-function
FARPROC WINAPI LoadDelayedFromSystem32(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr)
        return nullptr;
    for (const PulledIn& pulled : kPulledIn)
        if (_stricmp(info->szDll, pulled.dll) == 0)
            LoadSystemLibrary(pulled.pulls);
    // The names are the linker's, plain ASCII.
    const size_t length = std::strlen(info->szDll);
    if (length >= kDllNameChars)
        return nullptr;
    wchar_t name[kDllNameChars] = {};
    for (size_t i = 0; i < length; ++i)
        name[i] = static_cast<unsigned char>(info->szDll[i]);
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name));
}

} // namespace

// The helper's hook, read on every delay-loaded DLL's first call.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = &LoadDelayedFromSystem32;
}

DllSearchHardening HardenDllSearch() {
    DllSearchHardening result;
    // kernel32 is mapped into every process, so this lookup loads nothing.
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefault != nullptr)
            result.defaultDirectoriesLimited = setDefault(SEARCH_SYSTEM32_ONLY) != FALSE;
    }
    // Takes the current folder out of the search (it follows the exe's folder
    // otherwise); the only protection left on a Windows 7 without the update.
    result.currentFolderRemoved = SetDllDirectoryW(L"") != FALSE;
    // SearchPathW, used by some shell calls, looks in the current folder last.
    SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    return result;
}

// The stack protector's canary and failure handler. gcc's libssp would
// provide both, but its start-up code seeds the canary through
// CryptAcquireContext, which loads rsaenh.dll and its dependencies before
// wWinMain, with the exe's folder first in the search. Defining them here
// keeps libssp out of the link. The seed mixes what the process has at hand
// without loading anything, as the Visual C++ runtime does for its cookie.
extern "C" {
// Non-zero from the start, so frames entered before the seeding still check
// against a value that is not trivially 0.
void* __stack_chk_guard = reinterpret_cast<void*>(static_cast<uintptr_t>(0xBB40E64Eu));

__attribute__((noreturn)) void __stack_chk_fail(void) {
    // The stack is corrupt: end at once, with the code Windows uses for it.
    TerminateProcess(GetCurrentProcess(), 0xC0000409u); // STATUS_STACK_BUFFER_OVERRUN
    __builtin_unreachable();
}
}

namespace {

// Runs before the other constructors of the program (priority 101), while
// no protected frame is live yet, and is itself built without the protector.
__attribute__((constructor(101), optimize("no-stack-protector"))) void SeedStackGuard() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    uintptr_t seed = time.dwLowDateTime ^ time.dwHighDateTime;
    seed ^= GetCurrentProcessId() << 8;
    seed ^= GetCurrentThreadId() << 16;
    seed ^= GetTickCount();
    seed ^= counter.LowPart ^ counter.HighPart;
    seed ^= reinterpret_cast<uintptr_t>(&counter); // the stack's random base
    if (seed == 0)
        seed = 0xBB40E64Eu;
    __stack_chk_guard = reinterpret_cast<void*>(seed);
}

} // namespace
