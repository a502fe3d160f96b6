#include "state/file_store.h"

#include "util/fs.h"

namespace tq {

std::optional<std::string> folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    return path.substr(0, slash);
}

void make_folder_levels(const std::string& folder) {
    // Short paths are a drive or the root itself; the walk starts past a
    // drive prefix such as "C:\".
    if (folder.size() <= 2) {
        return;
    }
    for (std::size_t i = 3; i < folder.size(); ++i) {
        if (folder[i] == '\\' || folder[i] == '/') {
            make_folder(folder.substr(0, i));
        }
    }
    make_folder(folder);
}

}  // namespace tq
