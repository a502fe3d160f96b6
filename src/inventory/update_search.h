#pragma once

// The update search: installed updates and, when asked for, the applicable
// ones still missing, with the count of those that matter.

#include <optional>
#include <string>
#include <vector>

#include "inventory/records.h"

namespace tq {

// Each id prefixed with "KB", joined with "," (KB111,KB222); "" for none.
std::string join_kb_ids(const std::vector<std::string>& ids);

// The severity as reported, or "Unspecified" when it is missing or empty.
std::string severity_text(const std::optional<std::string>& reported);

// Mandatory updates plus those whose severity is critical or important in
// any letter case.
std::uint32_t count_important(const std::vector<UpdateInfo>& available);

// Installed updates are searched offline; missing ones online. Failures only
// shorten the lists (and are logged); last_search is always set.
UpdateSummary search_updates(bool include_installed, bool include_available);

}  // namespace tq
