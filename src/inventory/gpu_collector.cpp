#include "inventory/gpu_collector.h"

#include <cstdio>

#include "util/text.h"

namespace tq {

std::string gpu_vendor_name(std::uint32_t vendor_id) {
    switch (vendor_id) {
        case 0x10DE:
            return "NVIDIA";
        case 0x1002:
        case 0x1022:
            return "AMD";
        case 0x8086:
            return "Intel";
        case 0x5143:
            return "Qualcomm";
        case 0x13B5:
            return "ARM";
        default:
            return "Unknown";
    }
}

bool is_software_adapter(const AdapterDescription& adapter) {
    return (adapter.flags & 2u) != 0 || adapter.name.find("Basic Render") != std::string::npos ||
           adapter.name.find("Basic Display") != std::string::npos;
}

bool is_integrated_gpu(std::uint32_t vendor_id, std::uint64_t dedicated_video_memory) {
    return dedicated_video_memory == 0 ||
           (vendor_id == 0x8086 && dedicated_video_memory <= 0x1FFFFFFFu);
}

bool is_driver_instance_key(std::string_view name) {
    return !name.empty() && name[0] >= '0' && name[0] <= '9';
}

bool is_useful_driver_entry(const DisplayDriverEntry& entry) {
    return !entry.hardware_id.empty() || !entry.driver_version.empty();
}

const DisplayDriverEntry* match_display_driver(const std::vector<DisplayDriverEntry>& entries,
                                               const AdapterDescription& adapter) {
    char pair[32];
    std::snprintf(pair, sizeof pair, "VEN_%04X&DEV_%04X", adapter.vendor_id, adapter.device_id);
    const std::string wanted = to_upper(pair);
    for (const auto& entry : entries) {
        if (!entry.hardware_id.empty() &&
            to_upper(entry.hardware_id).find(wanted) != std::string::npos) {
            return &entry;
        }
    }
    const std::string name = to_lower(adapter.name);
    for (const auto& entry : entries) {
        if (!entry.driver_desc.empty() && to_lower(entry.driver_desc) == name)
            return &entry;
    }
    return nullptr;
}

std::optional<GpuInfo> gpu_from_adapter(const AdapterDescription& adapter,
                                        const std::vector<DisplayDriverEntry>& entries) {
    if (is_software_adapter(adapter))
        return std::nullopt;
    GpuInfo gpu;
    gpu.name = adapter.name;
    gpu.vendor = gpu_vendor_name(adapter.vendor_id);
    gpu.vram_bytes = adapter.dedicated_video_memory;
    gpu.vendor_id = adapter.vendor_id;
    gpu.device_id = adapter.device_id;
    gpu.subsys_id = adapter.subsys_id;
    gpu.revision = adapter.revision;
    gpu.is_integrated = is_integrated_gpu(adapter.vendor_id, adapter.dedicated_video_memory);
    if (const DisplayDriverEntry* entry = match_display_driver(entries, adapter)) {
        gpu.driver_version = entry->driver_version;
        gpu.driver_date = entry->driver_date;
    }
    return gpu;
}

}  // namespace tq
