// The native window under a control tree. CWindowWnd wraps one HWND and its
// message loop; WindowImplBase adds the skin: it builds the layout on
// creation, paints it, and turns clicks into OnClick calls.
#pragma once

#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager.h"

#include <windows.h>

#include <string>

// The program's windows: a visible popup with a caption and a system menu,
// painting clipped around its children and siblings.
constexpr DWORD WINDOW_STYLE_DIALOG = 0x96C80000;
static_assert(WINDOW_STYLE_DIALOG == (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                      WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              "the dialog style is these flags");

class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT,
                HMENU menu = nullptr);
    // Centres over the owner, or over the nearest monitor's work area, and
    // keeps the window inside that work area. The size does not change.
    void CenterWindow();
    // Shows the window and runs a message loop on this thread until the
    // window is destroyed; returns the code given to Close (0 when closed
    // another way).
    UINT ShowModal();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Posts the close request: callable from any thread.
    void Close(UINT code = IDOK);

protected:
    virtual const wchar_t* GetWindowClassName() const = 0;
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND) {}

    HWND m_hWnd = nullptr;

private:
    bool RegisterWindowClass();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_closeCode = 0;
    bool m_destroyed = false;
};

// Called when a window's layout cannot be loaded. The default shows an error
// box with the program's message (SetLayoutFailureMessage; the texts must
// outlive every window) and ends the process with LAYOUT_FAILURE_EXIT_CODE;
// tests replace it.
constexpr UINT LAYOUT_FAILURE_EXIT_CODE = 1;
void SetLayoutFailureMessage(const wchar_t* text, const wchar_t* caption);
using LayoutFailureHandler = void (*)();
void SetLayoutFailureHandler(LayoutFailureHandler handler);
void ShowLayoutFailure();

class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
public:
    CPaintManagerUI& GetPaintManager() { return m_pm; }

    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const wchar_t* className) override { return nullptr; }

protected:
    virtual std::wstring GetSkinFolder() = 0;
    virtual std::wstring GetSkinFile() = 0;
    // The layout has been built and the window sized to it.
    virtual void InitWindow() {}
    // "closebtn" closes, "minbtn"/"maxbtn"/"restorebtn" size the window.
    virtual void OnClick(TNotifyUI& msg);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CPaintManagerUI m_pm;

private:
    LRESULT OnCreate();
};
