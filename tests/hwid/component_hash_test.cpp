#include <gtest/gtest.h>

#include "hwid/component_hash.h"
#include "hwid/sha256.h"

// Expected digests below were computed with an independent SHA-256 tool over
// the quoted texts, never with the code under test.

namespace tq {
namespace {

TEST(Sha256, StandardDigests) {
    EXPECT_EQ(sha256_hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256_hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

struct NormalizeCase {
    const char* name;
    std::string raw;
    std::string normalized;
    bool meaningful;
};

std::ostream& operator<<(std::ostream& out, const NormalizeCase& c) {
    return out << c.name;
}

class Normalization : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(Normalization, NormalizesAndJudges) {
    const NormalizeCase& c = GetParam();
    const std::string normalized = normalize_component(c.raw);
    EXPECT_EQ(normalized, c.normalized);
    EXPECT_EQ(is_meaningful_component(normalized), c.meaningful);
    EXPECT_EQ(hash_component(c.raw).empty(), !c.meaningful);
}

INSTANTIATE_TEST_SUITE_P(
    Identity, Normalization,
    ::testing::Values(
        NormalizeCase{"uuid_loses_hyphens", "03000200-0400-0500-0006-000700080009",
                      "03000200040005000006000700080009", true},
        NormalizeCase{"to_be_filled", "To be filled by O.E.M.", "TOBEFILLEDBYOEM", false},
        NormalizeCase{"default_string", "Default string", "DEFAULTSTRING", false},
        NormalizeCase{"system_serial_number", "System Serial Number", "SYSTEMSERIALNUMBER", false},
        NormalizeCase{"not_specified", "Not Specified", "NOTSPECIFIED", false},
        NormalizeCase{"no_serial", "No-Serial", "NOSERIAL", false},
        NormalizeCase{"none", "none", "NONE", false},
        NormalizeCase{"unknown", "Unknown", "UNKNOWN", false},
        NormalizeCase{"n_a_too_short", "N/A", "NA", false},
        NormalizeCase{"null", "(null)", "NULL", false},
        NormalizeCase{"oem", "O.E.M.", "OEM", false},
        NormalizeCase{"seven_x", "xxxxxxx", "XXXXXXX", false},
        NormalizeCase{"ten_x_all_same", "XXXXXXXXXX", "XXXXXXXXXX", false},
        NormalizeCase{"sixteen_zeros", "0000000000000000", "0000000000000000", false},
        NormalizeCase{"sixteen_f", "ffff-ffff-ffff-ffff", "FFFFFFFFFFFFFFFF", false},
        NormalizeCase{"single_zero", "0", "0", false},
        NormalizeCase{"two_chars", "ab", "AB", false},
        NormalizeCase{"three_distinct", "ab1", "AB1", true},
        NormalizeCase{"placeholder_inside_longer_text", "OEM1", "OEM1", true},
        NormalizeCase{"high_bytes_dropped", "S\xC3\xA9rie-42\xFF", "SRIE42", true},
        NormalizeCase{"empty", "", "", false},
        NormalizeCase{"only_punctuation", " -:_./ ", "", false},
        NormalizeCase{"bios_version", "F.20", "F20", true},
        NormalizeCase{"cpu_signature", "GenuineIntel-6-154-3", "GENUINEINTEL61543", true},
        NormalizeCase{"empty_cpu_signature", "-0-0-0", "000", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HashComponent, KnownAnswers) {
    EXPECT_EQ(hash_component("03000200-0400-0500-0006-000700080009"),
              "b0469b585e43347cfde6ea27010f6589c49802d40e0d6e3be8e22ef6ce272801");
    EXPECT_EQ(hash_component("F.20"),
              "093b2595e22ee35c34f1a5b2edca2ac28d6e879b8c93f950e0b305cd887d0c7e");
    EXPECT_EQ(hash_component("GenuineIntel-6-154-3"),
              "8733408f6deb17a72d55e0b3be88bb33a3ef2514a27502e0522f85b0181a36ea");
}

TEST(HashComponent, GpuOrderChangesTheHash) {
    const std::string forward = hash_component("10DE:2684,8086:A780");
    const std::string reverse = hash_component("8086:A780,10DE:2684");
    EXPECT_EQ(forward, "89d7bfe9380ed7d50108ba60c6ca108aca29277d56b72024ea00e640a31104c9");
    EXPECT_EQ(reverse, "54d48390ced5eff9f3f554c88b191c860137ccf4001e35ad971c73ba085e4dac");
}

TEST(HashComponentList, BlankElementAndCaseVariantsCollapse) {
    const std::string expected = "0009c064f318090849c25e85dab2e2a4c6354cf0e94ef76aa550f70c3431bdbe";
    EXPECT_EQ(hash_component_list({"DISK0001X", "  ", "disk0001x"}), expected);
    EXPECT_EQ(hash_component_list({"DISK0001X"}), expected);
}

TEST(HashComponentList, SortedJoinWithBar) {
    const std::string expected = "ba4522b60487ddcab8639ea031dc3670b6ffc9e1f9f1f4f27deb158281ebd3f8";
    EXPECT_EQ(hash_component_list({"1A2B3C4D", "0000ABCD"}), expected);
    EXPECT_EQ(hash_component_list({"0000ABCD", "1A2B3C4D", "1a2b-3c4d"}), expected);
}

TEST(HashComponentList, NothingMeaningfulGivesEmpty) {
    EXPECT_EQ(hash_component_list({}), "");
    EXPECT_EQ(hash_component_list({"", "N/A", "00000000", "To be filled by O.E.M."}), "");
}

TEST(Fingerprint, EmptyWhenEveryHashIsEmpty) {
    EXPECT_EQ(fingerprint_of_hashes({}), "");
    EXPECT_EQ(fingerprint_of_hashes({{"machine_guid", ""}, {"smbios_uuid", ""}}), "");
}

TEST(Fingerprint, SingleLineHasNoLineFeed) {
    const std::string guid_hash =
        "cd483b209b21810a02008a800f1b0f4b15942791f307e3a10e2ff2501b3ab74a";
    ASSERT_EQ(hash_component("4C4C4544"), guid_hash);
    EXPECT_EQ(fingerprint_of_hashes({{"bios_serial", ""}, {"machine_guid", guid_hash}}),
              "2452dd885f3f823500c1f0715e89227a21a123ad7efabff5a7157833a1b035be");
}

TEST(Fingerprint, LinesAreSortedWhateverTheInputOrder) {
    const std::vector<std::pair<std::string, std::string>> forward{{"a_key", "11"},
                                                                   {"b_key", "22"}};
    const std::vector<std::pair<std::string, std::string>> reverse{{"b_key", "22"},
                                                                   {"a_key", "11"}};
    EXPECT_EQ(fingerprint_of_hashes(forward), fingerprint_of_hashes(reverse));
    EXPECT_EQ(fingerprint_of_hashes(forward),
              "1946c03cc49903356dc6510787945654fc59eb3297717b9819bb8d5de0b33b43");
}

}  // namespace
}  // namespace tq
