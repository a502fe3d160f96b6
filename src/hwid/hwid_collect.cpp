#include "hwid/hwid.h"
#include "hwid/smbios.h"
#include "inventory/cpu_collector.h"
#include "inventory/disk_collector.h"
#include "inventory/gpu_collector.h"

namespace tq {

HwidComponents collect_hwid() {
    HwidComponents components;
    if (const std::optional<SmbiosInfo> smbios = read_smbios()) {
        components.smbios_uuid = smbios->system_uuid;
        components.baseboard_serial = smbios->baseboard_serial;
        components.bios_serial = choose_bios_serial(smbios->system_serial, smbios->bios_version);
    }
    components.machine_guid = read_machine_guid();

    const CpuInfo cpu = collect_cpu_info();
    components.cpu_signature = cpu_signature_text(cpu.vendor, cpu.family, cpu.model, cpu.stepping);

    std::vector<std::pair<std::uint32_t, std::uint32_t>> gpu_ids;
    for (const GpuInfo& gpu : collect_gpus()) {
        gpu_ids.emplace_back(gpu.vendor_id, gpu.device_id);
    }
    components.gpu_signature = gpu_signature_text(gpu_ids);

    for (DiskInfo& disk : collect_disks()) {
        if (!disk.serial.empty()) {
            components.disk_serials.push_back(std::move(disk.serial));
        }
    }
    components.volume_serials = volume_serial_texts(list_volume_serials());
    components.mac_addresses = select_mac_addresses(list_network_adapters());
    components.windows_product_id = read_windows_product_id();
    return components;
}

}  // namespace tq
