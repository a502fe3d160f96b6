#include <windows.h>

#include "inventory/registry.h"
#include "inventory/system_collector.h"
#include "util/text.h"

namespace tq {

SystemInfo collect_system_info() {
    SystemInfo info;

    wchar_t name[16] = {};
    DWORD size = 16;
    if (GetComputerNameW(name, &size))
        info.hostname = to_utf8(WStringView(name, size));

    const WStringView key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    OsValues values;
    values.product_name = read_reg_string(RegRoot::LocalMachine, key, L"ProductName");
    values.display_version = read_reg_string(RegRoot::LocalMachine, key, L"DisplayVersion");
    if (!values.display_version) {
        values.release_id = read_reg_string(RegRoot::LocalMachine, key, L"ReleaseId");
    }
    values.current_build = read_reg_string(RegRoot::LocalMachine, key, L"CurrentBuild");
    values.ubr = read_reg_dword(RegRoot::LocalMachine, key, L"UBR");
    values.current_version = read_reg_string(RegRoot::LocalMachine, key, L"CurrentVersion");
    apply_os_values(values, info);

    SYSTEM_INFO native{};
    GetNativeSystemInfo(&native);
    info.architecture = architecture_name(native.wProcessorArchitecture);

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory))
        info.total_ram_bytes = memory.ullTotalPhys;

    apply_smbios(read_smbios(), info);
    return info;
}

}  // namespace tq
