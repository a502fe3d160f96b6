#pragma once

// The processor: names from the platform, signature and features from
// cpuid, cores and caches from the topology, clocks from the power data.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "inventory/records.h"

namespace tq {

CpuInfo collect_cpu_info();

struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// Executes cpuid for a leaf and sub-leaf; all zero where the processor has
// no such instruction.
CpuidRegisters run_cpuid(std::uint32_t leaf, std::uint32_t subleaf);

// The 12 vendor bytes of leaf 0 (EBX, EDX, ECX), cut at the first NUL.
std::string cpuid_vendor(const CpuidRegisters& leaf0);

struct CpuSignature {
    std::uint32_t family = 0;
    std::uint32_t model = 0;
    std::uint32_t stepping = 0;
};

// Family, model and stepping from leaf 1's EAX. The extended model applies
// for base family 6 or a computed family of exactly 15.
CpuSignature decode_cpu_signature(std::uint32_t leaf1_eax);

// The supported features among the eleven we report, in their fixed order,
// joined with ",".
std::string cpu_features(const CpuidRegisters& leaf1, const CpuidRegisters& leaf7);

// Fills family, model, stepping and features from this processor's cpuid,
// and the vendor when the platform's own source left it empty.
void apply_cpuid(CpuInfo& info);

struct TopologySummary {
    std::uint32_t core_records = 0;
    std::uint32_t l1_cache_kb = 0;
    std::uint32_t l2_cache_kb = 0;
    std::uint32_t l3_cache_kb = 0;
};

// Walks the variable-length logical-processor records (relationship and
// size as 32-bit values first), counting core records (relationship 0) and
// adding cache sizes (relationship 2) per level, each record's bytes
// shifted to KiB. Stops at a size of 0 or a record that runs past the end.
TopologySummary walk_processor_records(std::span<const std::uint8_t> buffer);

struct ProcessorPower {
    std::uint32_t max_mhz = 0;
    std::uint32_t current_mhz = 0;
};

// The clock fields and core counts once every source has been asked:
// logical cores at least 1, physical cores from logical when the topology
// gave none, the maximum clock from the base clock when power data gave none.
void finish_cpu_info(std::optional<ProcessorPower> power, CpuInfo& info);

}  // namespace tq
