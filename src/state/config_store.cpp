#include "state/config_store.h"

#include <nlohmann/json.hpp>

#include "state/file_store.h"
#include "util/log.h"

namespace tq {
namespace {

using json = nlohmann::json;

constexpr const char* kKeys[] = {"api_base_url", "device_id", "device_label"};

std::string* field(AppConfig& config, std::string_view key) {
    if (key == "api_base_url") {
        return &config.api_base_url;
    }
    if (key == "device_id") {
        return &config.device_id;
    }
    return &config.device_label;
}

}  // namespace

bool operator==(const AppConfig& a, const AppConfig& b) {
    return a.api_base_url == b.api_base_url && a.device_id == b.device_id &&
           a.device_label == b.device_label;
}

AppConfig ConfigStore::load(const std::string& path, const AppConfig& defaults) {
    AppConfig result = defaults;
    const std::optional<std::string> text = read_whole_file(path_from_utf8(path));
    if (!text) {
        return result;
    }
    const json parsed = json::parse(*text, nullptr, false);
    if (!parsed.is_object()) {
        log_warn("config.json is not valid JSON; using defaults");
        return result;
    }
    for (const char* key : kKeys) {
        // A member of another type is treated as absent, for that member
        // alone: one hand-edited value must not discard the others.
        const auto it = parsed.find(key);
        if (it != parsed.end() && it->is_string() && !it->get_ref<const std::string&>().empty()) {
            *field(result, key) = it->get<std::string>();
        }
    }
    return result;
}

std::string config_file_text(const AppConfig& config) {
    json object = json::object();
    object["api_base_url"] = config.api_base_url;
    object["device_id"] = config.device_id;
    object["device_label"] = config.device_label;
    // Values reach us as UTF-8 from the page or the file; should one not be,
    // it is mended rather than failing the save.
    return object.dump(2, ' ', false, json::error_handler_t::replace);
}

bool ConfigStore::save(const std::string& path, const AppConfig& config) {
    if (const auto folder = folder_of(path); folder && !folder->empty()) {
        make_folder(*folder);
    }
    const std::string temporary = path + ".tmp";
    const ReplaceOutcome outcome =
        replace_file(path, temporary, config_file_text(config), FileAccess::user_default);
    switch (outcome.failure) {
        case ReplaceFailure::none:
            return true;
        case ReplaceFailure::open_temporary:
            log_error("could not open " + temporary + " for writing");
            return false;
        case ReplaceFailure::write_temporary:
            log_error("could not write " + temporary);
            return false;
        case ReplaceFailure::rename:
            log_error("could not replace " + path + " (error " +
                      std::to_string(outcome.error_code) + ")");
            return false;
    }
    return false;
}

std::string config_path_in(const std::string& data_dir) {
    return path_in_folder(data_dir, "config.json");
}

void init_config(const std::string& data_dir, AppConfig& config, std::string& config_path) {
    config = AppConfig{};
    config.api_base_url = std::string(kDefaultApiBaseUrl);
    config.device_label = "Device";
    config_path = config_path_in(data_dir);
    config = ConfigStore::load(config_path, config);
    log_info("API base URL: " + config.api_base_url);
    if (!config.device_id.empty()) {
        log_info("Bound device id: " + config.device_id);
    }
}

void persist_config(const std::string& data_dir, const AppConfig& config,
                    std::string& config_path) {
    if (config_path.empty()) {
        config_path = config_path_in(data_dir);
    }
    if (!ConfigStore::save(config_path, config)) {
        log_warn("config could not be persisted; the value stays in memory only");
    }
}

}  // namespace tq
