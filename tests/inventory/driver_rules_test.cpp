#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "inventory/driver_collector.h"
#include "inventory/driver_collector_classes.h"

namespace tq {
namespace {

struct ImportantCase {
    const char* name;
    const char* class_name;
    const char* device_name;
    bool important;
};

std::ostream& operator<<(std::ostream& out, const ImportantCase& c) {
    return out << c.name;
}

class ImportantDevice : public ::testing::TestWithParam<ImportantCase> {};

TEST_P(ImportantDevice, ByClassOrChipsetName) {
    const ImportantCase& c = GetParam();
    EXPECT_EQ(is_important_device(c.class_name, c.device_name), c.important);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, ImportantDevice,
    ::testing::Values(
        ImportantCase{"display_lower", "display", "Adapter", true},
        ImportantCase{"display_upper", "DISPLAY", "Adapter", true},
        ImportantCase{"every_listed_class_net", "Net", "", true},
        ImportantCase{"scsi_adapter", "scsiadapter", "x", true},
        ImportantCase{"hdc", "HDC", "x", true}, ImportantCase{"usb", "Usb", "x", true},
        ImportantCase{"media", "MEDIA", "x", true}, ImportantCase{"monitor", "Monitor", "x", true},
        ImportantCase{"system_whatever_name", "System", "Timer", true},
        ImportantCase{"prefix_only", "DisplayX", "Adapter", false},
        ImportantCase{"shorter_than_listed", "Displa", "Adapter", false},
        ImportantCase{"chipset_in_name_any_case", "Keyboard", "Intel(R) CHIPSET SATA", true},
        ImportantCase{"whole_name_chipset", "Other", "chipset", true},
        ImportantCase{"unlisted_plain", "Keyboard", "HID Keyboard", false},
        ImportantCase{"empty", "", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DriverRecord, NameFallsBackToFriendlyName) {
    RawDevice raw;
    raw.friendly_name = "Friendly";
    auto info = driver_info_from_device(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->device_name, "Friendly");

    raw.description = "Description";
    info = driver_info_from_device(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->device_name, "Description");
}

TEST(DriverRecord, NamelessDeviceIsDropped) {
    RawDevice raw;
    raw.class_name = "System";
    raw.provider = "Vendor";
    EXPECT_FALSE(driver_info_from_device(raw));
}

TEST(DriverRecord, DriverKeyValuesAndSigning) {
    RawDevice raw;
    raw.description = "Device";
    raw.class_name = "Net";
    raw.manufacturer = "Maker";
    auto info = driver_info_from_device(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->driver_version, "");
    EXPECT_EQ(info->driver_date, "");
    EXPECT_EQ(info->signer, "");
    EXPECT_FALSE(info->is_signed);
    EXPECT_EQ(info->class_name, "Net");
    EXPECT_EQ(info->manufacturer, "Maker");

    raw.driver_version = "10.0.1";
    raw.driver_date = "6-21-2006";
    raw.provider = "";
    info = driver_info_from_device(raw);
    EXPECT_EQ(info->driver_version, "10.0.1");
    EXPECT_EQ(info->driver_date, "6-21-2006");
    EXPECT_FALSE(info->is_signed);

    raw.provider = "Contoso";
    info = driver_info_from_device(raw);
    EXPECT_EQ(info->signer, "Contoso");
    EXPECT_TRUE(info->is_signed);
}

struct ProblemCase {
    const char* name;
    std::optional<DevNodeStatus> status;
    bool has_problem;
    std::uint32_t code;
};

std::ostream& operator<<(std::ostream& out, const ProblemCase& c) {
    return out << c.name;
}

class ProblemState : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(ProblemState, OnlyFromASuccessfulStatusWithTheProblemBit) {
    const ProblemCase& c = GetParam();
    RawDevice raw;
    raw.description = "Device";
    raw.status = c.status;
    const auto info = driver_info_from_device(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->has_problem, c.has_problem);
    EXPECT_EQ(info->problem_code, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, ProblemState,
    ::testing::Values(ProblemCase{"status_call_failed", std::nullopt, false, 0},
                      ProblemCase{"problem_28", DevNodeStatus{0x0180A | 0x400, 28}, true, 28},
                      ProblemCase{"number_without_bit", DevNodeStatus{0x0180A, 28}, false, 0},
                      ProblemCase{"healthy", DevNodeStatus{0x0180A, 0}, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClassCase {
    const char* name;
    LinuxDeviceFacts facts;
    const char* class_name;
};

std::ostream& operator<<(std::ostream& out, const ClassCase& c) {
    return out << c.name;
}

class LinuxClassName : public ::testing::TestWithParam<ClassCase> {};

TEST_P(LinuxClassName, WindowsVocabularyWhereOneFits) {
    const ClassCase& c = GetParam();
    EXPECT_EQ(driver_class_name(c.facts), c.class_name);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, LinuxClassName,
    ::testing::Values(ClassCase{"vga", {"pci", 0x030000, {}, {}, {}}, "Display"},
                      ClassCase{"ethernet", {"pci", 0x020000, {}, {}, {}}, "Net"},
                      ClassCase{"wifi_pci", {"pci", 0x028000, {}, {}, {}}, "Net"},
                      ClassCase{"sata_ahci", {"pci", 0x010601, {}, {}, {}}, "HDC"},
                      ClassCase{"nvme", {"pci", 0x010802, {}, {}, {}}, "SCSIAdapter"},
                      ClassCase{"hd_audio", {"pci", 0x040300, {}, {}, {}}, "Media"},
                      ClassCase{"xhci", {"pci", 0x0C0330, {}, {}, {}}, "USB"},
                      ClassCase{"smbus", {"pci", 0x0C0500, {}, {}, {}}, "System"},
                      ClassCase{"host_bridge", {"pci", 0x060000, {}, {}, {}}, "System"},
                      ClassCase{"usb_hub", {"usb", {}, 0x09, {}, {}}, "USB"},
                      ClassCase{"usb_audio", {"usb", {}, 0x01, {}, {}}, "Media"},
                      ClassCase{"usb_hid", {"usb", {}, 0x03, {}, {}}, "HIDClass"},
                      ClassCase{"usb_bluetooth", {"usb", {}, 0xE0, {}, {}}, "Bluetooth"},
                      ClassCase{"scsi_disk", {"scsi", {}, {}, 0, {}}, "DiskDrive"},
                      ClassCase{"scsi_cdrom", {"scsi", {}, {}, 5, {}}, "CDROM"},
                      ClassCase{"virtio_net", {"virtio", {}, {}, {}, 1}, "Net"},
                      ClassCase{"virtio_block", {"virtio", {}, {}, {}, 2}, "DiskDrive"},
                      ClassCase{"hid", {"hid", {}, {}, {}, {}}, "HIDClass"},
                      ClassCase{"pnp", {"pnp", {}, {}, {}, {}}, "System"},
                      ClassCase{"display_output", {"drm", {}, {}, {}, {}}, "Monitor"},
                      ClassCase{"pci_without_class", {"pci", {}, {}, {}, {}}, "pci"},
                      ClassCase{"other_bus", {"platform", {}, {}, {}, {}}, "platform"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinuxClassName, OnlyHostAndIsaBridgesRunWithoutADriver) {
    EXPECT_TRUE(served_by_bus_core({"pci", 0x060000, {}, {}, {}}));
    EXPECT_TRUE(served_by_bus_core({"pci", 0x060100, {}, {}, {}}));
    EXPECT_FALSE(served_by_bus_core({"pci", 0x060400, {}, {}, {}}));
    EXPECT_FALSE(served_by_bus_core({"pci", 0x030000, {}, {}, {}}));
    EXPECT_FALSE(served_by_bus_core({"usb", {}, 0x09, {}, {}}));
}

}  // namespace
}  // namespace tq

namespace tq {
namespace {

// A 128-byte EDID block with the manufacturer DEL (0x10AC) and, in its third
// descriptor, the product name "DELL U2720Q".
std::vector<std::uint8_t> sample_edid(bool with_name) {
    std::vector<std::uint8_t> edid(128, 0);
    const std::uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(std::begin(header), std::end(header), edid.begin());
    edid[8] = 0x10;
    edid[9] = 0xAC;
    // First descriptor: a detailed timing (non-zero pixel clock).
    edid[54] = 0x4D;
    edid[55] = 0xD0;
    // Second: the serial number text (0xFF), which is not the name.
    const std::size_t serial = 72;
    edid[serial + 3] = 0xFF;
    const std::string serial_text = "ABC123\n     ";
    std::copy(serial_text.begin(), serial_text.end(), edid.begin() + serial + 5);
    if (with_name) {
        const std::size_t name = 90;
        edid[name + 3] = 0xFC;
        const std::string text = "DELL U2720Q\n ";
        std::copy(text.begin(), text.end(), edid.begin() + name + 5);
    }
    return edid;
}

TEST(Edid, MonitorNameAndManufacturer) {
    const auto edid = sample_edid(true);
    EXPECT_EQ(edid_monitor_name(edid), "DELL U2720Q");
    EXPECT_EQ(edid_manufacturer_id(edid), "DEL");
}

TEST(Edid, MissingOrShortBlocks) {
    EXPECT_EQ(edid_monitor_name(sample_edid(false)), "");
    const std::vector<std::uint8_t> short_block(100, 0);
    EXPECT_EQ(edid_monitor_name(short_block), "");
    EXPECT_EQ(edid_manufacturer_id(std::span<const std::uint8_t>(short_block).first(9)), "");
    // All-zero id bits are no letters.
    EXPECT_EQ(edid_manufacturer_id(short_block), "");
}

}  // namespace
}  // namespace tq
