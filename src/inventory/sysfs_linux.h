#pragma once

// Small readers for procfs and sysfs files, shared by the Linux collectors.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "util/fs.h"

namespace tq {

// A one-value sysfs attribute without its line feed (only the last one is
// removed; other white space is the value's own).
std::optional<std::string> read_sysfs_value(const std::filesystem::path& path);

// A sysfs attribute holding a number, decimal or 0x-prefixed hexadecimal.
std::optional<std::uint64_t> read_sysfs_number(const std::filesystem::path& path);

// Names of the entries of a folder, sorted; empty when it cannot be listed.
std::vector<std::string> list_folder(const std::filesystem::path& path);

}  // namespace tq
