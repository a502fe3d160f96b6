#pragma once

// The inventory records: plain values filled by the collectors, and their
// one JSON form. Conversion only goes to JSON; nothing reads an inventory
// back.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tq {

using json = nlohmann::json;

struct SystemInfo {
    std::string hostname;
    std::string os_name;
    std::string os_version;
    std::string os_build;
    std::string architecture;
    std::string manufacturer;
    std::string model;
    std::string bios_version;
    std::string bios_date;
    std::uint64_t total_ram_bytes = 0;
};

struct CpuInfo {
    std::string name;
    std::string vendor;
    std::string architecture;
    std::uint32_t physical_cores = 0;
    std::uint32_t logical_cores = 0;
    std::uint32_t base_clock_mhz = 0;
    std::uint32_t max_clock_mhz = 0;
    std::uint32_t current_clock_mhz = 0;
    std::uint32_t l1_cache_kb = 0;
    std::uint32_t l2_cache_kb = 0;
    std::uint32_t l3_cache_kb = 0;
    std::uint32_t family = 0;
    std::uint32_t model = 0;
    std::uint32_t stepping = 0;
    std::string features;
};

struct GpuInfo {
    std::string name;
    std::string vendor;
    std::uint64_t vram_bytes = 0;
    std::uint32_t vendor_id = 0;
    std::uint32_t device_id = 0;
    std::uint32_t subsys_id = 0;
    std::uint32_t revision = 0;
    std::string driver_version;
    std::string driver_date;
    bool is_integrated = false;
};

// Held as a 32-bit value so a collector can store whatever it mapped; any
// value outside the named ones is written as "Unknown".
enum class DiskBusType : std::uint32_t {
    Unknown = 0,
    SATA = 1,
    NVMe = 2,
    USB = 3,
    RAID = 4,
    Other = 5,
};

// "Unknown", "SATA", "NVMe", "USB", "RAID" or "Other".
const char* disk_bus_type_name(DiskBusType type);

struct DiskInfo {
    std::string model;
    std::string serial;
    std::string firmware;
    std::uint64_t size_bytes = 0;
    DiskBusType bus_type = DiskBusType::Unknown;
    bool is_ssd = false;
    bool smart_ok = false;
    std::string health_text;
    std::string volume_serial;
    std::string drive_letter;
};

struct DriverInfo {
    std::string device_name;
    std::string class_name;
    std::string manufacturer;
    std::string driver_version;
    std::string driver_date;
    std::string signer;
    bool is_signed = false;
    bool has_problem = false;
    std::uint32_t problem_code = 0;
    bool important = false;
};

struct UpdateInfo {
    std::string title;
    std::string kb;
    std::string severity;
    bool mandatory = false;
    bool installed = false;
    std::string date;
};

struct UpdateSummary {
    std::vector<UpdateInfo> installed;
    std::vector<UpdateInfo> available;
    std::uint32_t important_count = 0;
    std::string last_search;
};

struct HwidComponents {
    std::string smbios_uuid;
    std::string baseboard_serial;
    std::string bios_serial;
    std::string machine_guid;
    std::string cpu_signature;
    std::string gpu_signature;
    std::vector<std::string> disk_serials;
    std::vector<std::string> volume_serials;
    std::vector<std::string> mac_addresses;
    std::string windows_product_id;
};

struct Inventory {
    std::int32_t schema_version = 0;
    std::string generated_at;
    SystemInfo system;
    CpuInfo cpu;
    std::vector<GpuInfo> gpus;
    std::vector<DiskInfo> disks;
    std::vector<DriverInfo> drivers;
    UpdateSummary updates;
    HwidComponents hwid;
};

// The JSON library's conversion hooks, found by argument-dependent lookup.
void to_json(json& j, const SystemInfo& v);
void to_json(json& j, const CpuInfo& v);
void to_json(json& j, const GpuInfo& v);
void to_json(json& j, const DiskInfo& v);
void to_json(json& j, const DriverInfo& v);
void to_json(json& j, const UpdateInfo& v);
void to_json(json& j, const UpdateSummary& v);
void to_json(json& j, const HwidComponents& v);
void to_json(json& j, const Inventory& v);

}  // namespace tq
