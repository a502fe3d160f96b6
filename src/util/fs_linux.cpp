#include "util/fs.h"

namespace tq {

std::filesystem::path path_from_utf8(std::string_view utf8) {
    return std::filesystem::path(std::string(utf8));
}

std::string path_to_utf8(const std::filesystem::path& path) {
    return path.native();
}

}  // namespace tq
