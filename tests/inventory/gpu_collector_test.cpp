#include <gtest/gtest.h>

#include "inventory/gpu_collector.h"
#include "support/test_support.h"

namespace tq {
namespace {

AdapterDescription adapter(std::string name, std::uint32_t vendor, std::uint32_t device,
                           std::uint64_t memory, std::uint32_t flags = 0) {
    AdapterDescription a;
    a.name = std::move(name);
    a.vendor_id = vendor;
    a.device_id = device;
    a.dedicated_video_memory = memory;
    a.flags = flags;
    return a;
}

TEST(GpuCollector, VendorNames) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x10DE, "NVIDIA"},   {0x1002, "AMD"}, {0x1022, "AMD"},     {0x8086, "Intel"},
        {0x5143, "Qualcomm"}, {0x13B5, "ARM"}, {0x1414, "Unknown"}, {0, "Unknown"}};
    for (const auto& [id, name] : cases)
        EXPECT_EQ(gpu_vendor_name(id), name) << id;
}

TEST(GpuCollector, SoftwareAdaptersAreLeftOut) {
    const struct {
        AdapterDescription a;
        bool kept;
    } cases[] = {
        {adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30), true},
        {adapter("Microsoft Basic Render Driver", 0x1414, 0x8C, 0), false},
        {adapter("Microsoft Basic Display Adapter", 0x1414, 0x8C, 0), false},
        {adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30, 2), false},
        {adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30, 3), false},
        {adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30, 1), true},
        // The names are matched case-sensitively.
        {adapter("basic render", 0x1414, 0x8C, 0), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gpu_from_adapter(c.a, {}).has_value(), c.kept) << c.a.name << c.a.flags;
    }
}

TEST(GpuCollector, IntegratedRule) {
    const struct {
        std::uint32_t vendor;
        std::uint64_t memory;
        bool integrated;
    } cases[] = {
        {0x8086, 128ull << 20, true},  {0x8086, 4ull << 30, false}, {0x10DE, 0, true},
        {0x1002, 512ull << 20, false}, {0x8086, 0x1FFFFFFF, true},  {0x8086, 0x20000000, false},
        {0x1002, 128ull << 20, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_integrated_gpu(c.vendor, c.memory), c.integrated)
            << c.vendor << " " << c.memory;
    }
}

TEST(GpuCollector, DriverInstanceKeys) {
    EXPECT_TRUE(is_driver_instance_key("0000"));
    EXPECT_TRUE(is_driver_instance_key("9abc"));
    EXPECT_FALSE(is_driver_instance_key("Properties"));
    EXPECT_FALSE(is_driver_instance_key(""));
    EXPECT_TRUE(is_useful_driver_entry({"PCI\\VEN_10DE", "", "", ""}));
    EXPECT_TRUE(is_useful_driver_entry({"", "31.0.15.5222", "", ""}));
    EXPECT_FALSE(is_useful_driver_entry({"", "", "2024-1-1", "NVIDIA GeForce RTX 3070"}));
}

TEST(GpuCollector, DriverMatch) {
    const auto a = adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30);
    const struct {
        const char* what;
        std::vector<DisplayDriverEntry> entries;
        const char* version;
    } cases[] = {
        {"hardware id", {{"PCI\\VEN_10DE&DEV_2484&SUBSYS_1", "1.0", "1-1-2024", "x"}}, "1.0"},
        {"hardware id in lower case", {{"pci\\ven_10de&dev_2484&subsys_1", "2.0", "", ""}}, "2.0"},
        {"earlier entry wins",
         {{"", "0.9", "", "Other"},
          {"PCI\\VEN_10DE&DEV_2484", "3.0", "", ""},
          {"PCI\\VEN_10DE&DEV_2484&REV_A1", "3.1", "", ""}},
         "3.0"},
        {"hardware id beats an earlier name match",
         {{"", "4.0", "", "nvidia geforce rtx 3070"}, {"PCI\\VEN_10DE&DEV_2484", "4.1", "", ""}},
         "4.1"},
        {"name in another case",
         {{"PCI\\VEN_8086&DEV_46A6", "5.0", "", "NVIDIA GeForce RTX 3070"},
          {"", "5.1", "", "nvidia GEFORCE rtx 3070"}},
         "5.0"},
        {"name must be equal, not contained", {{"", "6.0", "", "NVIDIA GeForce RTX 3070 Ti"}}, ""},
        {"other device", {{"PCI\\VEN_10DE&DEV_2485", "7.0", "", ""}}, ""},
        {"nothing", {}, ""},
    };
    for (const auto& c : cases) {
        const auto gpu = gpu_from_adapter(a, c.entries);
        ASSERT_TRUE(gpu) << c.what;
        EXPECT_EQ(gpu->driver_version, c.version) << c.what;
    }
}

TEST(GpuCollector, RecordFields) {
    auto a = adapter("NVIDIA GeForce RTX 3070", 0x10DE, 0x2484, 8ull << 30);
    a.subsys_id = 0x87201043;
    a.revision = 0xA1;
    const auto gpu =
        gpu_from_adapter(a, {{"PCI\\VEN_10DE&DEV_2484", "31.0.15.5222", "3-5-2024", ""}});
    ASSERT_TRUE(gpu);
    EXPECT_EQ(
        json(*gpu).dump(),
        R"({"device_id":9348,"driver_date":"3-5-2024","driver_version":"31.0.15.5222",)"
        R"("is_integrated":false,"name":"NVIDIA GeForce RTX 3070","revision":161,)"
        R"("subsys_id":2267025475,"vendor":"NVIDIA","vendor_id":4318,"vram_bytes":8589934592})");
}

TEST(GpuCollector, RealMachine) {
    test::LogCapture log;
    const auto gpus = collect_gpus();
    for (const auto& gpu : gpus) {
        EXPECT_EQ(gpu.name.find("Basic Render"), std::string::npos);
        EXPECT_EQ(gpu.is_integrated, is_integrated_gpu(gpu.vendor_id, gpu.vram_bytes));
        EXPECT_EQ(gpu.vendor, gpu_vendor_name(gpu.vendor_id));
    }
    EXPECT_NO_THROW((void)json(gpus).dump());
    // Either adapters were listed or the factory failure was logged; an
    // empty list from a working enumeration logs nothing.
    for (const auto& line : log.messages()) {
        if (line.find("[WARN ]") == 0) {
            EXPECT_EQ(line.find("[WARN ] CreateDXGIFactory1 failed: "), 0u);
        }
    }
}

}  // namespace
}  // namespace tq
