#include <gtest/gtest.h>

#include "inventory/gpu_collector_linux.h"
#include "support/test_support.h"

namespace tq {
namespace {

TEST(GpuCollectorLinux, PciIdsNames) {
    const std::string db = test::read_file(test::fixture_path("pci/pci.ids"));
    const struct {
        std::uint32_t vendor, device;
        const char* name;
    } cases[] = {
        {0x10DE, 0x2484, "NVIDIA GeForce RTX 3070"},
        {0x10de, 0x1E84, "NVIDIA GeForce RTX 2070 SUPER"},
        {0x8086, 0x46A6, "Intel Iris Xe Graphics"},
        {0x1234, 0x1111, "QEMU Virtual Video Controller"},
        // A known vendor without the device: its name from the database.
        {0x10DE, 0x9999, "NVIDIA Corporation"},
        {0xABCD, 0x0001, ""},
        // Subsystem lines are not devices.
        {0x10DE, 0x1043, "NVIDIA Corporation"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pci_adapter_name(db, c.vendor, c.device), c.name)
            << std::hex << c.vendor << ":" << c.device;
    }
    EXPECT_EQ(pci_adapter_name("", 0x10DE, 0x2484), "");
}

TEST(GpuCollectorLinux, DrmCards) {
    test::TempDir sys;
    const auto card0 = sys / "devices/pci0000:00/0000:01:00.0";
    test::write_file(card0 / "vendor", "0x10de\n");
    test::write_file(card0 / "device", "0x2484\n");
    test::write_file(card0 / "subsystem_vendor", "0x1043\n");
    test::write_file(card0 / "subsystem_device", "0x8870\n");
    test::write_file(card0 / "revision", "0xa1\n");
    std::filesystem::create_directories(sys / "bus/pci/drivers/nvidia");
    std::filesystem::create_directory_symlink(sys / "bus/pci/drivers/nvidia", card0 / "driver");
    test::write_file(sys / "module/nvidia/version", "550.54.14\n");

    const auto card1 = sys / "devices/pci0000:00/0000:00:02.0";
    test::write_file(card1 / "vendor", "0x8086\n");
    test::write_file(card1 / "device", "0x46a6\n");
    test::write_file(card1 / "mem_info_vram_total", "0\n");
    std::filesystem::create_directories(sys / "bus/pci/drivers/i915");
    std::filesystem::create_directory_symlink(sys / "bus/pci/drivers/i915", card1 / "driver");

    const auto simple = sys / "devices/platform/simple-framebuffer.0";
    std::filesystem::create_directories(simple);

    std::filesystem::create_directories(sys / "class/drm");
    std::filesystem::create_directories(sys / "class/drm/card0");
    std::filesystem::create_directory_symlink(card0, sys / "class/drm/card0/device");
    std::filesystem::create_directories(sys / "class/drm/card10");
    std::filesystem::create_directory_symlink(simple, sys / "class/drm/card10/device");
    std::filesystem::create_directories(sys / "class/drm/card2");
    std::filesystem::create_directory_symlink(card1, sys / "class/drm/card2/device");
    // Connectors and render nodes are not cards.
    std::filesystem::create_directories(sys / "class/drm/card0-HDMI-A-1");
    std::filesystem::create_directories(sys / "class/drm/renderD128");

    const auto cards =
        read_drm_cards(sys.path(), "6.1.0-18-amd64", test::fixture_path("pci/pci.ids"));
    ASSERT_EQ(cards.size(), 3u);
    const auto& nv = cards[0];
    EXPECT_EQ(nv.adapter.name, "NVIDIA GeForce RTX 3070");
    EXPECT_EQ(nv.adapter.subsys_id, 0x88701043u);
    EXPECT_EQ(nv.adapter.revision, 0xA1u);
    EXPECT_EQ(nv.driver.hardware_id, "PCI\\VEN_10DE&DEV_2484&SUBSYS_88701043&REV_A1");
    EXPECT_EQ(nv.driver.driver_version, "550.54.14");
    const auto& intel = cards[1];
    EXPECT_EQ(intel.adapter.name, "Intel Iris Xe Graphics");
    EXPECT_EQ(intel.driver.driver_version, "6.1.0-18-amd64");
    EXPECT_EQ(cards[2].adapter.flags, 2u);

    std::vector<DisplayDriverEntry> entries;
    for (const auto& c : cards)
        entries.push_back(c.driver);
    const auto gpu = gpu_from_adapter(intel.adapter, entries);
    ASSERT_TRUE(gpu);
    EXPECT_TRUE(gpu->is_integrated);
    EXPECT_EQ(gpu->driver_version, "6.1.0-18-amd64");
    EXPECT_FALSE(gpu_from_adapter(cards[2].adapter, entries));
}

TEST(GpuCollectorLinux, NoDrmIsNoCards) {
    test::TempDir sys;
    EXPECT_TRUE(read_drm_cards(sys.path(), "x", test::fixture_path("pci/pci.ids")).empty());
}

}  // namespace
}  // namespace tq
