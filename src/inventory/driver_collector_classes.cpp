#include "inventory/driver_collector_classes.h"

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

}  // namespace tq
