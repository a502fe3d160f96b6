#include <gtest/gtest.h>

#include "inventory/records.h"

namespace tq {
namespace {

std::vector<std::string> keys_of(const json& j) {
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

TEST(Records, EmptyInventoryHasEveryKeyAndNoNull) {
    Inventory inv;
    inv.schema_version = 1;
    const json j = inv;
    EXPECT_EQ(keys_of(j),
              (std::vector<std::string>{"cpu", "disks", "drivers", "generated_at", "gpus", "hwid",
                                        "schema_version", "system", "updates"}));
    EXPECT_EQ(j.dump(),
              R"({"cpu":{"architecture":"","base_clock_mhz":0,"current_clock_mhz":0,"family":0,)"
              R"("features":"","l1_cache_kb":0,"l2_cache_kb":0,"l3_cache_kb":0,)"
              R"("logical_cores":0,"max_clock_mhz":0,"model":0,"name":"","physical_cores":0,)"
              R"("stepping":0,"vendor":""},"disks":[],"drivers":[],"generated_at":"","gpus":[],)"
              R"("hwid":{"baseboard_serial":"","bios_serial":"","cpu_signature":"",)"
              R"("disk_serials":[],"gpu_signature":"","mac_addresses":[],"machine_guid":"",)"
              R"("smbios_uuid":"","volume_serials":[],"windows_product_id":""},)"
              R"("schema_version":1,"system":{"architecture":"","bios_date":"","bios_version":"",)"
              R"("hostname":"","manufacturer":"","model":"","os_build":"","os_name":"",)"
              R"("os_version":"","total_ram_bytes":0},"updates":{"available":[],)"
              R"("important_count":0,"installed":[],"last_search":""}})");
    EXPECT_TRUE(j["schema_version"].is_number_integer());
}

TEST(Records, DiskBusTypeNames) {
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {0, "Unknown"}, {1, "SATA"},  {2, "NVMe"},    {3, "USB"},
        {4, "RAID"},    {5, "Other"}, {6, "Unknown"}, {0xFFFFFFFFu, "Unknown"},
    };
    for (const auto& [value, name] : cases) {
        DiskInfo d;
        d.bus_type = static_cast<DiskBusType>(value);
        const json j = d;
        EXPECT_EQ(j["bus_type"], name) << value;
    }
}

TEST(Records, DiskKeyOrderAndValues) {
    DiskInfo d;
    d.model = "Disk";
    d.size_bytes = 2000398934016ull;
    d.is_ssd = true;
    d.smart_ok = true;
    d.health_text = "Healthy";
    d.bus_type = DiskBusType::NVMe;
    EXPECT_EQ(json(d).dump(),
              R"({"bus_type":"NVMe","drive_letter":"","firmware":"","health_text":"Healthy",)"
              R"("is_ssd":true,"model":"Disk","serial":"","size_bytes":2000398934016,)"
              R"("smart_ok":true,"volume_serial":""})");
}

TEST(Records, LargeNumbersStayIntegers) {
    SystemInfo s;
    s.total_ram_bytes = (1ull << 63) + 1;
    GpuInfo g;
    g.vendor_id = 4318;
    g.vram_bytes = 0xFFFFFFFFFFFFFFFFull;
    const std::string st = json(s).dump();
    EXPECT_NE(st.find(R"("total_ram_bytes":9223372036854775809)"), std::string::npos) << st;
    const std::string gt = json(g).dump();
    EXPECT_NE(gt.find(R"("vendor_id":4318)"), std::string::npos) << gt;
    EXPECT_NE(gt.find(R"("vram_bytes":18446744073709551615)"), std::string::npos) << gt;
    EXPECT_TRUE(json(g)["is_integrated"].is_boolean());
}

TEST(Records, ListsKeepOrderAndNest) {
    Inventory inv;
    GpuInfo a;
    a.name = "first";
    GpuInfo b;
    b.name = "second";
    inv.gpus = {a, b};
    DriverInfo drv;
    drv.device_name = "Dev";
    drv.problem_code = 28;
    drv.has_problem = true;
    inv.drivers = {drv};
    UpdateInfo u;
    u.title = "Update";
    u.kb = "5034441";
    u.installed = true;
    inv.updates.installed = {u};
    inv.updates.important_count = 3;
    inv.hwid.mac_addresses = {"00:11", "22:33"};
    const json j = inv;
    EXPECT_EQ(j["gpus"][0]["name"], "first");
    EXPECT_EQ(j["gpus"][1]["name"], "second");
    EXPECT_EQ(j["drivers"][0].dump(),
              R"({"class_name":"","device_name":"Dev","driver_date":"","driver_version":"",)"
              R"("has_problem":true,"important":false,"is_signed":false,"manufacturer":"",)"
              R"("problem_code":28,"signer":""})");
    EXPECT_EQ(j["updates"]["installed"][0].dump(),
              R"({"date":"","installed":true,"kb":"5034441","mandatory":false,"severity":"",)"
              R"("title":"Update"})");
    EXPECT_EQ(j["updates"]["available"], json::array());
    EXPECT_EQ(j["updates"]["important_count"], 3);
    EXPECT_EQ(j["hwid"]["mac_addresses"], (json{"00:11", "22:33"}));
}

TEST(Records, AssigningOverAnotherValueLeavesNoStaleKeys) {
    json j = json{{"stale", 1}};
    to_json(j, CpuInfo{});
    EXPECT_FALSE(j.contains("stale"));
    EXPECT_EQ(j.size(), 15u);
}

TEST(Records, IllFormedTextFailsStrictSerialisationWhole) {
    Inventory inv;
    inv.system.model = "\xFF";
    const json j = inv;
    EXPECT_THROW((void)j.dump(), json::type_error);
}

}  // namespace
}  // namespace tq
