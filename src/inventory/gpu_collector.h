#pragma once

// Graphics adapters with the version and date of their installed driver.
// Software renderers are left out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/records.h"

namespace tq {

// One installed display driver instance (all texts possibly empty).
struct DisplayDriverEntry {
    std::string hardware_id;
    std::string driver_version;
    std::string driver_date;
    std::string driver_desc;
};

std::vector<GpuInfo> collect_gpus();

// The installed display drivers, in the platform's enumeration order.
std::vector<DisplayDriverEntry> read_display_driver_entries();

// What the platform tells of one adapter.
struct AdapterDescription {
    std::string name;
    std::uint32_t vendor_id = 0;
    std::uint32_t device_id = 0;
    std::uint32_t subsys_id = 0;
    std::uint32_t revision = 0;
    std::uint64_t dedicated_video_memory = 0;
    std::uint32_t flags = 0;
};

// "NVIDIA", "AMD", "Intel", "Qualcomm", "ARM" or "Unknown".
std::string gpu_vendor_name(std::uint32_t vendor_id);

// True for software adapters (flag 2) and the platform's basic render and
// display adapters.
bool is_software_adapter(const AdapterDescription& adapter);

bool is_integrated_gpu(std::uint32_t vendor_id, std::uint64_t dedicated_video_memory);

// Numbered driver instance keys only ("0000", "0001", ...).
bool is_driver_instance_key(std::string_view name);

// An entry is worth keeping when it names a hardware id or a version.
bool is_useful_driver_entry(const DisplayDriverEntry& entry);

// The entry for an adapter: first by VEN_xxxx&DEV_xxxx inside the hardware
// id, then by description equal to the adapter name ignoring ASCII case;
// within each rule the first in list order. Null when none matches.
const DisplayDriverEntry* match_display_driver(const std::vector<DisplayDriverEntry>& entries,
                                               const AdapterDescription& adapter);

// The record for an adapter, or nothing for an adapter that is left out.
std::optional<GpuInfo> gpu_from_adapter(const AdapterDescription& adapter,
                                        const std::vector<DisplayDriverEntry>& entries);

}  // namespace tq
