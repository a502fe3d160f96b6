#pragma once

// Linux devices described in the device manager's vocabulary: the class
// names Windows gives the same kinds of hardware, so the page and the
// backend see one set of classes from both platforms. Pure rules over the
// numbers the kernel reports.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tq {

struct LinuxDeviceFacts {
    std::string subsystem;
    // PCI class code, 24 bits: base class, subclass, programming interface.
    std::optional<std::uint32_t> pci_class;
    // USB class of the device, or of its first interface when the device
    // leaves its class to the interfaces (0x00 or 0xEF).
    std::optional<std::uint32_t> usb_class;
    // SCSI peripheral device type.
    std::optional<std::uint32_t> scsi_type;
    // Virtio device id.
    std::optional<std::uint32_t> virtio_id;
};

// The Windows class name where one fits, otherwise the subsystem's own name.
std::string driver_class_name(const LinuxDeviceFacts& facts);

// PCI host and ISA bridges are run by the kernel's PCI core and never have a
// driver bound of their own; they are not "driver not installed".
bool served_by_bus_core(const LinuxDeviceFacts& facts);

// A monitor's model name from its EDID block (the display product name
// descriptor, trimmed), or "" when the block has none or is too short.
std::string edid_monitor_name(std::span<const std::uint8_t> edid);

// The three-letter manufacturer id of an EDID block (bytes 8 and 9, five
// bits per letter), or "" when the block is too short or the id is invalid.
std::string edid_manufacturer_id(std::span<const std::uint8_t> edid);

}  // namespace tq
