#include "support/win_handles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>

namespace {

bool IsOpenHandle(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

HANDLE NewEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

} // namespace

TEST(WinHandles, HandleOwnerClosesOnceAndMovesOwnership) {
    HANDLE raw = NewEvent();
    ASSERT_TRUE(IsOpenHandle(raw));
    {
        HandleOwner a(raw);
        HandleOwner b(std::move(a));
        EXPECT_FALSE(a.valid());
        EXPECT_TRUE(b.valid());
        EXPECT_TRUE(IsOpenHandle(raw));
        HandleOwner c;
        c = std::move(b);
        EXPECT_EQ(raw, c.get());
    }
    EXPECT_FALSE(IsOpenHandle(raw));

    // Both failure values of the kernel API count as empty and are never closed.
    HandleOwner invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.valid());
    HandleOwner null;
    EXPECT_FALSE(null);

    // release() hands the handle back without closing it.
    HANDLE kept = NewEvent();
    {
        HandleOwner owner(kept);
        EXPECT_EQ(kept, owner.release());
    }
    EXPECT_TRUE(IsOpenHandle(kept));
    CloseHandle(kept);
}

TEST(WinHandles, RegKeyOwnerThroughOutParameter) {
    RegKeyOwner key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()));
    EXPECT_TRUE(key.valid());
    DWORD subkeys = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr));
    key.reset();
    EXPECT_FALSE(key.valid());
}

TEST(WinHandles, DevInfoOwnerTreatsInvalidAsEmpty) {
    DevInfoOwner none;
    EXPECT_FALSE(none.valid());
    DevInfoOwner list(
        SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT));
    EXPECT_TRUE(list.valid());
}

TEST(WinHandles, ComInitGuardUndoesOnlyItsOwnInitialisation) {
    std::thread worker([] {
        {
            ComInitGuard sta(COINIT_APARTMENTTHREADED);
            EXPECT_TRUE(sta.succeeded());
            {
                // The thread is already single-threaded: the second guard may
                // use COM but must not uninitialise the first one's apartment.
                ComInitGuard mta(COINIT_MULTITHREADED);
                EXPECT_EQ(RPC_E_CHANGED_MODE, mta.result());
                EXPECT_TRUE(mta.usable());
                EXPECT_FALSE(mta.succeeded());
            }
            // Still single-threaded: a further STA initialisation nests (S_FALSE).
            HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            EXPECT_EQ(S_FALSE, again);
            CoUninitialize();
        }
        // The first guard has left: the thread may now pick the other apartment.
        ComInitGuard mta(COINIT_MULTITHREADED);
        EXPECT_EQ(S_OK, mta.result());
    });
    worker.join();
}

TEST(WinHandles, ComOwnerReleasesItsReference) {
    ComInitGuard com(COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(com.usable());
    ComOwner<IShellLinkW> link;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, link.put_void()));
    ASSERT_TRUE(link);
    link->AddRef();
    IShellLinkW* raw = link.get();
    link.reset();
    // Our extra reference is the last one left.
    EXPECT_EQ(0u, raw->Release());
}
