// The PCI id lookup a machine with a graphics card pays per adapter: the
// vendor listed late in the database is the slow case.
#include <benchmark/benchmark.h>

#include "inventory/gpu_collector_linux.h"
#include "inventory/sysfs_linux.h"

namespace {

void BM_PciAdapterNameLateVendor(benchmark::State& state) {
    std::string db;
    for (const char* path : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        if (auto text = tq::read_whole_file(path)) {
            db = std::move(*text);
            break;
        }
    }
    if (db.empty()) {
        state.SkipWithError("no pci.ids database");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(tq::pci_adapter_name(db, 0x8086, 0x46A6));
}
BENCHMARK(BM_PciAdapterNameLateVendor)->Unit(benchmark::kMicrosecond);

void BM_ReadPciIdsDatabase(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tq::read_whole_file("/usr/share/misc/pci.ids"));
    }
}
BENCHMARK(BM_ReadPciIdsDatabase)->Unit(benchmark::kMicrosecond);

}  // namespace
