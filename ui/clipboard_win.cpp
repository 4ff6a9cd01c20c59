#include "ui/clipboard_win.h"

#include "support/win_handles.h"

#include <cstring>

namespace {

// Another program may hold the clipboard open for a moment (a clipboard
// manager reading what was just copied): OpenClipboard then fails at once,
// so try a few times before giving up.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenRetryMilliseconds = 20;

class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < kOpenAttempts && !m_open; ++attempt) {
            if (attempt > 0)
                Sleep(kOpenRetryMilliseconds);
            m_open = OpenClipboard(owner) != FALSE;
        }
    }
    ~ClipboardScope() {
        if (m_open)
            CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

} // namespace

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
    // The clipboard wants movable global memory holding the text and its
    // terminating zero.
    // https://learn.microsoft.com/windows/win32/dataxchg/using-the-clipboard#copying-information-to-the-clipboard
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalOwner memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    void* target = GlobalLock(memory.get());
    if (target == nullptr)
        return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());

    const ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard())
        return false;
    if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr)
        return false;
    // The system owns the memory now.
    static_cast<void>(memory.release());
    return true;
}
