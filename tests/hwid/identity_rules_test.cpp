#include <gtest/gtest.h>

#include <map>

#include "hwid/identity_rules.h"

namespace tq {
namespace {

struct AdapterCase {
    const char* name;
    std::uint32_t if_type;
    std::vector<std::uint8_t> address;
    std::optional<std::string> expected;
};

std::ostream& operator<<(std::ostream& out, const AdapterCase& c) {
    return out << c.name;
}

class AdapterFilter : public ::testing::TestWithParam<AdapterCase> {};

TEST_P(AdapterFilter, KeepsOnlyRealEthernetAndWifiAddresses) {
    const AdapterCase& c = GetParam();
    EXPECT_EQ(identity_mac_address(c.if_type, c.address), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Identity, AdapterFilter,
    ::testing::Values(
        AdapterCase{"ethernet", 6, {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}, "001A2B3C4D5E"},
        AdapterCase{"wifi_switched_off", 71, {0xf0, 0x0d, 0xca, 0xfe, 0x00, 0x01}, "F00DCAFE0001"},
        AdapterCase{"loopback", 24, {0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, std::nullopt},
        AdapterCase{"tunnel", 131, {0x02, 0x00, 0x4c, 0x4f, 0x4f, 0x50}, std::nullopt},
        AdapterCase{"all_zero_address", 6, {0, 0, 0, 0, 0, 0}, std::nullopt},
        AdapterCase{"length_zero", 6, {}, std::nullopt}, AdapterCase{"one_byte", 6, {0x7f}, "7F"},
        AdapterCase{"eight_bytes", 71, {1, 2, 3, 4, 5, 6, 7, 8}, "0102030405060708"},
        AdapterCase{"nine_bytes", 6, {1, 2, 3, 4, 5, 6, 7, 8, 9}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdapterFilter, ListKeepsTheEnumerationOrder) {
    const std::vector<AdapterAddress> adapters{
        {24, {0, 0, 0, 0, 0, 0}},
        {71, {0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff}},
        {6, {0, 0, 0, 0, 0, 0}},
        {6, {0x02, 0xfc, 0x00, 0x00, 0x00, 0x01}},
    };
    EXPECT_EQ(select_mac_addresses(adapters),
              (std::vector<std::string>{"AABBCCDDEEFF", "02FC00000001"}));
}

TEST(VolumeList, WalksTheDriveMaskFromAToZ) {
    // A: floppy without a disk, C: and D: readable, Z: a disconnected share.
    const std::uint32_t mask = (1u << 0) | (1u << 2) | (1u << 3) | (1u << 25);
    const std::map<char, std::uint32_t> serials{{'C', 0x1A2B3C4D}, {'D', 0xABCD}};
    std::vector<char> asked;
    const auto volumes =
        volumes_from_drive_mask(mask, [&](char letter) -> std::optional<std::uint32_t> {
            asked.push_back(letter);
            const auto it = serials.find(letter);
            return it == serials.end() ? std::nullopt : std::optional(it->second);
        });
    EXPECT_EQ(asked, (std::vector<char>{'A', 'C', 'D', 'Z'}));
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].drive, "C:");
    EXPECT_EQ(volumes[0].serial, "1A2B3C4D");
    EXPECT_EQ(volumes[1].drive, "D:");
    EXPECT_EQ(volumes[1].serial, "0000ABCD");
}

TEST(VolumeList, SerialTextsDropEmptyOnes) {
    const std::vector<VolumeSerial> volumes{{"C:", "1A2B3C4D"}, {"/boot", ""}, {"D:", "0000ABCD"}};
    EXPECT_EQ(volume_serial_texts(volumes), (std::vector<std::string>{"1A2B3C4D", "0000ABCD"}));
}

TEST(VolumeList, FormatsEightUpperCaseDigits) {
    EXPECT_EQ(format_volume_serial(0), "00000000");
    EXPECT_EQ(format_volume_serial(0xabcd), "0000ABCD");
    EXPECT_EQ(format_volume_serial(0xFFFFFFFF), "FFFFFFFF");
}

struct FilesystemCase {
    const char* name;
    const char* type;
    const char* uuid;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const FilesystemCase& c) {
    return out << c.name;
}

class FilesystemSerial : public ::testing::TestWithParam<FilesystemCase> {};

TEST_P(FilesystemSerial, StableText) {
    const FilesystemCase& c = GetParam();
    EXPECT_EQ(filesystem_serial_text(c.type, c.uuid), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Identity, FilesystemSerial,
    ::testing::Values(FilesystemCase{"fat_serial", "vfat", "1a2b-3c4d", "1A2B3C4D"},
                      FilesystemCase{"exfat_serial", "exfat", "0000-ABCD", "0000ABCD"},
                      FilesystemCase{"ntfs_low_half", "ntfs", "0123456789ABCDEF", "89ABCDEF"},
                      FilesystemCase{"ext4_uuid", "ext4", "3e6be9de-8139-11d1-9106-a43f08d823a6",
                                     "3E6BE9DE813911D19106A43F08D823A6"},
                      FilesystemCase{"odd_fat_uuid_kept_whole", "vfat", "12345", "12345"},
                      FilesystemCase{"no_uuid", "ext4", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Signatures, CpuAndGpuTexts) {
    EXPECT_EQ(cpu_signature_text("GenuineIntel", 6, 154, 3), "GenuineIntel-6-154-3");
    EXPECT_EQ(cpu_signature_text("", 0, 0, 0), "-0-0-0");
    EXPECT_EQ(gpu_signature_text({{0x10DE, 0x2684}, {0x8086, 0xA780}}), "10DE:2684,8086:A780");
    EXPECT_EQ(gpu_signature_text({{0x1af4, 0x10050}}), "1AF4:10050");
    EXPECT_EQ(gpu_signature_text({}), "");
}

TEST(Signatures, BiosSerialFallsBackToVersion) {
    EXPECT_EQ(choose_bios_serial("", "F.20"), "F.20");
    EXPECT_EQ(choose_bios_serial("PF2ABCDE", "F.20"), "PF2ABCDE");
}

}  // namespace
}  // namespace tq
