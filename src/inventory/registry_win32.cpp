#include <windows.h>

#include <algorithm>

#include "inventory/registry.h"

namespace tq {

namespace {

HKEY root_key(RegRoot root) {
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// An open key, closed when the scope ends.
class Key {
  public:
    Key(RegRoot root, WStringView path) {
        const WString p(path);
        if (RegOpenKeyExW(root_key(root), p.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::uint32_t> read_reg_dword(RegRoot root, WStringView path,
                                            WStringView value_name) {
    Key key(root, path);
    if (!key.get())
        return std::nullopt;
    const WString name(value_name);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

std::optional<WString> read_reg_wstring(RegRoot root, WStringView path, WStringView value_name) {
    Key key(root, path);
    if (!key.get())
        return std::nullopt;
    const WString name(value_name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    // One unit more than the value holds, zero-filled, so a value stored
    // without its terminator still ends in one.
    WString buffer(size / 2 + 1, L'\0');
    DWORD returned = static_cast<DWORD>(buffer.size() * sizeof(WChar));
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &returned) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    const std::size_t bytes = std::min<std::size_t>(returned, buffer.size() * sizeof(WChar));
    buffer.resize(reg_string_length(buffer.data(), bytes));
    return buffer;
}

std::vector<WString> list_reg_subkeys(RegRoot root, WStringView path) {
    std::vector<WString> names;
    Key key(root, path);
    if (!key.get())
        return names;
    WChar name[512];
    for (DWORD index = 0;; ++index) {
        DWORD length = 512;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace tq
