#include "inventory/disk_collector_linux.h"

#include <libudev.h>

#include "inventory/sysfs_linux.h"
#include "util/text.h"
#include "util/utf.h"

namespace tq {

namespace {

bool starts_with(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string sysfs_text(const std::filesystem::path& path) {
    return make_valid_utf8(trim(read_sysfs_value(path).value_or("")));
}

std::optional<std::string> udev_serial(const std::string& name) {
    udev* context = udev_new();
    if (!context)
        return std::nullopt;
    std::optional<std::string> serial;
    if (udev_device* device =
            udev_device_new_from_subsystem_sysname(context, "block", name.c_str())) {
        for (const char* key : {"ID_SERIAL_SHORT", "ID_SERIAL"}) {
            const char* value = udev_device_get_property_value(device, key);
            if (value && *value) {
                serial = value;
                break;
            }
        }
        udev_device_unref(device);
    }
    udev_unref(context);
    return serial;
}

}  // namespace

bool is_physical_block_device(std::string_view name) {
    return !name.empty() && !starts_with(name, "loop") && !starts_with(name, "ram") &&
           !starts_with(name, "zram") && !starts_with(name, "dm-");
}

DiskBusType bus_type_from_device_path(std::string_view path) {
    if (path.find("/nvme") != std::string_view::npos)
        return DiskBusType::NVMe;
    if (path.find("/usb") != std::string_view::npos)
        return DiskBusType::USB;
    if (path.find("/ata") != std::string_view::npos)
        return DiskBusType::SATA;
    if (path.find("/virtual/block/md") != std::string_view::npos)
        return DiskBusType::RAID;
    return DiskBusType::Other;
}

std::vector<DiskInfo> read_block_disks(const std::filesystem::path& sys_root,
                                       const BlockDeviceSources& sources) {
    std::vector<DiskInfo> disks;
    for (const auto& name : list_folder(sys_root / "block")) {
        if (!is_physical_block_device(name))
            continue;
        const auto block = sys_root / "block" / name;
        const auto device = block / "device";
        DiskInfo disk = new_disk_record();

        disk.model = sysfs_text(device / "model");
        // A virtio disk's vendor attribute is its PCI vendor number, not a name.
        if (const std::string vendor = sysfs_text(device / "vendor");
            disk.model.empty() && !starts_with(vendor, "0x")) {
            disk.model = vendor;
        }
        disk.firmware = sysfs_text(device / "firmware_rev");
        if (disk.firmware.empty())
            disk.firmware = sysfs_text(device / "rev");
        disk.serial = sysfs_text(device / "serial");
        if (disk.serial.empty())
            disk.serial = sysfs_text(block / "serial");
        if (disk.serial.empty() && sources.serial_lookup) {
            disk.serial = make_valid_utf8(trim(sources.serial_lookup(name).value_or("")));
        }

        // The size attribute counts 512-byte sectors whatever the disk's own
        // block size.
        disk.size_bytes = read_sysfs_number(block / "size").value_or(0) * 512;
        disk.is_ssd = read_sysfs_value(block / "queue/rotational").value_or("") == "0";

        std::error_code ec;
        const auto resolved = std::filesystem::canonical(block, ec);
        disk.bus_type = bus_type_from_device_path(ec ? std::string() : resolved.string());

        std::optional<std::uint32_t> flag;
        if (sources.predict_failure)
            flag = sources.predict_failure(name, disk.bus_type);
        apply_failure_prediction(flag, disk);

        if (keep_disk(disk))
            disks.push_back(std::move(disk));
    }
    return disks;
}

std::vector<DiskInfo> collect_disks() {
    return read_block_disks("/sys", {udev_serial, smart_predict_failure});
}

}  // namespace tq
