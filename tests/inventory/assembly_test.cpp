#include <gtest/gtest.h>

#include <regex>

#include "inventory/inventory.h"

namespace tq {
namespace {

const std::regex kTimestamp(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2})");

void expect_empty_identity(const HwidComponents& hwid) {
    EXPECT_EQ(hwid.smbios_uuid, "");
    EXPECT_EQ(hwid.machine_guid, "");
    EXPECT_EQ(hwid.cpu_signature, "");
    EXPECT_TRUE(hwid.disk_serials.empty());
    EXPECT_TRUE(hwid.volume_serials.empty());
    EXPECT_TRUE(hwid.mac_addresses.empty());
}

TEST(Assembly, WithoutUpdatesTheSummaryStaysEmpty) {
    const Inventory inventory = collect_inventory(false);
    EXPECT_EQ(inventory.schema_version, 1);
    EXPECT_TRUE(std::regex_match(inventory.generated_at, kTimestamp)) << inventory.generated_at;
    EXPECT_TRUE(inventory.updates.installed.empty());
    EXPECT_TRUE(inventory.updates.available.empty());
    EXPECT_EQ(inventory.updates.important_count, 0u);
    EXPECT_EQ(inventory.updates.last_search, "");
    expect_empty_identity(inventory.hwid);
    // Every machine has a processor and an operating system.
    EXPECT_GT(inventory.cpu.logical_cores, 0u);
    EXPECT_FALSE(inventory.system.os_name.empty());
}

TEST(Assembly, WithUpdatesOnlyInstalledOnesAreSearched) {
    const Inventory inventory = collect_inventory(true);
    EXPECT_EQ(inventory.schema_version, 1);
    EXPECT_TRUE(std::regex_match(inventory.updates.last_search, kTimestamp));
    // The stamp is taken before any collector runs; both texts sort by time.
    EXPECT_LE(inventory.generated_at, inventory.updates.last_search);
    EXPECT_TRUE(inventory.updates.available.empty());
    EXPECT_EQ(inventory.updates.important_count, 0u);
    for (const UpdateInfo& update : inventory.updates.installed) {
        EXPECT_TRUE(update.installed);
    }
    expect_empty_identity(inventory.hwid);
}

TEST(Assembly, DocumentHasTheNineKeys) {
    const json doc = collect_inventory(false);
    std::vector<std::string> keys;
    for (const auto& item : doc.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"cpu", "disks", "drivers", "generated_at", "gpus",
                                              "hwid", "schema_version", "system", "updates"}));
}

}  // namespace
}  // namespace tq
