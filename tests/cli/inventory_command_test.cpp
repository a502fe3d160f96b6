#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/run_program.h"

namespace tq {
namespace {

using nlohmann::json;

const std::vector<std::string> kInventoryKeys{
    "component_hashes", "cpu",          "disks",   "drivers",
    "fingerprint",      "generated_at", "gpus",    "hwid",
    "schema_version",   "system",       "updates",
};

std::vector<std::string> keys_of(const json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

test::ProgramRun run(const std::vector<std::string>& args) {
    return test::run_program(TQ_INVENTORY_EXE, args);
}

bool is_digest_or_empty(const json& value) {
    if (!value.is_string()) {
        return false;
    }
    const std::string text = value.get<std::string>();
    return text.empty() ||
           (text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos);
}

TEST(InventoryCommand, DefaultPrintsTheCompactInventoryWithIdentity) {
    const auto result = run({});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    ASSERT_FALSE(result.out.empty());
    EXPECT_EQ(result.out.back(), '\n');
    // Compact: one line of JSON.
    EXPECT_EQ(result.out.find('\n'), result.out.size() - 1);
    const json doc = json::parse(result.out, nullptr, false);
    ASSERT_FALSE(doc.is_discarded());
    EXPECT_EQ(keys_of(doc), kInventoryKeys);
    EXPECT_EQ(doc["schema_version"], 1);
    EXPECT_EQ(doc["updates"]["last_search"], "");
    EXPECT_TRUE(doc["updates"]["installed"].empty());
    EXPECT_TRUE(is_digest_or_empty(doc["fingerprint"]));
    EXPECT_EQ(doc["component_hashes"].size(), 10u);
    for (const auto& item : doc["component_hashes"].items()) {
        EXPECT_TRUE(is_digest_or_empty(item.value())) << item.key();
    }
    // Every machine has a processor, so the identity was collected.
    EXPECT_FALSE(doc["hwid"]["cpu_signature"].get<std::string>().empty());
}

TEST(InventoryCommand, PrettyUpdatesAndNoIdentity) {
    const auto result = run({"--pretty", "--updates", "--no-hwid"});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("\n  \"component_hashes\": {"), std::string::npos);
    const json doc = json::parse(result.out, nullptr, false);
    ASSERT_FALSE(doc.is_discarded());
    EXPECT_EQ(doc["fingerprint"], "");
    EXPECT_EQ(doc["hwid"]["cpu_signature"], "");
    EXPECT_FALSE(doc["updates"]["last_search"].get<std::string>().empty());
    EXPECT_TRUE(doc["updates"]["available"].empty());
}

TEST(InventoryCommand, HwidPrintsTheIdentityDocument) {
    const auto result = run({"--hwid"});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const json doc = json::parse(result.out, nullptr, false);
    ASSERT_FALSE(doc.is_discarded());
    EXPECT_EQ(keys_of(doc),
              (std::vector<std::string>{"baseboard_serial", "bios_serial", "component_hashes",
                                        "cpu_signature", "disk_serials", "gpu_signature",
                                        "local_fingerprint", "mac_addresses", "machine_guid",
                                        "smbios_uuid", "volume_serials", "windows_product_id"}));
    EXPECT_TRUE(is_digest_or_empty(doc["local_fingerprint"]));
}

TEST(InventoryCommand, HelpGoesToStandardOutput) {
    const auto result = run({"--help"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out.rfind("Usage: tessarine-inventory", 0), 0u);
    EXPECT_EQ(result.err, "");
}

TEST(InventoryCommand, BadCommandLinesExitWithTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, std::vector<std::string>{"extra"},
          std::vector<std::string>{"--hwid", "--no-hwid"}}) {
        const auto result = run(args);
        EXPECT_EQ(result.exit_code, 2) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_NE(result.err.find("Usage: tessarine-inventory"), std::string::npos) << args[0];
    }
}

}  // namespace
}  // namespace tq
