#include <benchmark/benchmark.h>

#include "hwid/hwid.h"
#include "inventory/driver_collector.h"

namespace {

tq::HwidComponents sample_components() {
    tq::HwidComponents c;
    c.smbios_uuid = "03000200-0400-0500-0006-000700080009";
    c.baseboard_serial = "To be filled by O.E.M.";
    c.bios_serial = "F.20";
    c.machine_guid = "3d1219c7-c4c5-404a-a2d1-48adfda4aa01";
    c.cpu_signature = "GenuineIntel-6-154-3";
    c.gpu_signature = "10DE:2684,8086:A780";
    c.disk_serials = {"S6B0NX0T123456", "WD-WX12A3456789"};
    c.volume_serials = {"1A2B3C4D", "0000ABCD", "DEADBEEF"};
    c.mac_addresses = {"001A2B3C4D5E", "F00DCAFE0001"};
    c.windows_product_id = "00330-80000-00000-AA123";
    return c;
}

void BM_Fingerprint(benchmark::State& state) {
    const tq::HwidComponents c = sample_components();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tq::compute_fingerprint(c));
    }
}
BENCHMARK(BM_Fingerprint);

void BM_HwidDocument(benchmark::State& state) {
    const tq::HwidComponents c = sample_components();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tq::hwid_document(c).dump());
    }
}
BENCHMARK(BM_HwidDocument);

void BM_CollectDrivers(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tq::collect_drivers());
    }
}
BENCHMARK(BM_CollectDrivers)->Unit(benchmark::kMillisecond);

}  // namespace
