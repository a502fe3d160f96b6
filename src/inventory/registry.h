#pragma once

// Reads of single registry values. Each helper opens the key itself for
// reading (no WOW64 view flag), closes it before returning, and never
// throws for a missing key or value: absent is an empty optional, which is
// different from a present empty string. Linux has no registry, so there
// every key is missing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/wide.h"

namespace tq {

// The predefined roots the collectors read from.
enum class RegRoot {
    LocalMachine,
    CurrentUser,
};

// Only a REG_DWORD value.
std::optional<std::uint32_t> read_reg_dword(RegRoot root, WStringView path, WStringView value_name);

// Only REG_SZ or REG_EXPAND_SZ (not expanded); every trailing NUL removed,
// and a value stored without a terminator comes back whole.
std::optional<WString> read_reg_wstring(RegRoot root, WStringView path, WStringView value_name);

// read_reg_wstring converted to UTF-8.
std::optional<std::string> read_reg_string(RegRoot root, WStringView path, WStringView value_name);

// Names of the key's subkeys in enumeration order; empty when the key
// cannot be opened.
std::vector<WString> list_reg_subkeys(RegRoot root, WStringView path);

// The length in UTF-16 units of a string value of `byte_count` bytes
// (halved) once its trailing NUL units are removed.
std::size_t reg_string_length(const WChar* units, std::size_t byte_count);

}  // namespace tq
