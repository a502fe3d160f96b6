#include <gtest/gtest.h>

#include "hwid/hwid.h"

// Expected digests were computed with an independent SHA-256 tool.

namespace tq {
namespace {

const std::vector<std::string> kComponentKeys{
    "baseboard_serial", "bios_serial",  "cpu_signature", "disk_serials",   "gpu_signature",
    "mac_addresses",    "machine_guid", "smbios_uuid",   "volume_serials", "windows_product_id",
};

std::vector<std::string> keys_of(const json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

TEST(ComponentHashes, EmptyComponentsGiveEmptyHashesAndFingerprint) {
    const HwidComponents empty;
    const json hashes = compute_component_hashes(empty);
    EXPECT_EQ(keys_of(hashes), kComponentKeys);
    for (const auto& item : hashes.items()) {
        EXPECT_EQ(item.value(), "") << item.key();
    }
    EXPECT_EQ(compute_fingerprint(empty), "");
}

TEST(ComponentHashes, EachComponentUnderItsOwnKey) {
    HwidComponents c;
    c.smbios_uuid = "03000200-0400-0500-0006-000700080009";
    c.baseboard_serial = "To be filled by O.E.M.";
    c.bios_serial = "F.20";
    c.cpu_signature = "GenuineIntel-6-154-3";
    c.gpu_signature = "10DE:2684,8086:A780";
    c.disk_serials = {"DISK0001X", "  ", "disk0001x"};
    c.volume_serials = {"1A2B3C4D", "0000ABCD"};
    c.mac_addresses = {"000000000000"};
    const json hashes = compute_component_hashes(c);
    EXPECT_EQ(hashes["smbios_uuid"],
              "b0469b585e43347cfde6ea27010f6589c49802d40e0d6e3be8e22ef6ce272801");
    EXPECT_EQ(hashes["baseboard_serial"], "");
    EXPECT_EQ(hashes["bios_serial"],
              "093b2595e22ee35c34f1a5b2edca2ac28d6e879b8c93f950e0b305cd887d0c7e");
    EXPECT_EQ(hashes["cpu_signature"],
              "8733408f6deb17a72d55e0b3be88bb33a3ef2514a27502e0522f85b0181a36ea");
    EXPECT_EQ(hashes["gpu_signature"],
              "89d7bfe9380ed7d50108ba60c6ca108aca29277d56b72024ea00e640a31104c9");
    EXPECT_EQ(hashes["disk_serials"],
              "0009c064f318090849c25e85dab2e2a4c6354cf0e94ef76aa550f70c3431bdbe");
    EXPECT_EQ(hashes["volume_serials"],
              "ba4522b60487ddcab8639ea031dc3670b6ffc9e1f9f1f4f27deb158281ebd3f8");
    EXPECT_EQ(hashes["mac_addresses"], "");
    EXPECT_EQ(hashes["machine_guid"], "");
    EXPECT_EQ(hashes["windows_product_id"], "");
}

TEST(Fingerprint, KnownAnswers) {
    HwidComponents c;
    c.machine_guid = "4C4C4544";
    EXPECT_EQ(compute_fingerprint(c),
              "2452dd885f3f823500c1f0715e89227a21a123ad7efabff5a7157833a1b035be");
    c.bios_serial = "F.20";
    c.baseboard_serial = "Default string";
    EXPECT_EQ(compute_fingerprint(c),
              "0ddbff70aeea76d5552f1317824922f8f512301aca281cf39e82bd03f5db8a91");
}

TEST(Fingerprint, ChangesWithAVolumeButNotWithItsOrder) {
    HwidComponents c;
    c.machine_guid = "4C4C4544";
    c.volume_serials = {"1A2B3C4D"};
    const std::string one = compute_fingerprint(c);
    c.volume_serials = {"1A2B3C4D", "0000ABCD"};
    const std::string two = compute_fingerprint(c);
    c.volume_serials = {"0000ABCD", "1A2B3C4D"};
    EXPECT_NE(one, two);
    EXPECT_EQ(compute_fingerprint(c), two);
}

TEST(Documents, HwidAnswerAddsHashesAndLocalFingerprint) {
    HwidComponents c;
    c.machine_guid = "4C4C4544";
    c.disk_serials = {"SN1"};
    const json doc = hwid_document(c);
    EXPECT_EQ(keys_of(doc),
              (std::vector<std::string>{"baseboard_serial", "bios_serial", "component_hashes",
                                        "cpu_signature", "disk_serials", "gpu_signature",
                                        "local_fingerprint", "mac_addresses", "machine_guid",
                                        "smbios_uuid", "volume_serials", "windows_product_id"}));
    EXPECT_EQ(doc["machine_guid"], "4C4C4544");
    EXPECT_EQ(doc["disk_serials"], json::array({"SN1"}));
    EXPECT_EQ(keys_of(doc["component_hashes"]), kComponentKeys);
    EXPECT_EQ(doc["local_fingerprint"], compute_fingerprint(c));
}

TEST(Documents, InventoryResultCarriesHashesOfItsOwnIdentity) {
    Inventory inventory;
    inventory.schema_version = 1;
    const json empty = inventory_document(inventory);
    EXPECT_EQ(keys_of(empty),
              (std::vector<std::string>{"component_hashes", "cpu", "disks", "drivers",
                                        "fingerprint", "generated_at", "gpus", "hwid",
                                        "schema_version", "system", "updates"}));
    EXPECT_EQ(empty["fingerprint"], "");
    EXPECT_EQ(empty["component_hashes"]["machine_guid"], "");

    inventory.hwid.machine_guid = "4C4C4544";
    const json filled = inventory_document(inventory);
    EXPECT_EQ(filled["fingerprint"],
              "2452dd885f3f823500c1f0715e89227a21a123ad7efabff5a7157833a1b035be");
    EXPECT_EQ(filled["fingerprint"], hwid_document(inventory.hwid)["local_fingerprint"]);
}

}  // namespace
}  // namespace tq
