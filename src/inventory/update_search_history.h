#pragma once

// The Linux stand-in for the update history: upgrades as the package
// manager records them. Pure parsing of dpkg's log text.

#include <string_view>
#include <vector>

#include "inventory/records.h"

namespace tq {

// One installed entry per "upgrade" line of dpkg's log, in the log's order:
// title "<package> <new version>", no KB ids, severity "Unspecified", not
// mandatory. Other actions and malformed lines are skipped.
std::vector<UpdateInfo> parse_dpkg_upgrades(std::string_view log_text);

// The pending upgrades from apt's simulated upgrade ("apt-get -s upgrade"),
// one per "Inst" line, in apt's order: title "<package>:<arch> <new
// version>", severity "Important" when the new version comes from a
// security archive, otherwise "Unspecified"; not installed, not mandatory.
std::vector<UpdateInfo> parse_apt_simulation(std::string_view output);

// Whether an apt origin text names a security archive (Debian's
// "Debian-Security:12/stable-security", Ubuntu's "jammy-security").
bool is_security_origin(std::string_view origin);

}  // namespace tq
