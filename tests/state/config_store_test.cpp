#include <gtest/gtest.h>

#include "state/config_store.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

AppConfig defaults() {
    return {std::string(kDefaultApiBaseUrl), "", "Device"};
}

std::string path_text(const std::filesystem::path& path) {
    return path_to_utf8(path);
}

TEST(ConfigStore, MissingFileGivesDefaultsSilently) {
    test::TempDir dir;
    test::LogCapture log;
    AppConfig config;
    std::string path;
    init_config(path_text(dir.path()), config, path);
    EXPECT_EQ(config, defaults());
    EXPECT_EQ(path, config_path_in(path_text(dir.path())));
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "[INFO ] API base URL: " + std::string(kDefaultApiBaseUrl));
}

TEST(ConfigStore, FileValuesReplaceDefaultsMemberByMember) {
    test::TempDir dir;
    test::write_file(dir / "config.json", R"({"device_id":"dev-42"})");
    test::LogCapture log;
    AppConfig config;
    std::string path;
    init_config(path_text(dir.path()), config, path);
    EXPECT_EQ(config, (AppConfig{std::string(kDefaultApiBaseUrl), "dev-42", "Device"}));
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "[INFO ] Bound device id: dev-42");
}

struct LoadCase {
    const char* name;
    std::string file;
    AppConfig expected;
    bool warns;
};

std::ostream& operator<<(std::ostream& out, const LoadCase& c) {
    return out << c.name;
}

class ConfigLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ConfigLoad, ReadsOverTheDefaults) {
    const LoadCase& c = GetParam();
    test::TempDir dir;
    test::write_file(dir / "config.json", c.file);
    test::LogCapture log;
    EXPECT_EQ(ConfigStore::load(path_text(dir / "config.json"), defaults()), c.expected);
    const auto messages = log.messages();
    if (c.warns) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "[WARN ] config.json is not valid JSON; using defaults");
    } else {
        EXPECT_TRUE(messages.empty());
    }
    // Loading never rewrites the file.
    EXPECT_EQ(test::read_file(dir / "config.json"), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    ConfigStore, ConfigLoad,
    ::testing::Values(
        LoadCase{"all_three",
                 R"({"api_base_url":"http://127.0.0.1:8080/","device_id":"d","device_label":"L",
                     "extra":1})",
                 {"http://127.0.0.1:8080/", "d", "L"},
                 false},
        LoadCase{"empty_label_keeps_default", R"({"device_label":""})", defaults(), false},
        LoadCase{"other_type_counts_as_absent",
                 R"({"device_id":5,"device_label":"Sala"})",
                 {std::string(kDefaultApiBaseUrl), "", "Sala"},
                 false},
        LoadCase{"empty_array", "[]", defaults(), true},
        LoadCase{"bare_string", R"("https://x")", defaults(), true},
        LoadCase{"truncated_object", R"({"device_id":"d)", defaults(), true},
        LoadCase{"not_json", "device_id=5", defaults(), true},
        LoadCase{"empty_file", "", defaults(), true},
        LoadCase{"comments_are_not_json", "{/* no */}", defaults(), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigStore, SaveWritesTheExactFormatAndReadsBack) {
    test::TempDir dir;
    const auto file = dir / "config.json";
    const AppConfig config{"https://api.example.com/v1/", "dev-\"7\"", "Escrit\xC3\xB3rio"};
    ASSERT_TRUE(ConfigStore::save(path_text(file), config));
    EXPECT_EQ(test::read_file(file),
              "{\n"
              "  \"api_base_url\": \"https://api.example.com/v1/\",\n"
              "  \"device_id\": \"dev-\\\"7\\\"\",\n"
              "  \"device_label\": \"Escrit\xC3\xB3rio\"\n"
              "}");
    EXPECT_FALSE(std::filesystem::exists(dir / "config.json.tmp"));
    EXPECT_EQ(ConfigStore::load(path_text(file), defaults()), config);
}

TEST(ConfigStore, SaveCreatesTheDataFolder) {
    test::TempDir dir;
    const auto file = dir / "Dados \xC3\xA7" / "config.json";
    ASSERT_TRUE(ConfigStore::save(path_text(file), defaults()));
    EXPECT_EQ(ConfigStore::load(path_text(file), AppConfig{}), defaults());
}

TEST(ConfigStore, UnopenableTemporaryFileFailsTheSave) {
    test::TempDir dir;
    const auto file = dir / "config.json";
    test::write_file(file, "old");
    // A folder at the temporary path stops the open even for root.
    std::filesystem::create_directory(dir / "config.json.tmp");
    test::LogCapture log;
    std::string path = path_text(file);
    persist_config(path_text(dir.path()), defaults(), path);
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "[ERROR] could not open " + path + ".tmp for writing");
    EXPECT_EQ(messages[1], "[WARN ] config could not be persisted; the value stays in memory only");
    EXPECT_EQ(test::read_file(file), "old");
}

TEST(ConfigStore, FailedRenameKeepsTheOldFileAndRemovesTheTemporary) {
    test::TempDir dir;
    // The target is a folder, which no rename can replace with a file.
    const auto target = dir / "config.json";
    std::filesystem::create_directory(target);
    test::write_file(target / "keep", "x");
    test::LogCapture log;
    EXPECT_FALSE(ConfigStore::save(path_text(target), defaults()));
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    const std::string prefix = "[ERROR] could not replace " + path_text(target) + " (error ";
    EXPECT_EQ(messages[0].rfind(prefix, 0), 0u) << messages[0];
    EXPECT_NE(messages[0].substr(prefix.size()), ")");
    EXPECT_EQ(messages[0].back(), ')');
    EXPECT_FALSE(std::filesystem::exists(dir / "config.json.tmp"));
    EXPECT_EQ(test::read_file(target / "keep"), "x");
}

TEST(ConfigStore, PersistComputesAMissingPath) {
    test::TempDir dir;
    std::string path;
    persist_config(path_text(dir.path()), defaults(), path);
    EXPECT_EQ(path, config_path_in(path_text(dir.path())));
    EXPECT_EQ(ConfigStore::load(path, AppConfig{}), defaults());
}

}  // namespace
}  // namespace tq
