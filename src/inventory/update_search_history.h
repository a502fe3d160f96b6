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

// Whether a package file comes from a security archive (Debian's
// "bookworm-security", Ubuntu's "jammy-security", labels such as
// "Debian-Security"): such upgrades are marked "Important".
bool is_security_origin(std::string_view archive, std::string_view label);

}  // namespace tq
