#include <windows.h>
// windows.h first: the Setup API and configuration manager headers need it.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <vector>

#include "inventory/driver_collector.h"
#include "inventory/driver_collector_win32.h"
#include "inventory/registry.h"
#include "util/log.h"
#include "util/text.h"

namespace tq {

std::string read_device_property_string(HDEVINFO device_info_set, SP_DEVINFO_DATA* device_info_data,
                                        DWORD property) {
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyW(device_info_set, device_info_data, property, nullptr, nullptr,
                                      0, &size);
    if (size == 0) {
        return "";
    }
    // Whole UTF-16 units, zero-filled, with one more so the text always ends
    // in a NUL even when the property itself does not.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(device_info_set, device_info_data, property, nullptr,
                                           reinterpret_cast<PBYTE>(buffer.data()), size, nullptr)) {
        return "";
    }
    return to_utf8(WStringView(buffer.data()));
}

std::vector<DriverInfo> collect_drivers() {
    std::vector<DriverInfo> out;
    const HDEVINFO set =
        SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) {
        log_warn("SetupDiGetClassDevs failed: " + win32_error_text(GetLastError()));
        return out;
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof(SP_DEVINFO_DATA);
        if (!SetupDiEnumDeviceInfo(set, index, &data)) {
            break;
        }
        RawDevice raw;
        raw.description = read_device_property_string(set, &data, SPDRP_DEVICEDESC);
        if (raw.description.empty()) {
            raw.friendly_name = read_device_property_string(set, &data, SPDRP_FRIENDLYNAME);
        }
        raw.class_name = read_device_property_string(set, &data, SPDRP_CLASS);
        raw.manufacturer = read_device_property_string(set, &data, SPDRP_MFG);
        const std::string driver_key = read_device_property_string(set, &data, SPDRP_DRIVER);
        if (!driver_key.empty()) {
            const WString key =
                TQ_W("SYSTEM\\CurrentControlSet\\Control\\Class\\") + to_wide(driver_key);
            raw.driver_version = read_reg_string(RegRoot::LocalMachine, key, TQ_W("DriverVersion"));
            raw.driver_date = read_reg_string(RegRoot::LocalMachine, key, TQ_W("DriverDate"));
            raw.provider = read_reg_string(RegRoot::LocalMachine, key, TQ_W("ProviderName"));
        }
        ULONG status = 0;
        ULONG problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, data.DevInst, 0) == CR_SUCCESS) {
            raw.status = DevNodeStatus{status, problem};
        }
        if (auto info = driver_info_from_device(raw)) {
            out.push_back(std::move(*info));
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return out;
}

}  // namespace tq
