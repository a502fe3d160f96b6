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

std::vector<UpdateInfo> parse_apt_simulation(std::string_view output) {
    std::vector<UpdateInfo> out;
    std::istringstream lines{std::string(output)};
    std::string line;
    while (std::getline(lines, line)) {
        // "Inst <package> [<old version>] (<new version> <origin...> [<arch>])"
        // where the old version is missing for a package not yet installed.
        if (line.rfind("Inst ", 0) != 0) {
            continue;
        }
        const auto open = line.find(" (");
        const auto arch_open = line.rfind(" [");
        if (open == std::string::npos || arch_open == std::string::npos || arch_open < open ||
            line.back() != ')' || line.size() < arch_open + 4) {
            continue;
        }
        const std::string package = line.substr(5, line.find(' ', 5) - 5);
        const std::string details = line.substr(open + 2, arch_open - open - 2);
        const std::string arch = line.substr(arch_open + 2, line.size() - arch_open - 4);
        const auto space = details.find(' ');
        const std::string version = details.substr(0, space);
        const std::string origin = space == std::string::npos ? "" : details.substr(space + 1);
        if (package.empty() || version.empty() || arch.empty()) {
            continue;
        }
        UpdateInfo update;
        update.title = package + ":" + arch + " " + version;
        update.severity = is_security_origin(origin) ? "Important" : "Unspecified";
        update.installed = false;
        out.push_back(std::move(update));
    }
    return out;
}

bool is_security_origin(std::string_view origin) {
    return to_lower(origin).find("security") != std::string::npos;
}

}  // namespace tq
