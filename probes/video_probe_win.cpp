// The graphics adapter probe: enumerates Win32_VideoController over a WMI
// connection of its own and records the first two controllers in the report.
#include "engine/check_report.h"
#include "probes/com_text.h"
#include "engine/video_record.h"
#include "probes/wmi_helper.h"
#include "support/win_handles.h"

#include <wbemidl.h>

namespace {

// A property that holds a non-null string; anything else counts as absent.
std::optional<std::wstring> StringProperty(IWbemClassObject* object, const wchar_t* name) {
    VariantOwner value;
    if (FAILED(object->Get(name, 0, value.get(), nullptr, nullptr)))
        return std::nullopt;
    if (V_VT(&value.value()) != VT_BSTR || V_BSTR(&value.value()) == nullptr)
        return std::nullopt;
    const BSTR s = V_BSTR(&value.value());
    return std::wstring(s, SysStringLen(s));
}

} // namespace

std::vector<VideoControllerRow> ReadVideoControllers(size_t limit) {
    std::vector<VideoControllerRow> rows;
    // The single-threaded apartment, initialised here and undone here. A
    // thread already in the multithreaded apartment (RPC_E_CHANGED_MODE) is
    // left alone and gets no adapters.
    const ComInitGuard com(COINIT_APARTMENTTHREADED);
    if (!com.succeeded())
        return rows;
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);

    // Declared in the order of creation, so that they are released in reverse:
    // enumerator, services, locator, and only then COM is shut down.
    ComOwner<IWbemLocator> locator;
    ComOwner<IWbemServices> services;
    ComOwner<IEnumWbemClassObject> controllers;

    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.put_void())) ||
        !locator)
        return rows;
    const BstrOwner ns = MakeBstr(L"ROOT\\CIMV2");
    if (FAILED(locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, kWmiConnectFlags,
                                      nullptr, nullptr, services.put())) ||
        !services)
        return rows;
    if (FAILED(SetWmiProxyBlanket(services.get())))
        return rows;
    const BstrOwner language = MakeBstr(L"WQL");
    const BstrOwner query = MakeBstr(L"SELECT * FROM Win32_VideoController");
    if (FAILED(services->ExecQuery(language.get(), query.get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   controllers.put())) ||
        !controllers)
        return rows;
    // The enumerator's own proxy; refused, it keeps the default blanket,
    // which still serves a local read.
    SetWmiProxyBlanket(controllers.get());

    // A timed-out wait ends the probe with the controllers already read.
    while (rows.size() < limit) {
        ComOwner<IWbemClassObject> controller;
        if (NextWmiObject(*controllers.get(), controller) != WmiNext::Object)
            break;
        VideoControllerRow row;
        row.description = StringProperty(controller.get(), L"Description");
        row.driverVersion = StringProperty(controller.get(), L"DriverVersion");
        rows.push_back(std::move(row));
    }
    return rows;
}
