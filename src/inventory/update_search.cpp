#include "inventory/update_search.h"

#include "util/text.h"

namespace tq {

std::string join_kb_ids(const std::vector<std::string>& ids) {
    std::vector<std::string> prefixed;
    prefixed.reserve(ids.size());
    for (const std::string& id : ids) {
        prefixed.push_back("KB" + id);
    }
    return join(prefixed, ",");
}

std::string severity_text(const std::optional<std::string>& reported) {
    if (!reported || reported->empty()) {
        return "Unspecified";
    }
    return *reported;
}

std::uint32_t count_important(const std::vector<UpdateInfo>& available) {
    std::uint32_t count = 0;
    for (const UpdateInfo& update : available) {
        const std::string severity = to_lower(update.severity);
        if (update.mandatory || severity == "critical" || severity == "important") {
            ++count;
        }
    }
    return count;
}

}  // namespace tq
