#include <gtest/gtest.h>

#include <algorithm>

#include "hwid/hwid.h"
#include "support/test_support.h"

namespace tq {
namespace {

bool is_upper_hex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

TEST(WindowsSources, VolumesInLetterOrderWithEightDigitSerials) {
    const auto volumes = list_volume_serials();
    // The system drive always has a volume.
    ASSERT_FALSE(volumes.empty());
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        ASSERT_EQ(volumes[i].drive.size(), 2u);
        EXPECT_EQ(volumes[i].drive[1], ':');
        EXPECT_EQ(volumes[i].serial.size(), 8u);
        EXPECT_TRUE(is_upper_hex(volumes[i].serial)) << volumes[i].serial;
        if (i > 0) {
            EXPECT_LT(volumes[i - 1].drive, volumes[i].drive);
        }
    }
}

TEST(WindowsSources, AdaptersAndInstallationIds) {
    for (const std::string& mac : select_mac_addresses(list_network_adapters())) {
        EXPECT_TRUE(is_upper_hex(mac)) << mac;
        EXPECT_LE(mac.size(), 16u);
    }
    // Every installation, Wine's included, has its machine GUID.
    const std::string guid = read_machine_guid();
    EXPECT_EQ(guid.size(), 36u) << guid;
}

}  // namespace
}  // namespace tq
