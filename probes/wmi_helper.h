// A small WMI query class for ROOT\CIMV2 and the processor, memory and
// operating-system probe built on it.
#pragma once

#include "support/text.h"
#include "support/win_handles.h"

#include <wbemidl.h>

#include <cstdint>
#include <optional>
#include <string>

// How long one IEnumWbemClassObject::Next may wait for the next instance. A
// WMI that hangs (a broken provider, a service that does not answer) would
// otherwise hold the check for ever with WBEM_INFINITE.
constexpr long kWmiNextTimeoutMs = 10 * 1000;

// The locator's connection flags: with flags 0 a broken WMI service can
// hold the call indefinitely; with this one it returns within two minutes.
// https://learn.microsoft.com/en-us/windows/win32/api/wbemcli/nf-wbemcli-iwbemlocator-connectserver
constexpr long kWmiConnectFlags = WBEM_FLAG_CONNECT_USE_MAX_WAIT;

// Lets WMI impersonate this user on the calls made through the proxy. Every
// proxy has a blanket of its own: the enumerator that ExecQuery hands back
// does not take the one set on the services, so both get it.
// https://learn.microsoft.com/en-us/windows/win32/wmisdk/setting-the-security-on-iwbemservices-and-other-proxies
HRESULT SetWmiProxyBlanket(IUnknown* proxy);

enum class WmiNext {
    Object,   // `object` holds the next instance
    End,      // no more instances, or the call failed
    TimedOut, // nothing came within kWmiNextTimeoutMs
};

// Fetches the next instance, waiting at most kWmiNextTimeoutMs.
WmiNext NextWmiObject(IEnumWbemClassObject& enumerator, ComOwner<IWbemClassObject>& object);

// The apartment and security each probe connects with. The processor, memory
// and OS probe joins whatever apartment the thread has; the adapter probe
// needs the single-threaded one, leaves a thread in the other one alone, and
// gives up when the services refuse the impersonation blanket.
struct WmiApartment {
    COINIT model;
    DWORD authenticationLevel; // for CoInitializeSecurity
    bool joinOtherModel;       // RPC_E_CHANGED_MODE still connects
    bool needBlanket;          // a refused blanket leaves it unconnected
};
constexpr WmiApartment kWmiMultithreaded = {COINIT_MULTITHREADED, RPC_C_AUTHN_LEVEL_PKT, true,
                                            false};
constexpr WmiApartment kWmiSingleThreaded = {COINIT_APARTMENTTHREADED, RPC_C_AUTHN_LEVEL_DEFAULT,
                                             false, true};

// Connects on the calling thread and reads properties of the first instance
// of a class, sums one over all of them, or visits every instance. Lives for
// one probe call; the destructor gives everything back.
class CWmiHelper {
public:
    CWmiHelper() = default;
    ~CWmiHelper() { Disconnect(); }
    CWmiHelper(const CWmiHelper&) = delete;
    CWmiHelper& operator=(const CWmiHelper&) = delete;

    // Initialises COM and connects to ROOT\CIMV2. Success shows only as
    // IsConnected(); a failure leaves every query answering false.
    void Connect(const WmiApartment& apartment = kWmiMultithreaded);
    bool IsConnected() const { return static_cast<bool>(m_pServices); }

    // The property of the first instance of the class, as text. True when it
    // was read; `text` is left as it was otherwise.
    bool QueryText(const std::wstring& className, const std::wstring& propertyName,
                   std::wstring& text);

    // The sum of the property over all instances (0 on failure). True when at
    // least one instance's property was read.
    bool QuerySum(const std::wstring& className, const std::wstring& propertyName, int64_t& total);

    // Calls visit(instance) for each instance in WMI's order until it returns
    // false, the instances end or a wait runs out. False when the query
    // could not be started.
    template <typename Visit> bool ForEachInstance(const std::wstring& className, Visit visit) {
        const QueryEnd end{*this};
        if (!StartQuery(className))
            return false;
        while (NextInstance() && visit(*m_pObject.get())) {
        }
        return true;
    }

    // Releases the services, then the locator, then any query leftovers, and
    // undoes this object's COM initialisation (only if it succeeded).
    void Disconnect();

private:
    bool StartQuery(const std::wstring& className);
    bool NextInstance();
    void EndQuery();

    // Ends the current query (enumerator and object) on every return path.
    struct QueryEnd {
        CWmiHelper& self;
        ~QueryEnd() { self.EndQuery(); }
    };

    // Declared first so that, even without Disconnect, COM is shut down only
    // after every pointer below has been released.
    std::optional<ComInitGuard> m_com;
    ComOwner<IEnumWbemClassObject> m_pEnumerator;
    ComOwner<IWbemClassObject> m_pObject;
    ComOwner<IWbemServices> m_pServices; // null: not connected
    ComOwner<IWbemLocator> m_pLocator;
};

// Converts a property value to text: VT_I4, VT_UI1 and VT_UI4 as signed
// decimal, VT_BSTR as itself. Any other type leaves `text` unchanged.
void VariantToText(const VARIANT& value, std::wstring& text);

// The operating system's caption, the processor's address width and the
// installed memory in bytes. Failure values: empty, 0 and 0, each query on
// its own. Leaves the thread's COM state as it found it.
void QueryOsCpuMemory(std::wstring& caption, int& addressWidth, int64_t& memoryBytes);

// The three queries in their order over a connected query object (CWmiHelper
// or a test's stand-in). Each one is asked whatever became of the one before:
// a query that fails or whose wait runs out leaves only its own output at its
// failure value, and every wait is bounded by kWmiNextTimeoutMs.
template <typename Wmi>
void QueryOsCpuMemoryWith(Wmi& wmi, std::wstring& caption, int& addressWidth,
                          int64_t& memoryBytes) {
    addressWidth = 0;
    memoryBytes = 0;
    caption.clear();
    std::wstring width;
    wmi.QueryText(L"Win32_Processor", L"AddressWidth", width);
    addressWidth = ReadLeadingInt(width.c_str());
    wmi.QuerySum(L"Win32_PhysicalMemory", L"Capacity", memoryBytes);
    std::wstring osCaption;
    wmi.QueryText(L"Win32_OperatingSystem", L"Caption", osCaption);
    caption = osCaption;
}
