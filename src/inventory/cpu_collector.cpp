#include "inventory/cpu_collector.h"

#include <cstring>

#include "util/bytes.h"
#include "util/text.h"

namespace tq {

std::string cpuid_vendor(const CpuidRegisters& leaf0) {
    char bytes[12];
    std::memcpy(bytes, &leaf0.ebx, 4);
    std::memcpy(bytes + 4, &leaf0.edx, 4);
    std::memcpy(bytes + 8, &leaf0.ecx, 4);
    std::size_t length = 0;
    while (length < sizeof bytes && bytes[length] != 0)
        ++length;
    return std::string(bytes, length);
}

CpuSignature decode_cpu_signature(std::uint32_t eax) {
    CpuSignature s;
    s.stepping = eax & 0xF;
    const std::uint32_t base_model = (eax >> 4) & 0xF;
    const std::uint32_t base_family = (eax >> 8) & 0xF;
    s.family = base_family == 15 ? 15 + ((eax >> 20) & 0xFF) : base_family;
    s.model =
        base_family == 6 || s.family == 15 ? (((eax >> 16) & 0xF) << 4) + base_model : base_model;
    return s;
}

std::string cpu_features(const CpuidRegisters& leaf1, const CpuidRegisters& leaf7) {
    struct Feature {
        const char* name;
        std::uint32_t reg;
        int bit;
    };
    const Feature table[] = {
        {"sse", leaf1.edx, 25},    {"sse2", leaf1.edx, 26},    {"sse3", leaf1.ecx, 0},
        {"sse4_1", leaf1.ecx, 19}, {"sse4_2", leaf1.ecx, 20},  {"avx", leaf1.ecx, 28},
        {"avx2", leaf7.ebx, 5},    {"avx512f", leaf7.ebx, 16}, {"popcnt", leaf1.ecx, 23},
        {"fma3", leaf1.ecx, 12},   {"rdrand", leaf1.ecx, 30},
    };
    std::vector<std::string> names;
    for (const auto& f : table) {
        if ((f.reg >> f.bit) & 1u)
            names.emplace_back(f.name);
    }
    return join(names, ",");
}

TopologySummary walk_processor_records(std::span<const std::uint8_t> buffer) {
    constexpr std::uint32_t kRelationProcessorCore = 0;
    constexpr std::uint32_t kRelationCache = 2;
    TopologySummary summary;
    std::size_t pos = 0;
    while (buffer.size() - pos >= 8) {
        const std::uint32_t relationship = le_u32_at(buffer, pos);
        const std::uint32_t size = le_u32_at(buffer, pos + 4);
        if (size == 0 || size > buffer.size() - pos)
            break;
        if (relationship == kRelationProcessorCore)
            ++summary.core_records;
        // A cache record too short to hold its level and size is counted as
        // nothing rather than read past its end.
        if (relationship == kRelationCache && size >= 16) {
            const std::uint8_t level = buffer[pos + 8];
            const std::uint32_t kb = le_u32_at(buffer, pos + 12) >> 10;
            if (level == 1)
                summary.l1_cache_kb += kb;
            if (level == 2)
                summary.l2_cache_kb += kb;
            if (level == 3)
                summary.l3_cache_kb += kb;
        }
        pos += size;
    }
    return summary;
}

void finish_cpu_info(std::optional<ProcessorPower> power, CpuInfo& info) {
    if (info.logical_cores == 0)
        info.logical_cores = 1;
    if (info.physical_cores == 0)
        info.physical_cores = info.logical_cores;
    if (power) {
        info.max_clock_mhz = power->max_mhz;
        info.current_clock_mhz = power->current_mhz;
    }
    if (info.max_clock_mhz == 0)
        info.max_clock_mhz = info.base_clock_mhz;
}

}  // namespace tq
