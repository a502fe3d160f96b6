#include <blkid/blkid.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <sys/socket.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "hwid/hwid.h"
#include "hwid/mount_rules.h"
#include "util/fs.h"
#include "util/text.h"

namespace tq {
namespace {

namespace fs = std::filesystem;

// The device node of a block device from its numbers, as udev named it.
std::string device_node(std::uint32_t major, std::uint32_t minor) {
    const std::string uevent = read_whole_file("/sys/dev/block/" + std::to_string(major) + ":" +
                                               std::to_string(minor) + "/uevent")
                                   .value_or("");
    std::istringstream lines(uevent);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("DEVNAME=", 0) == 0) {
            return "/dev/" + line.substr(8);
        }
    }
    return "";
}

// Probing reads the filesystem's superblock, which needs read access to the
// device node; an unprivileged user falls back to udev's by-uuid links.
std::string probe_uuid(const std::string& node) {
    blkid_probe probe = blkid_new_probe_from_filename(node.c_str());
    if (probe == nullptr) {
        return "";
    }
    std::unique_ptr<std::remove_pointer_t<blkid_probe>, void (*)(blkid_probe)> owner(
        probe, blkid_free_probe);
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_UUID);
    if (blkid_do_safeprobe(probe) != 0) {
        return "";
    }
    const char* value = nullptr;
    if (blkid_probe_lookup_value(probe, "UUID", &value, nullptr) != 0 || value == nullptr) {
        return "";
    }
    return value;
}

std::string uuid_from_links(const std::string& node) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/dev/disk/by-uuid", ec)) {
        std::error_code link_ec;
        if (fs::canonical(entry.path(), link_ec) == fs::path(node) && !link_ec) {
            return entry.path().filename().string();
        }
    }
    return "";
}

bool path_exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

std::string read_machine_guid() {
    return trim(read_whole_file("/etc/machine-id").value_or(""));
}

std::string read_windows_product_id() {
    return "";
}

std::vector<VolumeSerial> list_volume_serials() {
    std::vector<VolumeSerial> out;
    for (const BlockMount& mount :
         parse_block_mounts(read_whole_file("/proc/self/mountinfo").value_or(""))) {
        const std::string node = device_node(mount.major, mount.minor);
        if (node.empty()) {
            continue;
        }
        std::string uuid = probe_uuid(node);
        if (uuid.empty()) {
            uuid = uuid_from_links(node);
        }
        std::string serial = filesystem_serial_text(mount.fs_type, uuid);
        if (!serial.empty()) {
            out.push_back({mount.mount_point, std::move(serial)});
        }
    }
    return out;
}

std::vector<AdapterAddress> list_network_adapters() {
    std::vector<AdapterAddress> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return out;
    }
    std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, freeifaddrs);
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        // One AF_PACKET entry per link, up or down; the other families repeat
        // the same links with their addresses.
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET) {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        const fs::path sys = fs::path("/sys/class/net") / entry->ifa_name;
        AdapterAddress adapter;
        adapter.if_type =
            adapter_type_of_link(link->sll_hatype, path_exists(sys / "device"),
                                 path_exists(sys / "wireless") || path_exists(sys / "phy80211"));
        const std::size_t length = std::min<std::size_t>(link->sll_halen, sizeof(link->sll_addr));
        adapter.address.assign(link->sll_addr, link->sll_addr + length);
        out.push_back(std::move(adapter));
    }
    return out;
}

}  // namespace tq
