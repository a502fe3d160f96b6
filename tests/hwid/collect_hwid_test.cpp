#include <gtest/gtest.h>

#include "hwid/hwid.h"
#include "hwid/smbios.h"
#include "inventory/cpu_collector.h"
#include "inventory/gpu_collector.h"

namespace tq {
namespace {

// The collection must put each source's value under its own component, so
// every component is checked against its source read on its own.
TEST(CollectHwid, EachComponentFromItsSource) {
    const HwidComponents c = collect_hwid();

    const auto smbios = read_smbios();
    if (smbios) {
        EXPECT_EQ(c.smbios_uuid, smbios->system_uuid);
        EXPECT_EQ(c.baseboard_serial, smbios->baseboard_serial);
        EXPECT_EQ(c.bios_serial,
                  smbios->system_serial.empty() ? smbios->bios_version : smbios->system_serial);
    } else {
        EXPECT_EQ(c.smbios_uuid, "");
        EXPECT_EQ(c.baseboard_serial, "");
        EXPECT_EQ(c.bios_serial, "");
    }

    const CpuInfo cpu = collect_cpu_info();
    EXPECT_EQ(c.cpu_signature, cpu.vendor + "-" + std::to_string(cpu.family) + "-" +
                                   std::to_string(cpu.model) + "-" + std::to_string(cpu.stepping));

    EXPECT_EQ(c.gpu_signature.empty(), collect_gpus().empty());
    EXPECT_EQ(c.machine_guid, read_machine_guid());
    EXPECT_EQ(c.windows_product_id, read_windows_product_id());
    EXPECT_EQ(c.volume_serials, volume_serial_texts(list_volume_serials()));
    EXPECT_EQ(c.mac_addresses, select_mac_addresses(list_network_adapters()));
    for (const std::string& serial : c.disk_serials) {
        EXPECT_FALSE(serial.empty());
    }
}

TEST(CollectHwid, SameMachineSameFingerprint) {
    const std::string first = compute_fingerprint(collect_hwid());
    EXPECT_EQ(first.size(), 64u);
    EXPECT_EQ(compute_fingerprint(collect_hwid()), first);
}

}  // namespace
}  // namespace tq
