#include <gtest/gtest.h>

#include "inventory/driver_collector.h"

namespace tq {
namespace {

TEST(WindowsDrivers, EveryListedDeviceIsNamedAndConsistent) {
    for (const DriverInfo& d : collect_drivers()) {
        EXPECT_FALSE(d.device_name.empty());
        EXPECT_EQ(d.is_signed, !d.signer.empty()) << d.device_name;
        if (!d.has_problem) {
            EXPECT_EQ(d.problem_code, 0u) << d.device_name;
        }
        EXPECT_EQ(d.important, is_important_device(d.class_name, d.device_name));
    }
}

}  // namespace
}  // namespace tq
