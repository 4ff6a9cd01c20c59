// A small WMI query class for ROOT\CIMV2 and the processor, memory and
// operating-system probe built on it.
#pragma once

#include "support/win_handles.h"

#include <wbemidl.h>

#include <cstdint>
#include <optional>
#include <string>

// Connects on the calling thread in the multithreaded apartment and reads
// properties of the first instance of a class, or sums one over all of them.
// Lives for one probe call; the destructor gives everything back.
class CWmiHelper {
public:
    CWmiHelper() = default;
    ~CWmiHelper() { Disconnect(); }
    CWmiHelper(const CWmiHelper&) = delete;
    CWmiHelper& operator=(const CWmiHelper&) = delete;

    // Initialises COM and connects to ROOT\CIMV2. Success shows only as
    // IsConnected(); a failure leaves every query answering false.
    void Connect();
    bool IsConnected() const { return static_cast<bool>(m_pServices); }

    // The property of the first instance of the class, as text. True when it
    // was read; `text` is left as it was otherwise.
    bool QueryText(const std::wstring& className, const std::wstring& propertyName,
                   std::wstring& text);

    // The sum of the property over all instances (0 on failure). True when at
    // least one instance's property was read.
    bool QuerySum(const std::wstring& className, const std::wstring& propertyName, int64_t& total);

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
