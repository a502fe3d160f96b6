#pragma once

// The Linux fetch of the SMBIOS table, with the root of sysfs as a
// parameter so a captured tree can stand in for the machine's.

#include <filesystem>
#include <optional>

#include "hwid/smbios.h"

namespace tq {

// The raw table from firmware/dmi/tables/DMI under `sys_root`, prefixed
// with the 8-byte header built from the entry point; when that cannot be
// read, the four fields an ordinary user may read from class/dmi/id. No
// result when neither exists.
std::optional<SmbiosInfo> read_smbios_from(const std::filesystem::path& sys_root);

}  // namespace tq
