#include "util/fs.h"
#include "util/text.h"

namespace tq {

std::filesystem::path path_from_utf8(std::string_view utf8) {
    return std::filesystem::path(to_wide(utf8));
}

std::string path_to_utf8(const std::filesystem::path& path) {
    return to_utf8(path.native());
}

}  // namespace tq
