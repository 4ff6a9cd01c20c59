#include "probes/wmi_helper.h"

#include "probes/capacity_sum.h"
#include "probes/com_text.h"
#include "support/text.h"

void CWmiHelper::Connect(const WmiApartment& apartment) {
    if (m_com)
        return;
    m_com.emplace(apartment.model);
    // RPC_E_CHANGED_MODE: the thread already lives in the other apartment
    // kind. WMI works from there too, for a probe that accepts it; that
    // initialisation is not ours to undo.
    if (!(apartment.joinOtherModel ? m_com->usable() : m_com->succeeded()))
        return;
    // A process may set its security only once; a second call fails, and the
    // settings already in force are good enough for reading WMI.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, apartment.authenticationLevel,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                m_pLocator.put_void())))
        return;
    const BstrOwner ns = MakeBstr(L"ROOT\\CIMV2");
    if (FAILED(m_pLocator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, kWmiConnectFlags,
                                         nullptr, nullptr, m_pServices.put()))) {
        m_pServices.reset();
        return;
    }
    // When it fails, the proxy's default blanket still serves local reads,
    // for a probe that can do with them.
    if (FAILED(SetWmiProxyBlanket(m_pServices.get())) && apartment.needBlanket)
        m_pServices.reset();
}

HRESULT SetWmiProxyBlanket(IUnknown* proxy) {
    return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                             RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                             EOAC_NONE);
}

void CWmiHelper::Disconnect() {
    m_pServices.reset();
    m_pLocator.reset();
    m_pEnumerator.reset();
    m_pObject.reset();
    m_com.reset();
}

bool CWmiHelper::StartQuery(const std::wstring& className) {
    if (!m_pServices)
        return false;
    const BstrOwner language = MakeBstr(L"WQL");
    const BstrOwner query = MakeBstr(L"SELECT * FROM " + className);
    const HRESULT hr = m_pServices->ExecQuery(language.get(), query.get(),
                                              WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                              nullptr, m_pEnumerator.put());
    if (FAILED(hr) || !m_pEnumerator) {
        m_pEnumerator.reset();
        return false;
    }
    // As on the services, a refused blanket leaves the default one.
    SetWmiProxyBlanket(m_pEnumerator.get());
    return true;
}

WmiNext NextWmiObject(IEnumWbemClassObject& enumerator, ComOwner<IWbemClassObject>& object) {
    ULONG returned = 0;
    const HRESULT hr = enumerator.Next(kWmiNextTimeoutMs, 1, object.put(), &returned);
    // WBEM_S_TIMEDOUT and, at the end, WBEM_S_FALSE are success codes that
    // come with no object.
    if (SUCCEEDED(hr) && returned != 0 && object)
        return WmiNext::Object;
    object.reset();
    return hr == WBEM_S_TIMEDOUT ? WmiNext::TimedOut : WmiNext::End;
}

bool CWmiHelper::NextInstance() {
    // A wait that runs out ends this query only.
    return NextWmiObject(*m_pEnumerator.get(), m_pObject) == WmiNext::Object;
}

void CWmiHelper::EndQuery() {
    m_pEnumerator.reset();
    m_pObject.reset();
}

bool CWmiHelper::QueryText(const std::wstring& className, const std::wstring& propertyName,
                           std::wstring& text) {
    const QueryEnd end{*this};
    if (!StartQuery(className) || !NextInstance())
        return false;
    VariantOwner value;
    if (FAILED(m_pObject->Get(propertyName.c_str(), 0, value.get(), nullptr, nullptr)))
        return false;
    VariantToText(value.value(), text);
    return true;
}

bool CWmiHelper::QuerySum(const std::wstring& className, const std::wstring& propertyName,
                          int64_t& total) {
    total = 0;
    const QueryEnd end{*this};
    if (!StartQuery(className))
        return false;
    bool read = false;
    while (NextInstance()) {
        VariantOwner value;
        if (SUCCEEDED(m_pObject->Get(propertyName.c_str(), 0, value.get(), nullptr, nullptr))) {
            // Capacity is a 64-bit unsigned number that WMI hands over as
            // decimal text; a null value gives an empty text and adds 0.
            std::wstring text;
            VariantToText(value.value(), text);
            total = AddTruncated(total, ReadLeadingDouble(text.c_str()));
            read = true;
        }
        m_pObject.reset();
    }
    return read;
}

void VariantToText(const VARIANT& value, std::wstring& text) {
    switch (V_VT(&value)) {
    case VT_I4:
        text = std::to_wstring(static_cast<int>(V_I4(&value)));
        break;
    case VT_UI1:
        text = std::to_wstring(static_cast<int>(V_UI1(&value)));
        break;
    case VT_UI4:
        // Formatted as signed 32-bit, the same as the other integer types.
        text = std::to_wstring(static_cast<int>(V_UI4(&value)));
        break;
    case VT_BSTR: {
        const BSTR s = V_BSTR(&value);
        text = s != nullptr ? std::wstring(s, SysStringLen(s)) : std::wstring();
        break;
    }
    default:
        break;
    }
}

void QueryOsCpuMemory(std::wstring& caption, int& addressWidth, int64_t& memoryBytes) {
    CWmiHelper wmi;
    wmi.Connect();
    QueryOsCpuMemoryWith(wmi, caption, addressWidth, memoryBytes);
    wmi.Disconnect();
}
