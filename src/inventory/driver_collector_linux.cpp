#include <libkmod.h>
#include <libudev.h>
#include <sys/utsname.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "inventory/driver_collector.h"
#include "inventory/driver_collector_classes.h"
#include "util/text.h"

// The Linux stand-in for the device manager: every device udev knows on the
// hardware buses, named from udev's hardware database, with the kernel
// module that drives it.

namespace tq {
namespace {

namespace fs = std::filesystem;

// Buses whose devices the device manager would list; for USB only whole
// devices, for SCSI only the devices themselves (not hosts or targets).
struct BusFilter {
    const char* subsystem;
    const char* devtype;
};
constexpr BusFilter kBuses[] = {
    {"pci", nullptr}, {"usb", "usb_device"},   {"virtio", nullptr},
    {"hid", nullptr}, {"scsi", "scsi_device"}, {"pnp", nullptr},
};

std::string attribute(udev_device* device, const char* name) {
    const char* value = udev_device_get_sysattr_value(device, name);
    return value == nullptr ? "" : trim(value);
}

std::optional<std::uint32_t> number_attribute(udev_device* device, const char* name, int base) {
    std::string text = attribute(device, name);
    if (base == 16 && text.rfind("0x", 0) == 0) {
        text = text.substr(2);
    }
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string read_first_line(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return trim(line);
}

// USB devices of class 0 or 0xEF say what they are in their first interface.
std::optional<std::uint32_t> usb_class(udev_device* device) {
    std::optional<std::uint32_t> cls = number_attribute(device, "bDeviceClass", 16);
    if (cls && *cls != 0x00 && *cls != 0xEF) {
        return cls;
    }
    const char* name = udev_device_get_sysname(device);
    const fs::path first = fs::path(udev_device_get_syspath(device)) /
                           (std::string(name) + ":1.0") / "bInterfaceClass";
    std::uint32_t value = 0;
    const std::string text = read_first_line(first);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (!text.empty() && ec == std::errc() && end == text.data() + text.size()) {
        return value;
    }
    return cls;
}

LinuxDeviceFacts facts_of(udev_device* device, const std::string& subsystem) {
    LinuxDeviceFacts facts;
    facts.subsystem = subsystem;
    if (subsystem == "pci") {
        facts.pci_class = number_attribute(device, "class", 16);
    } else if (subsystem == "usb") {
        facts.usb_class = usb_class(device);
    } else if (subsystem == "scsi") {
        facts.scsi_type = number_attribute(device, "type", 10);
    } else if (subsystem == "virtio") {
        facts.virtio_id = number_attribute(device, "device", 16);
    }
    return facts;
}

// Looks names up in udev's hardware database by the device's modalias.
class HardwareDatabase {
  public:
    explicit HardwareDatabase(udev* context) : hwdb_(udev_hwdb_new(context)) {}
    ~HardwareDatabase() {
        if (hwdb_ != nullptr) {
            udev_hwdb_unref(hwdb_);
        }
    }
    HardwareDatabase(const HardwareDatabase&) = delete;
    HardwareDatabase& operator=(const HardwareDatabase&) = delete;

    std::map<std::string, std::string> lookup(const char* modalias) const {
        std::map<std::string, std::string> out;
        if (hwdb_ == nullptr || modalias == nullptr) {
            return out;
        }
        udev_list_entry* entry = udev_hwdb_get_properties_list_entry(hwdb_, modalias, 0);
        for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
            const char* value = udev_list_entry_get_value(entry);
            out[udev_list_entry_get_name(entry)] = value == nullptr ? "" : value;
        }
        return out;
    }

  private:
    udev_hwdb* hwdb_;
};

// Module facts, looked up once per module per collection: many devices
// share one driver.
class ModuleFacts {
  public:
    ModuleFacts() : kmod_(kmod_new(nullptr, nullptr)) {
        utsname names{};
        if (uname(&names) == 0) {
            kernel_release_ = names.release;
        }
    }
    ~ModuleFacts() {
        if (kmod_ != nullptr) {
            kmod_unref(kmod_);
        }
    }
    ModuleFacts(const ModuleFacts&) = delete;
    ModuleFacts& operator=(const ModuleFacts&) = delete;

    struct Facts {
        std::string version;
        std::string signer;
    };

    // A module without its own version string ships with the kernel and
    // carries the kernel's release.
    const Facts& of(const std::string& module) {
        const auto found = cache_.find(module);
        if (found != cache_.end()) {
            return found->second;
        }
        Facts facts;
        facts.version = read_first_line(fs::path("/sys/module") / module / "version");
        if (facts.version.empty()) {
            facts.version = kernel_release_;
        }
        facts.signer = signer_of(module);
        return cache_.emplace(module, std::move(facts)).first->second;
    }

  private:
    std::string signer_of(const std::string& module) const {
        std::string signer;
        kmod_module* mod = nullptr;
        if (kmod_ == nullptr || kmod_module_new_from_name(kmod_, module.c_str(), &mod) != 0) {
            return signer;
        }
        kmod_list* info = nullptr;
        if (kmod_module_get_info(mod, &info) >= 0) {
            for (kmod_list* it = info; it != nullptr; it = kmod_list_next(info, it)) {
                const char* key = kmod_module_info_get_key(it);
                const char* value = kmod_module_info_get_value(it);
                if (key != nullptr && value != nullptr && std::string_view(key) == "signer") {
                    signer = value;
                }
            }
            kmod_module_info_free_list(info);
        }
        kmod_module_unref(mod);
        return signer;
    }

    kmod_ctx* kmod_;
    std::string kernel_release_;
    std::map<std::string, Facts> cache_;
};

// The module behind a bound driver: its name as the kernel lists it in
// /sys/module, or the driver's name for drivers built into the kernel.
std::string module_of(udev_device* device, const char* driver) {
    std::error_code ec;
    const fs::path link = fs::path(udev_device_get_syspath(device)) / "driver" / "module";
    const fs::path target = fs::read_symlink(link, ec);
    return ec ? std::string(driver) : target.filename().string();
}

std::string first_of(const std::map<std::string, std::string>& values,
                     std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        const auto it = values.find(key);
        if (it != values.end() && !it->second.empty()) {
            return it->second;
        }
    }
    return "";
}

RawDevice raw_device(udev_device* device, const std::string& subsystem,
                     const HardwareDatabase& hwdb, ModuleFacts& modules) {
    const LinuxDeviceFacts facts = facts_of(device, subsystem);
    const auto names = hwdb.lookup(udev_device_get_sysattr_value(device, "modalias"));
    RawDevice raw;
    raw.description = first_of(names, {"ID_MODEL_FROM_DATABASE"});
    if (raw.description.empty()) {
        // USB devices name themselves; HID devices carry the name the bus
        // gave them in their uevent.
        raw.description = attribute(device, "product");
    }
    if (raw.description.empty()) {
        const char* hid_name = udev_device_get_property_value(device, "HID_NAME");
        raw.friendly_name = hid_name == nullptr ? "" : hid_name;
    }
    raw.class_name = driver_class_name(facts);
    raw.manufacturer = first_of(names, {"ID_VENDOR_FROM_DATABASE"});
    if (raw.manufacturer.empty()) {
        raw.manufacturer = attribute(device, "manufacturer");
    }
    const char* driver = udev_device_get_driver(device);
    if (driver != nullptr) {
        const ModuleFacts::Facts& module = modules.of(module_of(device, driver));
        raw.driver_version = module.version;
        raw.provider = module.signer;
        raw.status = DevNodeStatus{};
    } else if (served_by_bus_core(facts)) {
        raw.status = DevNodeStatus{};
    } else {
        raw.status = DevNodeStatus{kDevNodeHasProblem, kProblemDriverNotInstalled};
    }
    return raw;
}

std::vector<std::uint8_t> read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

// A connected display output stands for its monitor, named from its EDID;
// the monitor is driven by the graphics card's driver.
std::optional<RawDevice> monitor_device(udev_device* connector, ModuleFacts& modules) {
    const std::string sysname = udev_device_get_sysname(connector);
    if (sysname.find('-') == std::string::npos || attribute(connector, "status") != "connected") {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> edid =
        read_bytes(fs::path(udev_device_get_syspath(connector)) / "edid");
    RawDevice raw;
    raw.description = edid_monitor_name(edid);
    raw.friendly_name = "Generic Monitor";
    raw.class_name = driver_class_name({"drm", {}, {}, {}, {}});
    raw.manufacturer = edid_manufacturer_id(edid);
    udev_device* card = udev_device_get_parent(connector);
    udev_device* gpu = card == nullptr ? nullptr : udev_device_get_parent(card);
    const char* driver = gpu == nullptr ? nullptr : udev_device_get_driver(gpu);
    if (driver != nullptr) {
        const ModuleFacts::Facts& module = modules.of(module_of(gpu, driver));
        raw.driver_version = module.version;
        raw.provider = module.signer;
    }
    raw.status = DevNodeStatus{};
    return raw;
}

void append_monitors(udev* context, ModuleFacts& modules, std::vector<DriverInfo>& out) {
    std::unique_ptr<udev_enumerate, udev_enumerate* (*)(udev_enumerate*)> enumerate(
        udev_enumerate_new(context), udev_enumerate_unref);
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "drm") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return;
    }
    udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get());
    for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
        std::unique_ptr<udev_device, udev_device* (*)(udev_device*)> connector(
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)),
            udev_device_unref);
        if (!connector) {
            continue;
        }
        if (const auto raw = monitor_device(connector.get(), modules)) {
            if (auto info = driver_info_from_device(*raw)) {
                out.push_back(std::move(*info));
            }
        }
    }
}

}  // namespace

std::vector<DriverInfo> collect_drivers() {
    std::vector<DriverInfo> out;
    std::unique_ptr<udev, udev* (*)(udev*)> context(udev_new(), udev_unref);
    if (!context) {
        return out;
    }
    const HardwareDatabase hwdb(context.get());
    ModuleFacts modules;
    for (const BusFilter& bus : kBuses) {
        std::unique_ptr<udev_enumerate, udev_enumerate* (*)(udev_enumerate*)> enumerate(
            udev_enumerate_new(context.get()), udev_enumerate_unref);
        if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), bus.subsystem) < 0 ||
            udev_enumerate_scan_devices(enumerate.get()) < 0) {
            continue;
        }
        udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get());
        for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
            std::unique_ptr<udev_device, udev_device* (*)(udev_device*)> device(
                udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)),
                udev_device_unref);
            if (!device) {
                continue;
            }
            const char* devtype = udev_device_get_devtype(device.get());
            if (bus.devtype != nullptr &&
                (devtype == nullptr || std::string_view(devtype) != bus.devtype)) {
                continue;
            }
            if (auto info = driver_info_from_device(
                    raw_device(device.get(), bus.subsystem, hwdb, modules))) {
                out.push_back(std::move(*info));
            }
        }
    }
    append_monitors(context.get(), modules, out);
    return out;
}

}  // namespace tq
