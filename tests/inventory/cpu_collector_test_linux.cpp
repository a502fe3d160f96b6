#include <gtest/gtest.h>

#include "inventory/cpu_collector_linux.h"
#include "support/test_support.h"

namespace tq {
namespace {

TEST(CpuCollectorLinux, ProcCpuinfoFirstProcessorOnly) {
    CpuInfo info;
    apply_proc_cpuinfo(
        "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i7 CPU\n"
        "cpu MHz\t\t: 2904.004\n\nprocessor\t: 1\nmodel name\t: Other\ncpu MHz : 800.0\n",
        info);
    EXPECT_EQ(info.vendor, "GenuineIntel");
    EXPECT_EQ(info.name, "Intel(R) Core(TM) i7 CPU");
    EXPECT_EQ(info.base_clock_mhz, 2904u);
}

TEST(CpuCollectorLinux, CacheSizes) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"32K", 32768}, {"8192K", 8388608}, {"8M", 8388608}, {"512", 512}, {"", 0}, {"x", 0}};
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(parse_cache_size(text), bytes) << text;
}

// Two packages, two cores each with two threads: every shared cache is
// listed under each of its threads and must be counted once.
TEST(CpuCollectorLinux, SysfsTreeCountsEachCoreAndCacheOnce) {
    test::TempDir root;
    for (int cpu = 0; cpu < 8; ++cpu) {
        const auto dir = root / ("cpu" + std::to_string(cpu));
        const int package = cpu / 4;
        const int core = (cpu % 4) / 2;
        const std::string siblings = std::to_string(cpu & ~1) + "-" + std::to_string(cpu | 1);
        const std::string pkg_cpus =
            std::to_string(package * 4) + "-" + std::to_string(package * 4 + 3);
        test::write_file(dir / "topology/physical_package_id", std::to_string(package) + "\n");
        test::write_file(dir / "topology/core_id", std::to_string(core) + "\n");
        const struct {
            const char* index;
            const char* level;
            const char* type;
            const char* size;
            std::string shared;
        } caches[] = {{"index0", "1", "Data", "48K", siblings},
                      {"index1", "1", "Instruction", "32K", siblings},
                      {"index2", "2", "Unified", "1280K", siblings},
                      {"index3", "3", "Unified", "24576K", pkg_cpus}};
        for (const auto& c : caches) {
            const auto cache = dir / "cache" / c.index;
            test::write_file(cache / "level", std::string(c.level) + "\n");
            test::write_file(cache / "type", std::string(c.type) + "\n");
            test::write_file(cache / "size", std::string(c.size) + "\n");
            test::write_file(cache / "shared_cpu_list", c.shared + "\n");
        }
        test::write_file(dir / "cpufreq/cpuinfo_max_freq",
                         std::to_string(4000000 + cpu * 100000) + "\n");
        test::write_file(dir / "cpufreq/scaling_cur_freq",
                         std::to_string(1000000 + cpu * 1000) + "\n");
    }
    // An offline processor and unrelated entries are left out.
    test::write_file(root / "cpu8/online", "0\n");
    test::write_file(root / "cpu8/topology/core_id", "9\n");
    test::write_file(root / "cpu8/topology/physical_package_id", "5\n");
    test::write_file(root / "cpufreq/boost", "1\n");
    test::write_file(root / "cpuidle/current_driver", "none\n");

    CpuInfo info;
    info.base_clock_mhz = 2100;
    const auto power = apply_sysfs_cpu(root.path(), info);
    EXPECT_EQ(info.logical_cores, 8u);
    EXPECT_EQ(info.physical_cores, 4u);
    EXPECT_EQ(info.l1_cache_kb, 4u * (48 + 32));
    EXPECT_EQ(info.l2_cache_kb, 4u * 1280);
    EXPECT_EQ(info.l3_cache_kb, 2u * 24576);
    EXPECT_EQ(info.base_clock_mhz, 2100u);
    ASSERT_TRUE(power);
    EXPECT_EQ(power->max_mhz, 4700u);
    EXPECT_EQ(power->current_mhz, 1007u);
}

TEST(CpuCollectorLinux, NoCpufreqGivesNoPower) {
    test::TempDir root;
    test::write_file(root / "cpu0/topology/core_id", "0\n");
    test::write_file(root / "cpu0/topology/physical_package_id", "0\n");
    test::write_file(root / "cpu0/cpufreq/base_frequency", "3000000\n");
    CpuInfo info;
    EXPECT_FALSE(apply_sysfs_cpu(root.path(), info));
    EXPECT_EQ(info.base_clock_mhz, 3000u);
    EXPECT_EQ(info.physical_cores, 1u);
}

}  // namespace
}  // namespace tq
