#include "inventory/cpu_collector_linux.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <set>
#include <tuple>

#include "inventory/sysfs_linux.h"
#include "inventory/system_collector.h"
#include "util/text.h"
#include "util/utf.h"

namespace tq {

namespace {

bool is_cpu_folder(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "cpu") != 0)
        return false;
    return name.find_first_not_of("0123456789", 3) == std::string::npos;
}

}  // namespace

void apply_proc_cpuinfo(std::string_view cpuinfo, CpuInfo& info) {
    while (!cpuinfo.empty()) {
        const std::size_t end = cpuinfo.find('\n');
        const std::string_view line = cpuinfo.substr(0, end);
        cpuinfo = end == std::string_view::npos ? std::string_view{} : cpuinfo.substr(end + 1);
        // Only the first processor's block, like processor 0 of the registry.
        if (trim(line).empty())
            break;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string key = trim(line.substr(0, colon));
        const std::string value = make_valid_utf8(trim(line.substr(colon + 1)));
        if (key == "model name")
            info.name = value;
        if (key == "vendor_id")
            info.vendor = value;
        if (key == "cpu MHz")
            info.base_clock_mhz = static_cast<std::uint32_t>(std::atof(value.c_str()));
    }
}

std::uint64_t parse_cache_size(std::string_view text) {
    std::uint64_t value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (i < text.size()) {
        if (text[i] == 'K')
            value <<= 10;
        if (text[i] == 'M')
            value <<= 20;
        if (text[i] == 'G')
            value <<= 30;
    }
    return value;
}

std::optional<ProcessorPower> apply_sysfs_cpu(const std::filesystem::path& cpu_root,
                                              CpuInfo& info) {
    std::set<std::pair<std::string, std::string>> cores;
    std::set<std::tuple<std::string, std::string, std::string>> caches;
    std::uint64_t cache_bytes[4] = {};
    std::optional<ProcessorPower> power;
    std::uint32_t online = 0;

    for (const auto& name : list_folder(cpu_root)) {
        if (!is_cpu_folder(name))
            continue;
        const auto cpu = cpu_root / name;
        if (read_sysfs_value(cpu / "online").value_or("1") == "0")
            continue;
        ++online;

        const auto package = read_sysfs_value(cpu / "topology/physical_package_id");
        const auto core = read_sysfs_value(cpu / "topology/core_id");
        if (package && core)
            cores.emplace(*package, *core);

        for (const auto& index : list_folder(cpu / "cache")) {
            if (index.compare(0, 5, "index") != 0)
                continue;
            const auto dir = cpu / "cache" / index;
            const auto level = read_sysfs_number(dir / "level");
            if (!level || *level < 1 || *level > 3)
                continue;
            const auto type = read_sysfs_value(dir / "type").value_or("");
            const auto shared = read_sysfs_value(dir / "shared_cpu_list").value_or(name);
            if (!caches.emplace(std::to_string(*level), type, shared).second)
                continue;
            cache_bytes[*level] += parse_cache_size(read_sysfs_value(dir / "size").value_or(""));
        }

        if (const auto max = read_sysfs_number(cpu / "cpufreq/cpuinfo_max_freq")) {
            if (!power)
                power.emplace();
            power->max_mhz = std::max(power->max_mhz, static_cast<std::uint32_t>(*max / 1000));
            const auto current = read_sysfs_number(cpu / "cpufreq/scaling_cur_freq");
            power->current_mhz = std::max(power->current_mhz,
                                          static_cast<std::uint32_t>(current.value_or(0) / 1000));
        }
        if (const auto base = read_sysfs_number(cpu / "cpufreq/base_frequency")) {
            info.base_clock_mhz = static_cast<std::uint32_t>(*base / 1000);
        }
    }

    info.logical_cores = online;
    info.physical_cores = static_cast<std::uint32_t>(cores.size());
    info.l1_cache_kb = static_cast<std::uint32_t>(cache_bytes[1] >> 10);
    info.l2_cache_kb = static_cast<std::uint32_t>(cache_bytes[2] >> 10);
    info.l3_cache_kb = static_cast<std::uint32_t>(cache_bytes[3] >> 10);
    return power;
}

CpuInfo collect_cpu_info() {
    CpuInfo info;
    apply_proc_cpuinfo(read_whole_file("/proc/cpuinfo").value_or(""), info);

    apply_cpuid(info);

    const auto power = apply_sysfs_cpu("/sys/devices/system/cpu", info);
    if (info.logical_cores == 0) {
        const long count = sysconf(_SC_NPROCESSORS_ONLN);
        info.logical_cores = count > 0 ? static_cast<std::uint32_t>(count) : 0;
    }
    finish_cpu_info(power, info);

    utsname uts{};
    info.architecture = uname(&uts) == 0 ? architecture_from_machine(uts.machine) : "unknown";
    return info;
}

}  // namespace tq
