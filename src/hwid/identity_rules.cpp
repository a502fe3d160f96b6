#include "hwid/identity_rules.h"

#include <algorithm>
#include <cstdio>

#include "util/text.h"

namespace tq {
namespace {

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool all_hex(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), is_hex_digit);
}

}  // namespace

std::optional<std::string> identity_mac_address(std::uint32_t if_type,
                                                std::span<const std::uint8_t> address) {
    if (if_type != kIfTypeEthernet && if_type != kIfTypeIeee80211) {
        return std::nullopt;
    }
    if (address.empty() || address.size() > 8) {
        return std::nullopt;
    }
    if (std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; })) {
        return std::nullopt;
    }
    return to_hex(address, true);
}

std::uint32_t adapter_type_of_link(std::uint16_t link_layer, bool has_device, bool is_wireless) {
    // Link-layer numbers as Linux's ARPHRD_ constants give them.
    constexpr std::uint16_t kLinkEthernet = 1;
    constexpr std::uint16_t kLinkLoopback = 772;
    constexpr std::uint32_t kIfTypeOther = 1;
    constexpr std::uint32_t kIfTypeLoopback = 24;
    if (link_layer == kLinkLoopback) {
        return kIfTypeLoopback;
    }
    if (link_layer != kLinkEthernet || !has_device) {
        return kIfTypeOther;
    }
    return is_wireless ? kIfTypeIeee80211 : kIfTypeEthernet;
}

std::vector<std::string> select_mac_addresses(const std::vector<AdapterAddress>& adapters) {
    std::vector<std::string> out;
    for (const AdapterAddress& adapter : adapters) {
        if (auto mac = identity_mac_address(adapter.if_type, adapter.address)) {
            out.push_back(std::move(*mac));
        }
    }
    return out;
}

std::vector<std::string> volume_serial_texts(const std::vector<VolumeSerial>& volumes) {
    std::vector<std::string> out;
    for (const VolumeSerial& volume : volumes) {
        if (!volume.serial.empty()) {
            out.push_back(volume.serial);
        }
    }
    return out;
}

std::string format_volume_serial(std::uint32_t serial) {
    char text[9];
    std::snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(serial));
    return text;
}

std::string filesystem_serial_text(std::string_view fs_type, std::string_view uuid) {
    const std::string type = to_lower(fs_type);
    std::string digits;
    for (const char c : uuid) {
        if (c != '-') {
            digits.push_back(c);
        }
    }
    digits = to_upper(digits);
    if (digits.empty()) {
        return "";
    }
    const bool fat_like = type == "vfat" || type == "exfat" || type == "msdos";
    if (fat_like && digits.size() == 8 && all_hex(digits)) {
        return digits;
    }
    if (type == "ntfs" && digits.size() == 16 && all_hex(digits)) {
        return digits.substr(8);
    }
    return digits;
}

std::string cpu_signature_text(std::string_view vendor, std::uint32_t family, std::uint32_t model,
                               std::uint32_t stepping) {
    return std::string(vendor) + "-" + std::to_string(family) + "-" + std::to_string(model) + "-" +
           std::to_string(stepping);
}

std::string gpu_signature_text(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ids) {
    std::vector<std::string> parts;
    parts.reserve(ids.size());
    for (const auto& [vendor_id, device_id] : ids) {
        char text[24];
        std::snprintf(text, sizeof(text), "%04X:%04X", static_cast<unsigned>(vendor_id),
                      static_cast<unsigned>(device_id));
        parts.emplace_back(text);
    }
    return join(parts, ",");
}

std::string choose_bios_serial(const std::string& system_serial, const std::string& bios_version) {
    return system_serial.empty() ? bios_version : system_serial;
}

}  // namespace tq
