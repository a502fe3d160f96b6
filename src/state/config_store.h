#pragma once

// config.json: the backend's base URL and this device's binding, read once
// at start-up and written back after a device registration.

#include <string>
#include <string_view>

namespace tq {

// The service's backend, used until config.json names another one.
inline constexpr std::string_view kDefaultApiBaseUrl = "https://api.tessarine.software/v1";

struct AppConfig {
    std::string api_base_url;
    std::string device_id;
    std::string device_label;
};

bool operator==(const AppConfig& a, const AppConfig& b);

class ConfigStore {
  public:
    // The file's values over `defaults`; a missing or broken file gives the
    // defaults. Never fails.
    static AppConfig load(const std::string& path, const AppConfig& defaults);
    // Replaces the file atomically; false (with an ERROR line) when it could
    // not be written.
    static bool save(const std::string& path, const AppConfig& config);
};

// The file's exact text: two-space indentation, members in key order, raw
// UTF-8, no trailing line break.
std::string config_file_text(const AppConfig& config);

std::string config_path_in(const std::string& data_dir);

// The start-up and persistence steps the application window runs over the
// configuration it owns and the path it keeps.
void init_config(const std::string& data_dir, AppConfig& config, std::string& config_path);
void persist_config(const std::string& data_dir, const AppConfig& config, std::string& config_path);

}  // namespace tq
