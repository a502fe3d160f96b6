#include "hwid/smbios_linux.h"

#include <vector>

#include "inventory/sysfs_linux.h"

namespace tq {

namespace {

// Version bytes of the 8-byte header, taken from the 32-bit ("_SM_") or
// 64-bit ("_SM3_") entry point; zeros when the entry point is unknown.
void fill_versions(const std::string& entry, std::vector<std::uint8_t>& raw) {
    if (entry.size() >= 10 && entry.compare(0, 5, "_SM3_") == 0) {
        raw[1] = static_cast<std::uint8_t>(entry[7]);
        raw[2] = static_cast<std::uint8_t>(entry[8]);
        raw[3] = static_cast<std::uint8_t>(entry[9]);
    } else if (entry.size() >= 8 && entry.compare(0, 4, "_SM_") == 0) {
        raw[1] = static_cast<std::uint8_t>(entry[6]);
        raw[2] = static_cast<std::uint8_t>(entry[7]);
    }
}

std::optional<SmbiosInfo> from_table(const std::filesystem::path& sys_root) {
    const auto table = read_whole_file(sys_root / "firmware/dmi/tables/DMI");
    if (!table || table->empty() || table->size() > 0xFFFFFFFFu)
        return std::nullopt;
    std::vector<std::uint8_t> raw(8 + table->size(), 0);
    if (const auto entry = read_whole_file(sys_root / "firmware/dmi/tables/smbios_entry_point")) {
        fill_versions(*entry, raw);
    }
    const auto length = static_cast<std::uint32_t>(table->size());
    for (int i = 0; i < 4; ++i)
        raw[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    std::copy(table->begin(), table->end(), raw.begin() + 8);
    return parse_smbios_raw(raw);
}

std::optional<SmbiosInfo> from_dmi_id(const std::filesystem::path& sys_root) {
    const auto dir = sys_root / "class/dmi/id";
    auto manufacturer = read_sysfs_value(dir / "sys_vendor");
    auto product = read_sysfs_value(dir / "product_name");
    auto bios_version = read_sysfs_value(dir / "bios_version");
    auto bios_date = read_sysfs_value(dir / "bios_date");
    if (!manufacturer && !product && !bios_version && !bios_date)
        return std::nullopt;
    SmbiosInfo info;
    info.system_manufacturer = manufacturer.value_or("");
    info.system_product = product.value_or("");
    info.bios_version = bios_version.value_or("");
    info.bios_date = bios_date.value_or("");
    return info;
}

}  // namespace

std::optional<SmbiosInfo> read_smbios_from(const std::filesystem::path& sys_root) {
    if (auto info = from_table(sys_root))
        return info;
    return from_dmi_id(sys_root);
}

std::optional<SmbiosInfo> read_smbios() {
    return read_smbios_from("/sys");
}

}  // namespace tq
