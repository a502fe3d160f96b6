#include "inventory/registry.h"

namespace tq {

std::optional<std::uint32_t> read_reg_dword(RegRoot, WStringView, WStringView) {
    return std::nullopt;
}

std::optional<WString> read_reg_wstring(RegRoot, WStringView, WStringView) {
    return std::nullopt;
}

std::vector<WString> list_reg_subkeys(RegRoot, WStringView) {
    return {};
}

}  // namespace tq
