#include <gtest/gtest.h>

#include <filesystem>

#include "inventory/driver_collector.h"

namespace tq {
namespace {

TEST(LinuxDrivers, EveryListedDeviceIsNamedAndConsistent) {
    const auto drivers = collect_drivers();
    std::error_code ec;
    const bool has_pci = std::filesystem::exists("/sys/bus/pci/devices", ec) &&
                         !std::filesystem::is_empty("/sys/bus/pci/devices", ec);
    if (has_pci) {
        EXPECT_FALSE(drivers.empty());
    }
    for (const DriverInfo& d : drivers) {
        EXPECT_FALSE(d.device_name.empty());
        EXPECT_FALSE(d.class_name.empty()) << d.device_name;
        EXPECT_EQ(d.is_signed, !d.signer.empty()) << d.device_name;
        if (d.has_problem) {
            EXPECT_EQ(d.problem_code, 28u) << d.device_name;
            EXPECT_EQ(d.driver_version, "") << d.device_name;
        } else {
            EXPECT_EQ(d.problem_code, 0u) << d.device_name;
        }
        EXPECT_EQ(d.important, is_important_device(d.class_name, d.device_name));
    }
}

}  // namespace
}  // namespace tq
