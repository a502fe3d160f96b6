#include <cpuid.h>

#include "inventory/cpu_collector.h"

namespace tq {

// Leaf 7 is asked for without checking the highest supported leaf, as the
// processor answers unsupported leaves with data of its own choosing rather
// than a fault.
CpuidRegisters run_cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

void apply_cpuid(CpuInfo& info) {
    if (info.vendor.empty()) {
        info.vendor = cpuid_vendor(run_cpuid(0, 0));
    }
    const CpuidRegisters leaf1 = run_cpuid(1, 0);
    const CpuSignature signature = decode_cpu_signature(leaf1.eax);
    info.family = signature.family;
    info.model = signature.model;
    info.stepping = signature.stepping;
    info.features = cpu_features(leaf1, run_cpuid(7, 0));
}

}  // namespace tq
