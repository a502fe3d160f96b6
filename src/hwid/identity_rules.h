#pragma once

// The rules that turn what the platform reports into identity components.
// Pure functions: the platform files feed them raw values.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tq {

// Interface types as the IANA ifType registry numbers them; the Linux side
// reports its adapters in the same numbers.
inline constexpr std::uint32_t kIfTypeEthernet = 6;
inline constexpr std::uint32_t kIfTypeIeee80211 = 71;

// One network adapter as the enumeration reports it: interface type and its
// physical address (as many bytes as the adapter has).
struct AdapterAddress {
    std::uint32_t if_type = 0;
    std::vector<std::uint8_t> address;
};

// The upper-case hexadecimal address of an Ethernet or Wi-Fi adapter with a
// non-zero address of 1 to 8 bytes; nothing for any other adapter. Whether
// the adapter is up does not matter.
std::optional<std::string> identity_mac_address(std::uint32_t if_type,
                                                std::span<const std::uint8_t> address);

// The interface type a Linux link stands for, in the numbers above: a link
// backed by a real device with an Ethernet link layer is Ethernet, or Wi-Fi
// when it is wireless; loopback is 24; a virtual link (bridge, tunnel,
// container pair) and any other link layer count as "other" (1).
std::uint32_t adapter_type_of_link(std::uint16_t link_layer, bool has_device, bool is_wireless);

// identity_mac_address over the adapters, in their order.
std::vector<std::string> select_mac_addresses(const std::vector<AdapterAddress>& adapters);

// One readable volume: where it is reached (a drive such as C:, or a mount
// point on Linux) and its serial text.
struct VolumeSerial {
    std::string drive;
    std::string serial;
};

// The serials of the volumes, in order, without the empty ones.
std::vector<std::string> volume_serial_texts(const std::vector<VolumeSerial>& volumes);

// A 32-bit volume serial as eight upper-case hexadecimal digits.
std::string format_volume_serial(std::uint32_t serial);

// The Windows walk: drive letters of the mask from A to Z, each with the
// serial its volume reports; letters without a readable volume are skipped.
template <typename ReadSerial>
std::vector<VolumeSerial> volumes_from_drive_mask(std::uint32_t mask, ReadSerial read_serial) {
    std::vector<VolumeSerial> out;
    for (int n = 0; n < 26; ++n) {
        if ((mask & (std::uint32_t{1} << n)) == 0) {
            continue;
        }
        const char letter = static_cast<char>('A' + n);
        const std::optional<std::uint32_t> serial = read_serial(letter);
        if (serial) {
            out.push_back({std::string(1, letter) + ":", format_volume_serial(*serial)});
        }
    }
    return out;
}

// A Linux filesystem's serial text from its type and the UUID text blkid
// reports: the 32-bit serial where the filesystem has one (FAT and exFAT,
// and the low half of NTFS's 64-bit serial, as Windows shows it), otherwise
// the UUID upper-cased without hyphens; "" without a UUID.
std::string filesystem_serial_text(std::string_view fs_type, std::string_view uuid);

// vendor-family-model-stepping, the numbers in decimal.
std::string cpu_signature_text(std::string_view vendor, std::uint32_t family, std::uint32_t model,
                               std::uint32_t stepping);

// "VVVV:DDDD" per adapter (vendor and device id), joined with ",".
std::string gpu_signature_text(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ids);

// The system serial when the firmware has one, else the BIOS version.
std::string choose_bios_serial(const std::string& system_serial, const std::string& bios_version);

}  // namespace tq
