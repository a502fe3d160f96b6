#include "inventory/driver_collector_classes.h"

#include "util/text.h"

namespace tq {
namespace {

std::string pci_class_name(std::uint32_t code) {
    const std::uint32_t base = (code >> 16) & 0xFF;
    const std::uint32_t sub = (code >> 8) & 0xFF;
    switch (base) {
        case 0x01:
            // IDE and SATA controllers are "IDE ATA/ATAPI controllers" on
            // Windows; NVMe, SAS, RAID and the rest "Storage controllers".
            return sub == 0x01 || sub == 0x06 ? "HDC" : "SCSIAdapter";
        case 0x02:
        case 0x0D:
            return "Net";
        case 0x03:
            return "Display";
        case 0x04:
            return "Media";
        case 0x05:
        case 0x06:
        case 0x08:
        case 0x11:
            return "System";
        case 0x07:
            return "Ports";
        case 0x09:
            return "HIDClass";
        case 0x0B:
            return "Processor";
        case 0x0C:
            if (sub == 0x03) {
                return "USB";
            }
            return sub == 0x05 ? "System" : "SerialBus";
        case 0x10:
            return "SecurityDevices";
        default:
            return "System";
    }
}

std::string usb_class_name(std::uint32_t usb_class) {
    switch (usb_class) {
        case 0x01:
            return "Media";
        case 0x02:
        case 0x0A:
            return "Ports";
        case 0x03:
            return "HIDClass";
        case 0x06:
            return "Image";
        case 0x07:
            return "Printer";
        case 0x0B:
            return "SmartCardReader";
        case 0x0E:
            return "Camera";
        case 0xE0:
            return "Bluetooth";
        default:
            // Hubs, mass storage and vendor devices sit under USB.
            return "USB";
    }
}

std::string scsi_class_name(std::uint32_t type) {
    switch (type) {
        case 0x00:
        case 0x0E:
            return "DiskDrive";
        case 0x05:
            return "CDROM";
        case 0x01:
            return "TapeDrive";
        default:
            return "SCSIAdapter";
    }
}

std::string virtio_class_name(std::uint32_t id) {
    switch (id) {
        case 1:
            return "Net";
        case 2:
            return "DiskDrive";
        case 3:
            return "Ports";
        case 16:
            return "Display";
        case 25:
            return "Media";
        default:
            return "System";
    }
}

}  // namespace

std::string driver_class_name(const LinuxDeviceFacts& facts) {
    if (facts.subsystem == "pci" && facts.pci_class) {
        return pci_class_name(*facts.pci_class);
    }
    if (facts.subsystem == "usb" && facts.usb_class) {
        return usb_class_name(*facts.usb_class);
    }
    if (facts.subsystem == "scsi" && facts.scsi_type) {
        return scsi_class_name(*facts.scsi_type);
    }
    if (facts.subsystem == "virtio" && facts.virtio_id) {
        return virtio_class_name(*facts.virtio_id);
    }
    if (facts.subsystem == "hid") {
        return "HIDClass";
    }
    if (facts.subsystem == "drm") {
        return "Monitor";
    }
    if (facts.subsystem == "pnp" || facts.subsystem == "acpi") {
        return "System";
    }
    return facts.subsystem;
}

bool served_by_bus_core(const LinuxDeviceFacts& facts) {
    if (facts.subsystem != "pci" || !facts.pci_class) {
        return false;
    }
    const std::uint32_t base_sub = (*facts.pci_class >> 8) & 0xFFFF;
    return base_sub == 0x0600 || base_sub == 0x0601;
}

std::string edid_monitor_name(std::span<const std::uint8_t> edid) {
    // Four 18-byte descriptors start at byte 54; a display descriptor has
    // three zero bytes, then its tag (0xFC: product name) and 13 text bytes
    // ended by a line feed.
    constexpr std::size_t kFirstDescriptor = 54;
    constexpr std::size_t kDescriptorSize = 18;
    if (edid.size() < kFirstDescriptor + 4 * kDescriptorSize) {
        return "";
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const auto d = edid.subspan(kFirstDescriptor + i * kDescriptorSize, kDescriptorSize);
        if (d[0] != 0 || d[1] != 0 || d[2] != 0 || d[3] != 0xFC) {
            continue;
        }
        std::string name;
        for (std::size_t k = 5; k < kDescriptorSize && d[k] != '\n'; ++k) {
            // Printable ASCII only: the name must serialise as JSON.
            if (d[k] >= 0x20 && d[k] < 0x7F) {
                name.push_back(static_cast<char>(d[k]));
            }
        }
        return trim(name);
    }
    return "";
}

std::string edid_manufacturer_id(std::span<const std::uint8_t> edid) {
    if (edid.size() < 10) {
        return "";
    }
    const unsigned packed = (static_cast<unsigned>(edid[8]) << 8) | edid[9];
    std::string id;
    for (const int shift : {10, 5, 0}) {
        const unsigned letter = (packed >> shift) & 0x1F;
        if (letter < 1 || letter > 26) {
            return "";
        }
        id.push_back(static_cast<char>('A' + letter - 1));
    }
    return id;
}

}  // namespace tq
