#include <dxgi.h>
#include <windows.h>

#include "inventory/gpu_collector.h"
#include "inventory/registry.h"
#include "util/log.h"
#include "util/text.h"

namespace tq {

namespace {

const WStringView kDisplayClass =
    L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}";

std::string read_value(const WString& path, const wchar_t* name) {
    return to_utf8(read_reg_wstring(RegRoot::LocalMachine, path, name).value_or(L""));
}

// The interface id is spelled out here so the call does not depend on how
// the toolchain's headers define it.
constexpr GUID kIidFactory1 = {
    0x770aae78, 0xf26f, 0x4dba, {0xa8, 0x29, 0x25, 0x3c, 0x83, 0xd1, 0xb3, 0x87}};

}  // namespace

std::vector<DisplayDriverEntry> read_display_driver_entries() {
    std::vector<DisplayDriverEntry> entries;
    for (const WString& name : list_reg_subkeys(RegRoot::LocalMachine, kDisplayClass)) {
        if (!is_driver_instance_key(to_utf8(name)))
            continue;
        const WString path = WString(kDisplayClass) + L"\\" + name;
        DisplayDriverEntry entry;
        entry.hardware_id = read_value(path, L"HardwareInformation.DeviceID");
        entry.driver_version = read_value(path, L"DriverVersion");
        entry.driver_date = read_value(path, L"DriverDate");
        entry.driver_desc = read_value(path, L"DriverDesc");
        if (is_useful_driver_entry(entry))
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<GpuInfo> collect_gpus() {
    const std::vector<DisplayDriverEntry> entries = read_display_driver_entries();
    std::vector<GpuInfo> gpus;

    IDXGIFactory1* factory = nullptr;
    const HRESULT hr = CreateDXGIFactory1(kIidFactory1, reinterpret_cast<void**>(&factory));
    if (FAILED(hr) || !factory) {
        log_warn("CreateDXGIFactory1 failed: " + hresult_text(hr));
        return gpus;
    }
    for (UINT index = 0;; ++index) {
        IDXGIAdapter1* adapter = nullptr;
        const HRESULT enum_hr = factory->EnumAdapters1(index, &adapter);
        if (enum_hr == DXGI_ERROR_NOT_FOUND || !adapter)
            break;
        DXGI_ADAPTER_DESC1 desc{};
        if (SUCCEEDED(adapter->GetDesc1(&desc))) {
            AdapterDescription a;
            std::size_t length = 0;
            while (length < 128 && desc.Description[length] != 0)
                ++length;
            a.name = to_utf8(WStringView(desc.Description, length));
            a.vendor_id = desc.VendorId;
            a.device_id = desc.DeviceId;
            a.subsys_id = desc.SubSysId;
            a.revision = desc.Revision;
            a.dedicated_video_memory = desc.DedicatedVideoMemory;
            a.flags = desc.Flags;
            if (auto gpu = gpu_from_adapter(a, entries))
                gpus.push_back(std::move(*gpu));
        }
        adapter->Release();
    }
    factory->Release();
    return gpus;
}

}  // namespace tq
