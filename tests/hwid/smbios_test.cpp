#include <gtest/gtest.h>

#include <vector>

#include "hwid/smbios.h"
#include "support/test_support.h"

namespace tq {
namespace {

std::vector<std::uint8_t> bytes_of(const std::string& s) {
    return {s.begin(), s.end()};
}

std::vector<std::uint8_t> fixture(const std::string& name) {
    return bytes_of(test::read_file(test::fixture_path("smbios/" + name)));
}

struct FixtureCase {
    const char* file;
    SmbiosInfo expected;
};

TEST(Smbios, WalksFixtures) {
    const std::vector<FixtureCase> cases = {
        {"desktop.bin",
         {"Micro-Star International Co., Ltd.", "MS-7C56", "To be filled by O.E.M.",
          "123A1F5E-D4C0-11E2-A9F1-D8BBC1A2B3C4", "07C5611_MB1E123456", "7C56vA5", "03/21/2023"}},
        // A 24-byte system structure is skipped whole, UUID included.
        {"type1_len24.bin", {"", "", "", "", "", "V1", "01/02/2020"}},
        {"index_past_set.bin",
         {"", "Product", "", "33221100-5544-7766-8899-AABBCCDDEEFF", "", "", ""}},
        // The second baseboard wins although its serial index is 0.
        {"two_baseboards.bin", {"", "", "", "", "", "", ""}},
        // Both BIOS structures are reached across an empty and a full string
        // set; the last one wins.
        {"empty_string_sets.bin", {"", "", "", "", "", "VERSION", "DATE"}},
        {"string_to_end.bin",
         {"Maker", "Product", "", "33221100-5544-7766-8899-AABBCCDDEEFF", "", "V9", "12/31/1"}},
        {"length3.bin", {"", "", "", "", "", "V2", "05/05/2005"}},
        {"high_bytes.bin",
         {"Fabricant\xE9", "Mod\xC3\xA8le", "", "33221100-5544-7766-8899-AABBCCDDEEFF", "", "",
          ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto info = parse_smbios_raw(fixture(c.file));
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->system_manufacturer, c.expected.system_manufacturer);
        EXPECT_EQ(info->system_product, c.expected.system_product);
        EXPECT_EQ(info->system_serial, c.expected.system_serial);
        EXPECT_EQ(info->system_uuid, c.expected.system_uuid);
        EXPECT_EQ(info->baseboard_serial, c.expected.baseboard_serial);
        EXPECT_EQ(info->bios_version, c.expected.bios_version);
        EXPECT_EQ(info->bios_date, c.expected.bios_date);
    }
}

TEST(Smbios, FirstOfTwoBaseboardsIsReadWhenAlone) {
    // Guards the fixture above: the first baseboard does hold a serial, so an
    // empty result there proves the second one overwrote it.
    auto raw = fixture("two_baseboards.bin");
    const std::size_t first_end = 8 + 15 + std::string("FIRST-SERIAL").size() + 2;
    raw.resize(first_end);
    raw[4] = static_cast<std::uint8_t>(first_end - 8);
    const auto info = parse_smbios_raw(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->baseboard_serial, "FIRST-SERIAL");
}

TEST(Smbios, HeaderRules) {
    EXPECT_FALSE(parse_smbios_raw({}));
    EXPECT_FALSE(parse_smbios_raw(std::vector<std::uint8_t>(8, 0)));
    // Length 0 with data behind it.
    std::vector<std::uint8_t> zero_length = fixture("desktop.bin");
    zero_length[4] = zero_length[5] = zero_length[6] = zero_length[7] = 0;
    EXPECT_FALSE(parse_smbios_raw(zero_length));
    for (std::uint8_t length = 1; length <= 3; ++length) {
        std::vector<std::uint8_t> raw = fixture("desktop.bin");
        raw[4] = length;
        raw[5] = raw[6] = raw[7] = 0;
        const auto info = parse_smbios_raw(raw);
        ASSERT_TRUE(info) << int(length);
        EXPECT_TRUE(info->bios_version.empty());
        EXPECT_TRUE(info->system_manufacturer.empty());
    }
}

TEST(Smbios, DeclaredLengthBoundsTheWalk) {
    auto raw = fixture("desktop.bin");
    // Stop the data right after the BIOS structure: the rest is not seen.
    const std::size_t bios_size =
        0x1A + std::string("American Megatrends International, LLC.").size() + 1 + 8 + 11 + 1;
    raw[4] = static_cast<std::uint8_t>(bios_size);
    raw[5] = 0;
    const auto info = parse_smbios_raw(raw);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bios_version, "7C56vA5");
    EXPECT_EQ(info->system_manufacturer, "");

    // A length larger than the bytes returned is cut to what was returned.
    raw = fixture("desktop.bin");
    raw[7] = 0x7F;
    const auto whole = parse_smbios_raw(raw);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->baseboard_serial, "07C5611_MB1E123456");
}

TEST(Smbios, EveryTruncationIsSafe) {
    // Each prefix of a real table walks without reading outside it (the
    // sanitizer build checks the reads) and only ever loses fields.
    const auto raw = fixture("desktop.bin");
    for (std::size_t n = 9; n <= raw.size(); ++n) {
        std::vector<std::uint8_t> prefix(raw.begin(), raw.begin() + static_cast<long>(n));
        const auto info = parse_smbios_raw(prefix);
        ASSERT_TRUE(info) << n;
        if (!info->baseboard_serial.empty()) {
            EXPECT_EQ(info->bios_version, "7C56vA5");
        }
    }
}

TEST(Smbios, UuidText) {
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE,
          0xFF},
         "33221100-5544-7766-8899-AABBCCDDEEFF"},
        {std::vector<std::uint8_t>(16, 0x00), ""},
        {std::vector<std::uint8_t>(16, 0xFF), ""},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0xFE},
         "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFE"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, "00000000-0000-0000-0000-000000000001"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(smbios_uuid_text(std::span<const std::uint8_t, 16>(bytes.data(), 16)), text);
    }
}

TEST(Smbios, ReadsTheMachineOrReportsNoTable) {
    // Whatever the machine holds, the call returns and any UUID is well formed.
    const auto info = read_smbios();
    if (info && !info->system_uuid.empty()) {
        EXPECT_EQ(info->system_uuid.size(), 36u);
        EXPECT_EQ(info->system_uuid[8], '-');
    }
}

}  // namespace
}  // namespace tq
