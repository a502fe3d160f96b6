#pragma once

// The Linux sources of the disk list: the block devices in sysfs, their
// serial from udev where sysfs has none, and SMART where the process may
// open the device.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/disk_collector.h"

namespace tq {

// Whole disks only: loop, RAM, compressed-RAM and device-mapper devices are
// not physical disks.
bool is_physical_block_device(std::string_view name);

// The bus from the device's resolved sysfs path.
DiskBusType bus_type_from_device_path(std::string_view path);

// The disks under block/ of `sys_root`, in name order, with every field
// sysfs gives; serial_lookup fills a serial sysfs lacks (udev on the
// machine) and health asks the device for its failure prediction.
struct BlockDeviceSources {
    std::optional<std::string> (*serial_lookup)(const std::string& name) = nullptr;
    std::optional<std::uint32_t> (*predict_failure)(const std::string& name,
                                                    DiskBusType bus) = nullptr;
};
std::vector<DiskInfo> read_block_disks(const std::filesystem::path& sys_root,
                                       const BlockDeviceSources& sources);

// The failure prediction of /dev/<name> through SMART: NVMe's critical
// warning or ATA's SMART RETURN STATUS. Nothing when the device cannot be
// opened (it needs root on most systems) or does not answer.
std::optional<std::uint32_t> smart_predict_failure(const std::string& name, DiskBusType bus);

// 1 when an NVMe health log's critical-warning byte has any bit set.
std::optional<std::uint32_t> nvme_critical_warning_flag(std::uint8_t critical_warning);

// The answer of SMART RETURN STATUS from descriptor-format sense data: 0
// for the healthy signature, 1 for threshold exceeded, nothing otherwise.
std::optional<std::uint32_t> ata_smart_status_from_sense(std::span<const std::uint8_t> sense);

}  // namespace tq
