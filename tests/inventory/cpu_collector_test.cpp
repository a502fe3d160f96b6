#include <gtest/gtest.h>

#include <cstring>

#include "inventory/cpu_collector.h"

namespace tq {
namespace {

std::uint32_t eax_of(std::uint32_t ext_family, std::uint32_t ext_model, std::uint32_t family,
                     std::uint32_t model, std::uint32_t stepping) {
    return (ext_family << 20) | (ext_model << 16) | (family << 8) | (model << 4) | stepping;
}

TEST(CpuCollector, SignatureDecoding) {
    const struct {
        std::uint32_t eax, family, model, stepping;
    } cases[] = {
        {eax_of(0, 9, 6, 7, 2), 6, 151, 2},
        {eax_of(0, 6, 15, 11, 0), 15, 107, 0},
        // Computed family 23 is not 15: the extended model is left out.
        {eax_of(8, 7, 15, 1, 0), 23, 1, 0},
        // Other families ignore both extended fields.
        {eax_of(3, 5, 5, 4, 3), 5, 4, 3},
        {0x00A20F12, 25, 1, 2},
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const CpuSignature s = decode_cpu_signature(c.eax);
        EXPECT_EQ(s.family, c.family) << std::hex << c.eax;
        EXPECT_EQ(s.model, c.model) << std::hex << c.eax;
        EXPECT_EQ(s.stepping, c.stepping) << std::hex << c.eax;
    }
}

TEST(CpuCollector, FeatureOrderAndBits) {
    const auto bit = [](int b) { return 1u << b; };
    const struct {
        CpuidRegisters leaf1, leaf7;
        const char* features;
    } cases[] = {
        {{}, {}, ""},
        {{0, 0, 0, bit(25) | bit(26)}, {}, "sse,sse2"},
        {{0, 0, bit(0) | bit(19) | bit(20) | bit(28) | bit(23) | bit(12) | bit(30),
          bit(25) | bit(26)},
         {0, bit(5), 0, 0},
         "sse,sse2,sse3,sse4_1,sse4_2,avx,avx2,popcnt,fma3,rdrand"},
        {{0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu},
         {0, 0xFFFFFFFFu, 0, 0},
         "sse,sse2,sse3,sse4_1,sse4_2,avx,avx2,avx512f,popcnt,fma3,rdrand"},
        // Leaf 7's other registers and leaf 1's EBX carry nothing we report.
        {{0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0},
         {0xFFFFFFFFu, bit(16), 0xFFFFFFFFu, 0xFFFFFFFFu},
         "avx512f"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cpu_features(c.leaf1, c.leaf7), c.features);
}

TEST(CpuCollector, VendorString) {
    const auto regs = [](const char* text) {
        char bytes[12] = {};
        std::memcpy(bytes, text, std::strlen(text));
        CpuidRegisters r;
        std::memcpy(&r.ebx, bytes, 4);
        std::memcpy(&r.edx, bytes + 4, 4);
        std::memcpy(&r.ecx, bytes + 8, 4);
        return r;
    };
    EXPECT_EQ(cpuid_vendor(regs("AuthenticAMD")), "AuthenticAMD");
    EXPECT_EQ(cpuid_vendor(regs("GenuineIntel")), "GenuineIntel");
    EXPECT_EQ(cpuid_vendor(regs("Short")), "Short");
    EXPECT_EQ(cpuid_vendor(CpuidRegisters{}), "");
}

// Builds a topology buffer record by record.
class Topology {
  public:
    Topology& core() { return record(0, 48, {}); }
    Topology& cache(std::uint8_t level, std::uint32_t bytes) {
        std::vector<std::uint8_t> body(40 - 8, 0);
        body[0] = level;
        std::memcpy(body.data() + 4, &bytes, 4);
        return record(2, 48, body);
    }
    Topology& record(std::uint32_t relationship, std::uint32_t size,
                     const std::vector<std::uint8_t>& body) {
        const std::size_t start = bytes.size();
        bytes.resize(start + std::max<std::uint32_t>(size, 8), 0);
        std::memcpy(bytes.data() + start, &relationship, 4);
        std::memcpy(bytes.data() + start + 4, &size, 4);
        if (!body.empty()) {
            std::memcpy(bytes.data() + start + 8, body.data(),
                        std::min<std::size_t>(body.size(), bytes.size() - start - 8));
        }
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

TEST(CpuCollector, TopologyWalk) {
    Topology eight;
    for (int i = 0; i < 8; ++i)
        eight.core();
    EXPECT_EQ(walk_processor_records(eight.bytes).core_records, 8u);

    Topology four;
    for (int i = 0; i < 4; ++i) {
        four.cache(1, 32768).cache(1, 32768).cache(2, 262144);
    }
    four.cache(3, 8388608).cache(4, 1 << 20).core();
    const TopologySummary s = walk_processor_records(four.bytes);
    EXPECT_EQ(s.l1_cache_kb, 256u);
    EXPECT_EQ(s.l2_cache_kb, 1024u);
    EXPECT_EQ(s.l3_cache_kb, 8192u);
    EXPECT_EQ(s.core_records, 1u);

    // Each record is truncated to KiB on its own.
    Topology odd;
    odd.cache(2, 1023).cache(2, 1023).cache(2, 2047);
    EXPECT_EQ(walk_processor_records(odd.bytes).l2_cache_kb, 1u);
}

TEST(CpuCollector, TopologyWalkStopsSafely) {
    Topology t;
    t.core().core().core();
    // The last record one byte short of the buffer's end: not visited.
    auto cut = t.bytes;
    cut.pop_back();
    EXPECT_EQ(walk_processor_records(cut).core_records, 2u);
    // A size of 0 stops the walk there.
    Topology zero;
    zero.core().record(0, 0, {}).core();
    EXPECT_EQ(walk_processor_records(zero.bytes).core_records, 1u);
    // A record claiming more than the buffer holds.
    Topology big;
    big.core().record(0, 0xFFFFFFF0u, {});
    big.bytes.resize(48 + 8);
    EXPECT_EQ(walk_processor_records(big.bytes).core_records, 1u);
    // A cache record too short for its size field adds nothing.
    Topology tiny;
    tiny.record(2, 12, {1, 0, 0, 0});
    EXPECT_EQ(walk_processor_records(tiny.bytes).l1_cache_kb, 0u);
    EXPECT_EQ(walk_processor_records({}).core_records, 0u);
    EXPECT_EQ(walk_processor_records(std::vector<std::uint8_t>(7, 0)).core_records, 0u);
}

TEST(CpuCollector, Fallbacks) {
    const struct {
        const char* what;
        std::uint32_t physical, logical, base;
        std::optional<ProcessorPower> power;
        std::uint32_t want_physical, want_logical, want_max, want_current;
    } cases[] = {
        {"all sources", 8, 16, 3600, ProcessorPower{4700, 3900}, 8, 16, 4700, 3900},
        {"no topology", 0, 12, 3600, ProcessorPower{4700, 3900}, 12, 12, 4700, 3900},
        {"no processor count", 0, 0, 0, std::nullopt, 1, 1, 0, 0},
        {"power call failing", 4, 8, 2904, std::nullopt, 4, 8, 2904, 0},
        {"power reporting 0", 4, 8, 2904, ProcessorPower{0, 1200}, 4, 8, 2904, 1200},
    };
    for (const auto& c : cases) {
        CpuInfo info;
        info.physical_cores = c.physical;
        info.logical_cores = c.logical;
        info.base_clock_mhz = c.base;
        finish_cpu_info(c.power, info);
        EXPECT_EQ(info.physical_cores, c.want_physical) << c.what;
        EXPECT_EQ(info.logical_cores, c.want_logical) << c.what;
        EXPECT_EQ(info.max_clock_mhz, c.want_max) << c.what;
        EXPECT_EQ(info.current_clock_mhz, c.want_current) << c.what;
        EXPECT_EQ(info.base_clock_mhz, c.base) << c.what;
    }
}

TEST(CpuCollector, RealMachine) {
    const CpuInfo info = collect_cpu_info();
    EXPECT_GE(info.physical_cores, 1u);
    EXPECT_GE(info.logical_cores, info.physical_cores);
    EXPECT_FALSE(info.vendor.empty());
    // Every x86-64 processor has SSE2.
    EXPECT_EQ(info.features.rfind("sse,sse2", 0), 0u) << info.features;
    EXPECT_GE(info.max_clock_mhz, info.base_clock_mhz > 0 ? 1u : 0u);
    const CpuSignature s = decode_cpu_signature(run_cpuid(1, 0).eax);
    EXPECT_EQ(info.family, s.family);
    EXPECT_EQ(json(info).size(), 15u);
    EXPECT_NO_THROW((void)json(info).dump());
}

}  // namespace
}  // namespace tq
