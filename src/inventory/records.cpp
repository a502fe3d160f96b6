#include "inventory/records.h"

namespace tq {

const char* disk_bus_type_name(DiskBusType type) {
    switch (type) {
        case DiskBusType::SATA:
            return "SATA";
        case DiskBusType::NVMe:
            return "NVMe";
        case DiskBusType::USB:
            return "USB";
        case DiskBusType::RAID:
            return "RAID";
        case DiskBusType::Other:
            return "Other";
        case DiskBusType::Unknown:
            break;
    }
    return "Unknown";
}

// Each hook builds a fresh object so a reused json value never keeps keys
// of what it held before.

void to_json(json& j, const SystemInfo& v) {
    j = json{{"hostname", v.hostname},
             {"os_name", v.os_name},
             {"os_version", v.os_version},
             {"os_build", v.os_build},
             {"architecture", v.architecture},
             {"manufacturer", v.manufacturer},
             {"model", v.model},
             {"bios_version", v.bios_version},
             {"bios_date", v.bios_date},
             {"total_ram_bytes", v.total_ram_bytes}};
}

void to_json(json& j, const CpuInfo& v) {
    j = json{{"name", v.name},
             {"vendor", v.vendor},
             {"architecture", v.architecture},
             {"physical_cores", v.physical_cores},
             {"logical_cores", v.logical_cores},
             {"base_clock_mhz", v.base_clock_mhz},
             {"max_clock_mhz", v.max_clock_mhz},
             {"current_clock_mhz", v.current_clock_mhz},
             {"l1_cache_kb", v.l1_cache_kb},
             {"l2_cache_kb", v.l2_cache_kb},
             {"l3_cache_kb", v.l3_cache_kb},
             {"family", v.family},
             {"model", v.model},
             {"stepping", v.stepping},
             {"features", v.features}};
}

void to_json(json& j, const GpuInfo& v) {
    j = json{{"name", v.name},
             {"vendor", v.vendor},
             {"vram_bytes", v.vram_bytes},
             {"vendor_id", v.vendor_id},
             {"device_id", v.device_id},
             {"subsys_id", v.subsys_id},
             {"revision", v.revision},
             {"driver_version", v.driver_version},
             {"driver_date", v.driver_date},
             {"is_integrated", v.is_integrated}};
}

void to_json(json& j, const DiskInfo& v) {
    j = json{{"model", v.model},
             {"serial", v.serial},
             {"firmware", v.firmware},
             {"size_bytes", v.size_bytes},
             {"bus_type", disk_bus_type_name(v.bus_type)},
             {"is_ssd", v.is_ssd},
             {"smart_ok", v.smart_ok},
             {"health_text", v.health_text},
             {"volume_serial", v.volume_serial},
             {"drive_letter", v.drive_letter}};
}

void to_json(json& j, const DriverInfo& v) {
    j = json{{"device_name", v.device_name},   {"class_name", v.class_name},
             {"manufacturer", v.manufacturer}, {"driver_version", v.driver_version},
             {"driver_date", v.driver_date},   {"signer", v.signer},
             {"is_signed", v.is_signed},       {"has_problem", v.has_problem},
             {"problem_code", v.problem_code}, {"important", v.important}};
}

void to_json(json& j, const UpdateInfo& v) {
    j = json{{"title", v.title},         {"kb", v.kb},
             {"severity", v.severity},   {"mandatory", v.mandatory},
             {"installed", v.installed}, {"date", v.date}};
}

void to_json(json& j, const UpdateSummary& v) {
    j = json{{"installed", v.installed},
             {"available", v.available},
             {"important_count", v.important_count},
             {"last_search", v.last_search}};
}

void to_json(json& j, const HwidComponents& v) {
    j = json{{"smbios_uuid", v.smbios_uuid},     {"baseboard_serial", v.baseboard_serial},
             {"bios_serial", v.bios_serial},     {"machine_guid", v.machine_guid},
             {"cpu_signature", v.cpu_signature}, {"gpu_signature", v.gpu_signature},
             {"disk_serials", v.disk_serials},   {"volume_serials", v.volume_serials},
             {"mac_addresses", v.mac_addresses}, {"windows_product_id", v.windows_product_id}};
}

void to_json(json& j, const Inventory& v) {
    j = json{{"schema_version", v.schema_version},
             {"generated_at", v.generated_at},
             {"system", v.system},
             {"cpu", v.cpu},
             {"gpus", v.gpus},
             {"disks", v.disks},
             {"drivers", v.drivers},
             {"updates", v.updates},
             {"hwid", v.hwid}};
}

}  // namespace tq
