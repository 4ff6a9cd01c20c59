#include "ui/desktop_shell_win.h"

#include "support/win_handles.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {

// The desktop's Explorer view, reached the documented way: its window from
// the shell windows list, its top-level browser, the active view's
// background object and from there the shell's automation object.
ComOwner<IShellDispatch2> DesktopShellDispatch() {
    ComOwner<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.put_void())) ||
        !windows)
        return {};
    VARIANT location = {};
    V_VT(&location) = VT_I4;
    V_I4(&location) = CSIDL_DESKTOP;
    VARIANT root = {};
    VariantInit(&root);
    LONG window = 0;
    ComOwner<IDispatch> desktop;
    // S_FALSE: no desktop window (another shell is running).
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              desktop.put()) != S_OK ||
        !desktop)
        return {};
    ComOwner<IServiceProvider> services;
    ComOwner<IShellBrowser> browser;
    ComOwner<IShellView> view;
    ComOwner<IDispatch> background;
    ComOwner<IShellFolderViewDual> folderView;
    ComOwner<IDispatch> application;
    ComOwner<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.put_void())) || !services ||
        FAILED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
        !browser || FAILED(browser->QueryActiveShellView(view.put())) || !view ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) ||
        !background ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put_void())) ||
        !folderView || FAILED(folderView->get_Application(application.put())) || !application ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.put_void())))
        return {};
    return shell;
}

VARIANT TextVariant(BSTR text) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text;
    return value;
}

} // namespace

bool OpenThroughDesktopShell(const std::wstring& address) {
    // Whatever apartment the thread is in serves: the shell lives in
    // another process.
    const ComInitGuard com(COINIT_APARTMENTTHREADED);
    if (!com.usable())
        return false;
    const ComOwner<IShellDispatch2> shell = DesktopShellDispatch();
    if (!shell)
        return false;
    const BstrOwner file(SysAllocString(address.c_str()));
    const BstrOwner verb(SysAllocString(L"open"));
    if (!file || !verb)
        return false;
    VARIANT none;
    VariantInit(&none);
    VARIANT show;
    VariantInit(&show);
    V_VT(&show) = VT_I4;
    V_I4(&show) = SW_SHOWNORMAL;
    return SUCCEEDED(shell->ShellExecute(file.get(), none, none, TextVariant(verb.get()), show));
}

bool OpenWithShellExecute(const std::wstring& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
