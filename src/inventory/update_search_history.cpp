#include "inventory/update_search_history.h"

#include <sstream>
#include <string>

#include "util/text.h"

namespace tq {

std::vector<UpdateInfo> parse_dpkg_upgrades(std::string_view log_text) {
    std::vector<UpdateInfo> out;
    std::istringstream lines{std::string(log_text)};
    std::string line;
    while (std::getline(lines, line)) {
        // "YYYY-MM-DD HH:MM:SS upgrade <package> <old version> <new version>"
        std::istringstream fields(line);
        std::string date;
        std::string time;
        std::string action;
        std::string package;
        std::string old_version;
        std::string new_version;
        std::string extra;
        if (!(fields >> date >> time >> action >> package >> old_version >> new_version) ||
            (fields >> extra) || action != "upgrade") {
            continue;
        }
        UpdateInfo update;
        update.title = package + " " + new_version;
        update.severity = "Unspecified";
        update.installed = true;
        out.push_back(std::move(update));
    }
    return out;
}

bool is_security_origin(std::string_view archive, std::string_view label) {
    return to_lower(archive).find("security") != std::string::npos ||
           to_lower(label).find("security") != std::string::npos;
}

}  // namespace tq
