#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "hwid/hwid.h"
#include "support/test_support.h"
#include "util/text.h"

namespace tq {
namespace {

bool is_upper_hex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

TEST(LinuxSources, MachineIdIsTheSystemsOwn) {
    std::ifstream in("/etc/machine-id");
    if (!in) {
        EXPECT_EQ(read_machine_guid(), "");
        return;
    }
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(read_machine_guid(), trim(line));
    EXPECT_EQ(read_windows_product_id(), "");
}

TEST(LinuxSources, VolumesHaveStableSerialTexts) {
    for (const VolumeSerial& volume : list_volume_serials()) {
        EXPECT_FALSE(volume.drive.empty());
        EXPECT_FALSE(volume.serial.empty());
        EXPECT_EQ(volume.serial.find('-'), std::string::npos) << volume.serial;
        EXPECT_EQ(volume.serial, to_upper(volume.serial));
    }
}

TEST(LinuxSources, AdaptersIncludeLoopbackAndKeepOnlyRealOnes) {
    const auto adapters = list_network_adapters();
    // Every Linux system has its loopback link.
    EXPECT_TRUE(std::any_of(adapters.begin(), adapters.end(),
                            [](const AdapterAddress& a) { return a.if_type == 24; }));
    for (const std::string& mac : select_mac_addresses(adapters)) {
        EXPECT_GE(mac.size(), 2u);
        EXPECT_LE(mac.size(), 16u);
        EXPECT_TRUE(is_upper_hex(mac)) << mac;
    }
}

}  // namespace
}  // namespace tq
