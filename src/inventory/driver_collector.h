#pragma once

// The driver list: every present device with its installed driver, problem
// state and importance.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/records.h"

namespace tq {

// The device-node status as the configuration manager reports it.
inline constexpr std::uint32_t kDevNodeHasProblem = 0x400;
// "The drivers for this device are not installed."
inline constexpr std::uint32_t kProblemDriverNotInstalled = 28;

struct DevNodeStatus {
    std::uint32_t status = 0;
    std::uint32_t problem = 0;
};

// What the platform knows of one device, before any rule is applied. The
// driver values are present only when the driver's key has them; the status
// only when the status query succeeded.
struct RawDevice {
    std::string description;
    std::string friendly_name;
    std::string class_name;
    std::string manufacturer;
    std::optional<std::string> driver_version;
    std::optional<std::string> driver_date;
    std::optional<std::string> provider;
    std::optional<DevNodeStatus> status;
};

// The class list compared case-insensitively and exactly, then "chipset"
// anywhere in the name.
bool is_important_device(std::string_view class_name, std::string_view device_name);

// The record for one device, or nothing for a device without a name.
std::optional<DriverInfo> driver_info_from_device(const RawDevice& device);

// Every present device, in the platform's enumeration order.
std::vector<DriverInfo> collect_drivers();

}  // namespace tq
