#include "probes/portable_pc.h"

#include "probes/hardware_id.h"
#include "support/win_handles.h"

bool IsPortablePc() {
    const DevInfoOwner devices(
        SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (!devices)
        return false;

    // The property is a list of identifiers separated by zero characters, most
    // specific first; only the first one counts. 4096 bytes are offered, far
    // more than any AC adapter's list needs.
    wchar_t ids[4096] = {};
    const DWORD offered = 4096;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices.get(), index, &device); ++index) {
        DWORD type = 0;
        DWORD needed = 0;
        if (!SetupDiGetDeviceRegistryPropertyW(devices.get(), &device, SPDRP_HARDWAREID, &type,
                                               reinterpret_cast<BYTE*>(ids), offered, &needed))
            continue;
        // Read only what this device delivered: the buffer still holds the
        // previous device's longer list behind it.
        const size_t delivered =
            needed < offered ? needed / sizeof(wchar_t) : offered / sizeof(wchar_t);
        if (IsAcAdapterHardwareId(FirstHardwareId(ids, delivered)))
            return true;
    }
    return false;
}
