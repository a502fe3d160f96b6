#include "inventory/driver_collector.h"

#include <array>

#include "util/text.h"

namespace tq {
namespace {

constexpr std::array<std::string_view, 8> kImportantClasses{
    "Display", "Net", "System", "SCSIAdapter", "HDC", "USB", "Media", "Monitor",
};

}  // namespace

bool is_important_device(std::string_view class_name, std::string_view device_name) {
    const std::string lowered_class = to_lower(class_name);
    for (const std::string_view important : kImportantClasses) {
        if (lowered_class == to_lower(important)) {
            return true;
        }
    }
    return to_lower(device_name).find("chipset") != std::string::npos;
}

std::optional<DriverInfo> driver_info_from_device(const RawDevice& device) {
    DriverInfo info;
    info.device_name = device.description.empty() ? device.friendly_name : device.description;
    if (info.device_name.empty()) {
        return std::nullopt;
    }
    info.class_name = device.class_name;
    info.manufacturer = device.manufacturer;
    info.driver_version = device.driver_version.value_or("");
    info.driver_date = device.driver_date.value_or("");
    info.signer = device.provider.value_or("");
    info.is_signed = !info.signer.empty();
    if (device.status) {
        info.has_problem = (device.status->status & kDevNodeHasProblem) != 0;
        info.problem_code = info.has_problem ? device.status->problem : 0;
    }
    info.important = is_important_device(info.class_name, info.device_name);
    return info;
}

}  // namespace tq
