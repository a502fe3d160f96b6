// One full collection per area, as the inventory and the identity run them,
// plus the rules whose input grows with the machine.
#include <benchmark/benchmark.h>

#include "hwid/smbios.h"
#include "inventory/cpu_collector.h"
#include "inventory/disk_collector.h"
#include "inventory/gpu_collector.h"
#include "inventory/system_collector.h"
#include "support/test_support.h"

namespace {

void BM_CollectSystemInfo(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::collect_system_info());
}
BENCHMARK(BM_CollectSystemInfo)->Unit(benchmark::kMicrosecond);

void BM_CollectCpuInfo(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::collect_cpu_info());
}
BENCHMARK(BM_CollectCpuInfo)->Unit(benchmark::kMicrosecond);

void BM_CollectGpus(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::collect_gpus());
}
BENCHMARK(BM_CollectGpus)->Unit(benchmark::kMicrosecond);

void BM_CollectDisks(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::collect_disks());
}
BENCHMARK(BM_CollectDisks)->Unit(benchmark::kMicrosecond);

void BM_WalkDesktopSmbiosTable(benchmark::State& state) {
    const std::string raw = tq::test::read_file(tq::test::fixture_path("smbios/desktop.bin"));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(raw.data()),
                                              raw.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::parse_smbios_raw(bytes));
}
BENCHMARK(BM_WalkDesktopSmbiosTable);

}  // namespace
