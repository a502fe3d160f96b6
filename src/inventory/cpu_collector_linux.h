#pragma once

// The Linux sources of the processor record, with the roots of procfs and
// sysfs as parameters so captured trees can stand in for the machine's.

#include <filesystem>
#include <string_view>

#include "inventory/cpu_collector.h"

namespace tq {

// Name, vendor and base clock from /proc/cpuinfo's first processor.
void apply_proc_cpuinfo(std::string_view cpuinfo, CpuInfo& info);

// Size of a sysfs cache ("32K", "8M", "512") in bytes.
std::uint64_t parse_cache_size(std::string_view text);

// Cores and caches from devices/system/cpu under `cpu_root` (normally
// /sys/devices/system/cpu), counting each core and each cache instance once
// however many threads share it; a base clock from cpufreq replaces the one
// of /proc/cpuinfo. The clocks of cpufreq when it is there.
std::optional<ProcessorPower> apply_sysfs_cpu(const std::filesystem::path& cpu_root, CpuInfo& info);

}  // namespace tq
