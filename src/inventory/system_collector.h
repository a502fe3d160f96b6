#pragma once

// The machine's name, operating system, architecture, memory and the
// board and firmware strings of the SMBIOS table.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "hwid/smbios.h"
#include "inventory/records.h"

namespace tq {

SystemInfo collect_system_info();

// The operating system's values as the platform holds them; absent and
// empty are different (an empty display version stops the fallback).
struct OsValues {
    std::optional<std::string> product_name;
    std::optional<std::string> display_version;
    std::optional<std::string> release_id;
    std::optional<std::string> current_version;
    std::optional<std::string> current_build;
    std::optional<std::uint32_t> ubr;
};

// Fills os_name, os_version and os_build from the values.
void apply_os_values(const OsValues& values, SystemInfo& info);

// "x86", "ARM", "x86_64", "ARM64" or "unknown" for a processor
// architecture code of the native system information.
std::string architecture_name(std::uint16_t processor_architecture);

// The same names for a kernel's machine type (uname's "machine").
std::string architecture_from_machine(std::string_view machine);

// Copies the maker, model and BIOS strings when the table was read. They
// come from firmware as raw bytes, so ill-formed UTF-8 is replaced here,
// where it enters the record, to keep the inventory serialisable.
void apply_smbios(const std::optional<SmbiosInfo>& smbios, SystemInfo& info);

// The KEY=value lines of an os-release file, quotes and escapes removed.
std::map<std::string, std::string> parse_os_release(std::string_view text);

}  // namespace tq
