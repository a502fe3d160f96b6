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

}  // namespace tq
