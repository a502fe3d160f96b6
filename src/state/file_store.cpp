#include "state/file_store.h"

#include <fstream>
#include <iterator>

#include "util/fs.h"

namespace tq {

std::optional<std::string> read_whole_file(const std::string& path) {
    std::ifstream in(path_from_utf8(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
