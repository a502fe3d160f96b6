#include <windows.h>

#include <vector>

#include "inventory/cpu_collector.h"
#include "inventory/registry.h"
#include "inventory/system_collector.h"

namespace tq {

namespace {

TopologySummary read_topology(LOGICAL_PROCESSOR_RELATIONSHIP relationship) {
    DWORD length = 0;
    GetLogicalProcessorInformationEx(relationship, nullptr, &length);
    if (length == 0)
        return {};
    std::vector<std::uint8_t> buffer(length, 0);
    if (!GetLogicalProcessorInformationEx(
            relationship, reinterpret_cast<PSYSTEM_LOGICAL_PROCESSOR_INFORMATION_EX>(buffer.data()),
            &length)) {
        return {};
    }
    return walk_processor_records(
        std::span<const std::uint8_t>(buffer.data(), std::min<std::size_t>(length, buffer.size())));
}

std::optional<ProcessorPower> read_power() {
    using CallNtPowerInformationFn = LONG(WINAPI*)(int, PVOID, ULONG, PVOID, ULONG);
    HMODULE library = LoadLibraryW(L"powrprof.dll");
    if (!library)
        return std::nullopt;
    auto call = reinterpret_cast<CallNtPowerInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "CallNtPowerInformation")));
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const DWORD count = system.dwNumberOfProcessors;
    if (!call || count == 0) {
        FreeLibrary(library);
        return std::nullopt;
    }
    // Six 32-bit values per processor: number, maximum, current, limit,
    // maximum idle state, current idle state.
    constexpr int kProcessorInformation = 11;
    std::vector<std::uint32_t> records(static_cast<std::size_t>(count) * 6, 0);
    const LONG status = call(kProcessorInformation, nullptr, 0, records.data(),
                             static_cast<ULONG>(records.size() * sizeof(std::uint32_t)));
    FreeLibrary(library);
    if (status != 0)
        return std::nullopt;
    ProcessorPower power;
    for (DWORD i = 0; i < count; ++i) {
        power.max_mhz = std::max(power.max_mhz, records[i * 6 + 1]);
        power.current_mhz = std::max(power.current_mhz, records[i * 6 + 2]);
    }
    return power;
}

}  // namespace

CpuInfo collect_cpu_info() {
    CpuInfo info;
    const WStringView key = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    info.name = read_reg_string(RegRoot::LocalMachine, key, L"ProcessorNameString").value_or("");
    info.vendor = read_reg_string(RegRoot::LocalMachine, key, L"VendorIdentifier").value_or("");
    info.base_clock_mhz = read_reg_dword(RegRoot::LocalMachine, key, L"~MHz").value_or(0);

    apply_cpuid(info);

    info.physical_cores = read_topology(RelationProcessorCore).core_records;
    const TopologySummary caches = read_topology(RelationCache);
    info.l1_cache_kb = caches.l1_cache_kb;
    info.l2_cache_kb = caches.l2_cache_kb;
    info.l3_cache_kb = caches.l3_cache_kb;

    info.logical_cores = GetActiveProcessorCount(0xFFFF);
    finish_cpu_info(read_power(), info);

    SYSTEM_INFO native{};
    GetNativeSystemInfo(&native);
    info.architecture = architecture_name(native.wProcessorArchitecture);
    return info;
}

}  // namespace tq
