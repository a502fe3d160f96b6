#include "inventory/gpu_collector_linux.h"

#include <sys/utsname.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "inventory/sysfs_linux.h"
#include "util/utf.h"

namespace tq {

namespace {

std::optional<std::uint32_t> hex_at_line_start(std::string_view line) {
    if (line.size() < 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = line[i];
        value <<= 4;
        if (c >= '0' && c <= '9')
            value |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return value;
}

std::string name_after_id(std::string_view line) {
    std::size_t start = 4;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    return std::string(line.substr(start));
}

bool is_card_name(const std::string& name) {
    return name.size() > 4 && name.compare(0, 4, "card") == 0 &&
           name.find_first_not_of("0123456789", 4) == std::string::npos;
}

std::string default_pci_ids() {
    for (const char* path : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        if (std::filesystem::exists(path))
            return path;
    }
    return {};
}

}  // namespace

std::string pci_adapter_name(std::string_view db, std::uint32_t vendor_id,
                             std::uint32_t device_id) {
    std::string vendor_name;
    bool in_vendor = false;
    while (!db.empty()) {
        const std::size_t end = db.find('\n');
        std::string_view line = db.substr(0, end);
        db = end == std::string_view::npos ? std::string_view{} : db.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] != '\t') {
            // The device classes at the end of the file start with "C ".
            if (in_vendor || line[0] == 'C')
                break;
            if (hex_at_line_start(line) == vendor_id) {
                in_vendor = true;
                vendor_name = name_after_id(line);
            }
            continue;
        }
        if (!in_vendor || line.size() < 2 || line[1] == '\t')
            continue;
        if (hex_at_line_start(line.substr(1)) != device_id)
            continue;
        const std::string device = name_after_id(line.substr(1));
        const std::size_t open = device.find('[');
        const std::size_t close = device.rfind(']');
        const std::string ours = gpu_vendor_name(vendor_id);
        if (open != std::string::npos && close != std::string::npos && close > open + 1 &&
            ours != "Unknown") {
            return ours + " " + device.substr(open + 1, close - open - 1);
        }
        return device;
    }
    return vendor_name;
}

std::vector<DrmCard> read_drm_cards(const std::filesystem::path& sys_root,
                                    std::string_view kernel_release,
                                    const std::filesystem::path& pci_ids) {
    std::vector<DrmCard> cards;
    std::optional<std::string> database;
    std::vector<std::string> names;
    for (const auto& name : list_folder(sys_root / "class/drm")) {
        if (is_card_name(name))
            names.push_back(name);
    }
    // Numeric order, so card10 follows card9.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const auto& name : names) {
        const auto device = sys_root / "class/drm" / name / "device";
        DrmCard card;
        auto& a = card.adapter;
        const auto vendor = read_sysfs_number(device / "vendor");
        const auto product = read_sysfs_number(device / "device");
        if (!vendor || !product) {
            a.flags = 2;
        } else {
            a.vendor_id = static_cast<std::uint32_t>(*vendor);
            a.device_id = static_cast<std::uint32_t>(*product);
            const auto sub_vendor = read_sysfs_number(device / "subsystem_vendor").value_or(0);
            const auto sub_device = read_sysfs_number(device / "subsystem_device").value_or(0);
            a.subsys_id =
                static_cast<std::uint32_t>(((sub_device & 0xFFFF) << 16) | (sub_vendor & 0xFFFF));
            a.revision =
                static_cast<std::uint32_t>(read_sysfs_number(device / "revision").value_or(0));
            a.dedicated_video_memory =
                read_sysfs_number(device / "mem_info_vram_total").value_or(0);
            if (!database)
                database = read_whole_file(pci_ids).value_or("");
            a.name = make_valid_utf8(pci_adapter_name(*database, a.vendor_id, a.device_id));
        }

        char hardware_id[80];
        std::snprintf(hardware_id, sizeof hardware_id,
                      "PCI\\VEN_%04X&DEV_%04X&SUBSYS_%08X&REV_%02X", a.vendor_id, a.device_id,
                      a.subsys_id, a.revision);
        card.driver.hardware_id = hardware_id;
        card.driver.driver_desc = a.name;
        std::error_code ec;
        const auto driver = std::filesystem::read_symlink(device / "driver", ec);
        if (!ec) {
            const std::string module = driver.filename().string();
            card.driver.driver_version =
                make_valid_utf8(read_sysfs_value(sys_root / "module" / module / "version")
                                    .value_or(std::string(kernel_release)));
        }
        cards.push_back(std::move(card));
    }
    return cards;
}

namespace {

std::vector<DrmCard> machine_cards() {
    utsname uts{};
    const std::string release = uname(&uts) == 0 ? uts.release : "";
    return read_drm_cards("/sys", release, default_pci_ids());
}

}  // namespace

std::vector<DisplayDriverEntry> read_display_driver_entries() {
    std::vector<DisplayDriverEntry> entries;
    for (auto& card : machine_cards()) {
        if (is_useful_driver_entry(card.driver))
            entries.push_back(std::move(card.driver));
    }
    return entries;
}

std::vector<GpuInfo> collect_gpus() {
    const auto cards = machine_cards();
    std::vector<DisplayDriverEntry> entries;
    for (const auto& card : cards) {
        if (is_useful_driver_entry(card.driver))
            entries.push_back(card.driver);
    }
    std::vector<GpuInfo> gpus;
    for (const auto& card : cards) {
        if (auto gpu = gpu_from_adapter(card.adapter, entries))
            gpus.push_back(std::move(*gpu));
    }
    return gpus;
}

}  // namespace tq
