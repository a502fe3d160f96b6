#pragma once

// The firmware's SMBIOS table: fetched from the platform, walked here. Only
// the few strings the inventory and the identity need are kept, byte for
// byte as the firmware stores them (not necessarily valid UTF-8).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tq {

struct SmbiosInfo {
    std::string system_manufacturer;
    std::string system_product;
    std::string system_serial;
    std::string system_uuid;
    std::string baseboard_serial;
    std::string bios_version;
    std::string bios_date;
};

// Fetches the table afresh. No result when the table could not be fetched;
// empty fields when it was fetched but held nothing usable.
std::optional<SmbiosInfo> read_smbios();

// The raw table in the 8-byte-header layout (calling method, major, minor,
// DMI revision, 32-bit little-endian length, then the structures). No
// result for 8 bytes or fewer, or a declared length of 0.
std::optional<SmbiosInfo> parse_smbios_raw(std::span<const std::uint8_t> raw);

// Walks the structures back to back; never reads outside `data` and stops
// at the first structure that is too short or does not fit.
SmbiosInfo walk_smbios(std::span<const std::uint8_t> data);

// The 16 UUID bytes of a system information structure as
// XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX, with the first three groups
// byte-swapped; empty for all 00 or all FF.
std::string smbios_uuid_text(std::span<const std::uint8_t, 16> bytes);

}  // namespace tq
