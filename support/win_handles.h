// Owners for the Windows handles and COM objects the program opens, so that
// every handle is closed on every path, early returns included. Each owner is
// non-copyable and movable; an empty owner closes nothing.
//
//   HandleOwner        HANDLE      CloseHandle (null and INVALID_HANDLE_VALUE
//                                  both count as empty: CreateFileW fails with
//                                  the one, OpenProcess with the other)
//   RegKeyOwner        HKEY        RegCloseKey
//   InternetOwner      HINTERNET   InternetCloseHandle
//   DevInfoOwner       HDEVINFO    SetupDiDestroyDeviceInfoList
//   LocalOwner         HLOCAL      LocalFree (what the security-descriptor
//                                  conversions and CommandLineToArgvW hand
//                                  out)
//   ComOwner<T>        T*          T::Release
//   BstrOwner          BSTR        SysFreeString
//   VariantOwner       VARIANT     VariantClear (a BSTR inside it included)
//   GdiObjectOwner     HGDIOBJ     DeleteObject (fonts, bitmaps, brushes)
//   GlobalOwner        HGLOBAL     GlobalFree
//   MemoryDcOwner      HDC         DeleteDC (CreateCompatibleDC's; a window's
//                                  DC is released, not deleted)
//   SelectionScope     SelectObject, and the previous object selected back
//   ComInitGuard       CoInitializeEx / CoUninitialize
//   LockGuard          EnterCriticalSection / LeaveCriticalSection
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <setupapi.h>
#include <wininet.h>

#include <utility>

// Generic single-handle owner; Traits gives the empty value, the validity test
// and the close call.
template <typename Traits> class UniqueOwner {
public:
    using Type = typename Traits::Type;

    UniqueOwner() = default;
    explicit UniqueOwner(Type handle) : m_handle(handle) {}
    ~UniqueOwner() { reset(); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : m_handle(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const { return m_handle; }
    bool valid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return valid(); }

    // For APIs that return the handle through an out-parameter
    // (RegOpenKeyExW): closes what is held and hands out the slot.
    Type* put() {
        reset();
        return &m_handle;
    }

    Type release() {
        Type handle = m_handle;
        m_handle = Traits::Empty();
        return handle;
    }

    void reset(Type handle = Traits::Empty()) {
        if (Traits::IsValid(m_handle))
            Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Type m_handle = Traits::Empty();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

struct InternetTraits {
    using Type = HINTERNET;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { InternetCloseHandle(h); }
};

struct DevInfoTraits {
    using Type = HDEVINFO;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { SetupDiDestroyDeviceInfoList(h); }
};

struct LocalTraits {
    using Type = HLOCAL;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct BstrTraits {
    using Type = BSTR;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { SysFreeString(h); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

struct GlobalTraits {
    using Type = HGLOBAL;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

using HandleOwner = UniqueOwner<KernelHandleTraits>;
// GlobalAlloc's memory; owned until the clipboard takes it.
using GlobalOwner = UniqueOwner<GlobalTraits>;
// Never give it a predefined root such as HKEY_LOCAL_MACHINE: only keys this
// program opened are closed.
using RegKeyOwner = UniqueOwner<RegKeyTraits>;
using InternetOwner = UniqueOwner<InternetTraits>;
using DevInfoOwner = UniqueOwner<DevInfoTraits>;
using LocalOwner = UniqueOwner<LocalTraits>;
using BstrOwner = UniqueOwner<BstrTraits>;
// An object must not be deleted while a DC has it selected: declare the
// owner before the SelectionScope that selects it.
using GdiObjectOwner = UniqueOwner<GdiObjectTraits>;
using MemoryDcOwner = UniqueOwner<MemoryDcTraits>;

// Selects an object into a DC and selects the previous one back at scope end.
// A null object selects nothing.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~SelectionScope() {
        if (m_previous != nullptr)
            SelectObject(m_dc, m_previous);
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Owns one reference to a COM object. Out-parameters of CoCreateInstance,
// ExecQuery, Next and the like go through put() / put_void().
template <typename T> class ComOwner {
public:
    ComOwner() = default;
    explicit ComOwner(T* object) : m_object(object) {}
    ~ComOwner() { reset(); }
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;
    ComOwner(ComOwner&& other) noexcept : m_object(other.release()) {}
    ComOwner& operator=(ComOwner&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    T** put() {
        reset();
        return &m_object;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    T* release() {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }

    void reset(T* object = nullptr) {
        if (m_object != nullptr)
            m_object->Release();
        m_object = object;
    }

private:
    T* m_object = nullptr;
};

// A VARIANT that is initialised empty and cleared when it goes out of scope,
// so that a BSTR inside it is freed also on early returns.
class VariantOwner {
public:
    VariantOwner() { VariantInit(&m_value); }
    ~VariantOwner() { VariantClear(&m_value); }
    VariantOwner(const VariantOwner&) = delete;
    VariantOwner& operator=(const VariantOwner&) = delete;

    VARIANT* get() { return &m_value; }
    const VARIANT& value() const { return m_value; }
    // Clears what is held, for reuse as an out-parameter.
    VARIANT* put() {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

// Holds a critical section for the scope.
class LockGuard {
public:
    explicit LockGuard(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~LockGuard() { LeaveCriticalSection(&m_lock); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

// Initialises COM on the calling thread and undoes it at scope end, but only
// when the initialisation succeeded (S_OK or S_FALSE). RPC_E_CHANGED_MODE
// means the thread already lives in the other apartment kind: COM is usable,
// yet that initialisation belongs to someone else and must not be undone here.
class ComInitGuard {
public:
    explicit ComInitGuard(DWORD apartment) : m_result(CoInitializeEx(nullptr, apartment)) {}
    ~ComInitGuard() {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComInitGuard(const ComInitGuard&) = delete;
    ComInitGuard& operator=(const ComInitGuard&) = delete;

    HRESULT result() const { return m_result; }
    bool succeeded() const { return SUCCEEDED(m_result); }
    // COM may be used on this thread: our initialisation or an earlier one.
    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};
