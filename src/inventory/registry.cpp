#include "inventory/registry.h"

#include "util/text.h"

namespace tq {

std::size_t reg_string_length(const WChar* units, std::size_t byte_count) {
    std::size_t length = byte_count / 2;
    while (length > 0 && units[length - 1] == 0)
        --length;
    return length;
}

std::optional<std::string> read_reg_string(RegRoot root, WStringView path, WStringView value_name) {
    auto wide = read_reg_wstring(root, path, value_name);
    if (!wide)
        return std::nullopt;
    return to_utf8(*wide);
}

}  // namespace tq
