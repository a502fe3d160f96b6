#include <fstream>
#include <sstream>

#include "util/fs.h"

namespace tq {

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream out;
    out << in.rdbuf();
    // sysfs reports some read errors (EIO, EACCES on root-only attributes)
    // only when the read is attempted.
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(out).str();
}

}  // namespace tq
