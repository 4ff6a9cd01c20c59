// The graphics adapter probe: enumerates Win32_VideoController through
// CWmiHelper in the single-threaded apartment and hands back the first
// controllers' rows.
#include "probes/video_probe.h"

#include "probes/com_text.h"
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
    if (limit == 0)
        return rows;
    // The single-threaded apartment, initialised here and undone when wmi
    // goes. A thread already in the multithreaded apartment is left alone
    // and gets no adapters.
    CWmiHelper wmi;
    wmi.Connect(kWmiSingleThreaded);
    // A timed-out wait ends the probe with the controllers already read.
    wmi.ForEachInstance(L"Win32_VideoController", [&rows, limit](IWbemClassObject& controller) {
        VideoControllerRow row;
        row.description = StringProperty(&controller, L"Description");
        row.driverVersion = StringProperty(&controller, L"DriverVersion");
        rows.push_back(std::move(row));
        return rows.size() < limit;
    });
    return rows;
}
