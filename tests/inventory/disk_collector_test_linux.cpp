#include <gtest/gtest.h>

#include "inventory/disk_collector_linux.h"
#include "support/test_support.h"

namespace tq {
namespace {

TEST(DiskCollectorLinux, DeviceNames) {
    for (const char* name : {"sda", "nvme0n1", "vda", "mmcblk0", "md0", "sr0"}) {
        EXPECT_TRUE(is_physical_block_device(name)) << name;
    }
    for (const char* name : {"loop0", "ram15", "zram0", "dm-3", ""}) {
        EXPECT_FALSE(is_physical_block_device(name)) << name;
    }
}

TEST(DiskCollectorLinux, BusFromDevicePath) {
    const std::pair<const char*, DiskBusType> cases[] = {
        {"/sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1", DiskBusType::NVMe},
        {"/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda",
         DiskBusType::SATA},
        {"/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/"
         "sdb",
         DiskBusType::USB},
        {"/sys/devices/virtual/block/md127", DiskBusType::RAID},
        {"/sys/devices/pci0000:00/0000:00:02.0/virtio1/block/vda", DiskBusType::Other},
        {"", DiskBusType::Other},
    };
    for (const auto& [path, bus] : cases)
        EXPECT_EQ(bus_type_from_device_path(path), bus) << path;
}

std::optional<std::string> lookup_serial(const std::string& name) {
    if (name == "sda")
        return std::string("  WD-WCC4N123456 \n");
    return std::nullopt;
}

std::optional<std::uint32_t> predict(const std::string& name, DiskBusType bus) {
    if (name == "nvme0n1" && bus == DiskBusType::NVMe)
        return 0u;
    if (name == "sda")
        return 1u;
    return std::nullopt;
}

TEST(DiskCollectorLinux, BlockDevices) {
    test::TempDir sys;
    const auto nvme = sys / "devices/pci0000:00/0000:01:00.0/nvme/nvme0/nvme0n1";
    test::write_file(nvme / "size", "1953525168\n");
    test::write_file(nvme / "queue/rotational", "0\n");
    test::write_file(nvme / "device/model", "Samsung SSD 980 PRO 1TB                 \n");
    test::write_file(nvme / "device/serial", "S5GXNX0T123456A     \n");
    test::write_file(nvme / "device/firmware_rev", "5B2QGXA7\n");
    const auto sata =
        sys / "devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda";
    test::write_file(sata / "size", "7814037168\n");
    test::write_file(sata / "queue/rotational", "1\n");
    test::write_file(sata / "device/vendor", "ATA     \n");
    test::write_file(sata / "device/model", "\n");
    test::write_file(sata / "device/rev", "0A82\n");
    // Opens but tells nothing: not listed.
    const auto empty = sys / "devices/platform/empty/block/sdz";
    test::write_file(empty / "size", "0\n");
    const auto virtio = sys / "devices/pci0000:00/0000:00:02.0/virtio1/block/vda";
    test::write_file(virtio / "size", "536870912\n");
    test::write_file(virtio / "serial", "overlay\n");
    test::write_file(virtio / "device/vendor", "0x1af4\n");
    const auto loop = sys / "devices/virtual/block/loop0";
    test::write_file(loop / "size", "100\n");

    std::filesystem::create_directories(sys / "block");
    for (const auto& [name, target] : {std::pair{"nvme0n1", nvme},
                                       {"sda", sata},
                                       {"sdz", empty},
                                       {"vda", virtio},
                                       {"loop0", loop}}) {
        std::filesystem::create_directory_symlink(target, sys / "block" / name);
    }

    const auto disks = read_block_disks(sys.path(), {lookup_serial, predict});
    ASSERT_EQ(disks.size(), 3u);
    const DiskInfo& n = disks[0];
    EXPECT_EQ(n.model, "Samsung SSD 980 PRO 1TB");
    EXPECT_EQ(n.serial, "S5GXNX0T123456A");
    EXPECT_EQ(n.firmware, "5B2QGXA7");
    EXPECT_EQ(n.size_bytes, 1953525168ull * 512);
    EXPECT_EQ(n.bus_type, DiskBusType::NVMe);
    EXPECT_TRUE(n.is_ssd);
    EXPECT_EQ(n.health_text, "Healthy");
    const DiskInfo& s = disks[1];
    EXPECT_EQ(s.model, "ATA");
    EXPECT_EQ(s.serial, "WD-WCC4N123456");
    EXPECT_EQ(s.firmware, "0A82");
    EXPECT_EQ(s.bus_type, DiskBusType::SATA);
    EXPECT_FALSE(s.is_ssd);
    EXPECT_FALSE(s.smart_ok);
    EXPECT_EQ(s.health_text, "Warning");
    const DiskInfo& v = disks[2];
    EXPECT_EQ(v.model, "");
    EXPECT_EQ(v.serial, "overlay");
    EXPECT_EQ(v.size_bytes, 536870912ull * 512);
    EXPECT_EQ(v.bus_type, DiskBusType::Other);

    const auto without_sources = read_block_disks(sys.path(), {});
    ASSERT_EQ(without_sources.size(), 3u);
    EXPECT_EQ(without_sources[1].serial, "");
    EXPECT_EQ(without_sources[1].health_text, "Unavailable");
    EXPECT_TRUE(without_sources[1].smart_ok);
}

}  // namespace
}  // namespace tq

namespace tq {
namespace {

std::vector<std::uint8_t> ata_sense(std::uint8_t mid, std::uint8_t high) {
    std::vector<std::uint8_t> sense(8 + 14, 0);
    sense[0] = 0x72;
    sense[1] = 0x01;  // recovered error: the registers were returned
    sense[7] = 14;
    sense[8] = 0x09;
    sense[9] = 0x0C;
    sense[8 + 9] = mid;
    sense[8 + 11] = high;
    return sense;
}

TEST(DiskCollectorLinux, SmartAnswers) {
    EXPECT_EQ(ata_smart_status_from_sense(ata_sense(0x4F, 0xC2)), 0u);
    EXPECT_EQ(ata_smart_status_from_sense(ata_sense(0xF4, 0x2C)), 1u);
    EXPECT_EQ(ata_smart_status_from_sense(ata_sense(0x00, 0x00)), std::nullopt);
    auto fixed = ata_sense(0x4F, 0xC2);
    fixed[0] = 0x70;
    EXPECT_EQ(ata_smart_status_from_sense(fixed), std::nullopt);
    auto cut = ata_sense(0x4F, 0xC2);
    cut.resize(12);
    EXPECT_EQ(ata_smart_status_from_sense(cut), std::nullopt);
    EXPECT_EQ(ata_smart_status_from_sense({}), std::nullopt);
    EXPECT_EQ(nvme_critical_warning_flag(0), 0u);
    EXPECT_EQ(nvme_critical_warning_flag(0x04), 1u);
    // A device this process cannot open, or one without SMART, predicts nothing.
    EXPECT_EQ(smart_predict_failure("no-such-device", DiskBusType::SATA), std::nullopt);
    EXPECT_EQ(smart_predict_failure("vda", DiskBusType::Other), std::nullopt);
}

}  // namespace
}  // namespace tq
