#include "inventory/sysfs_linux.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace tq {

std::optional<std::string> read_sysfs_value(const std::filesystem::path& path) {
    auto text = read_whole_file(path);
    if (text && !text->empty() && text->back() == '\n')
        text->pop_back();
    return text;
}

std::optional<std::uint64_t> read_sysfs_number(const std::filesystem::path& path) {
    const auto text = read_sysfs_value(path);
    if (!text || text->empty())
        return std::nullopt;
    const char* begin = text->c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(begin, &end, 0);
    if (end == begin || errno != 0 || *begin == '-')
        return std::nullopt;
    return value;
}

std::vector<std::string> list_folder(const std::filesystem::path& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tq
