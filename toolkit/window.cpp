#include "toolkit/window.h"

#include "toolkit/window_metrics.h"

#include <windowsx.h>

namespace {

// The program's own words for the box; without them there is no box.
const wchar_t* g_failureText = nullptr;
const wchar_t* g_failureCaption = nullptr;

void DefaultLayoutFailure() {
    if (g_failureText != nullptr)
        MessageBoxW(nullptr, g_failureText, g_failureCaption, MB_OK | MB_ICONERROR);
    ExitProcess(LAYOUT_FAILURE_EXIT_CODE);
}

LayoutFailureHandler g_layoutFailure = &DefaultLayoutFailure;

} // namespace

void SetLayoutFailureMessage(const wchar_t* text, const wchar_t* caption) {
    g_failureText = text;
    g_failureCaption = caption;
}

void SetLayoutFailureHandler(LayoutFailureHandler handler) {
    g_layoutFailure = handler != nullptr ? handler : &DefaultLayoutFailure;
}

void ShowLayoutFailure() {
    g_layoutFailure();
}

CWindowWnd::~CWindowWnd() {
    // An object destroyed with its window still open must not leave the
    // window calling into freed memory.
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
}

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &CWindowWnd::WindowProc;
    wc.hInstance = CPaintManagerUI::GetInstance() != nullptr ? CPaintManagerUI::GetInstance()
                                                             : GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = GetWindowClassName();
    if (RegisterClassExW(&wc) != 0)
        return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y,
                        int cx, int cy, HMENU menu) {
    if (!RegisterWindowClass())
        return nullptr;
    m_destroyed = false;
    m_closeCode = 0;
    HINSTANCE instance = CPaintManagerUI::GetInstance() != nullptr ? CPaintManagerUI::GetInstance()
                                                                   : GetModuleHandleW(nullptr);
    m_hWnd = CreateWindowExW(exStyle, GetWindowClassName(), name, style, x, y, cx, cy, parent, menu,
                             instance, this);
    return m_hWnd;
}

void CWindowWnd::CenterWindow() {
    if (m_hWnd == nullptr)
        return;
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                    &monitor);
    const RECT work = monitor.rcWork;
    RECT center = work;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &center);

    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    // Keep it on the work area; a window larger than the area keeps its top
    // left corner visible, where the caption is.
    if (x + width > work.right)
        x = work.right - width;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (x < work.left)
        x = work.left;
    if (y < work.top)
        y = work.top;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT CWindowWnd::ShowModal() {
    if (m_hWnd == nullptr || !IsWindow(m_hWnd))
        return m_closeCode;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    SetForegroundWindow(m_hWnd);
    SetFocus(m_hWnd);
    if (owner != nullptr)
        EnableWindow(owner, FALSE);
    MSG msg;
    while (!m_destroyed) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to an outer loop: hand it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    return m_closeCode;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::Close(UINT code) {
    if (m_hWnd != nullptr)
        PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(code), 0);
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        m_closeCode = static_cast<UINT>(wParam);
        DestroyWindow(m_hWnd);
        return 0;
    }
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->m_destroyed = true;
        self->OnFinalMessage(hwnd);
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == L"click")
        OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr)
        return;
    const std::wstring& name = msg.pSender->GetName();
    if (name == L"closebtn")
        Close(1);
    else if (name == L"minbtn")
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn")
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn")
        SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::OnCreate() {
    // The skin draws the whole window: no native caption or frame.
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME);
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);

    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + GetSkinFolder());
    m_pm.Init(m_hWnd);
    m_pm.SetDpi(WindowDpi(m_hWnd));
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_pm);
    if (root == nullptr) {
        ShowLayoutFailure();
        return -1; // only reached when a test replaced the handler
    }
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);

    // The layout's size is authored at 96 DPI; a screen too small for it
    // gets the window cut down to its work area (WM_WINDOWPOSCHANGING),
    // and the scroll areas make up the difference.
    const SIZE size = m_pm.GetInitSize();
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (size.cx <= 0 || size.cy <= 0)
        flags |= SWP_NOSIZE;
    SetWindowPos(m_hWnd, nullptr, 0, 0, m_pm.Scale(size.cx), m_pm.Scale(size.cy), flags);
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_NCHITTEST: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(m_hWnd, &pt);
        return m_pm.IsCaptionPoint(pt) ? HTCAPTION : HTCLIENT;
    }
    case WM_KEYDOWN:
        // Escape closes; Tab, Enter, Space and the scroll keys are the paint
        // manager's.
        if (wParam == VK_ESCAPE) {
            Close(1);
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_WINDOWPOSCHANGING:
        KeepSizeInsideWorkArea(m_hWnd, *reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale (or the scale changed): fonts
        // and pictures are made again and the tree laid out anew, in the
        // rectangle Windows suggests, which keeps the window where the user
        // put it and avoids bouncing between two monitors.
        m_pm.SetDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        if (suggested != nullptr)
            SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(message, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}
