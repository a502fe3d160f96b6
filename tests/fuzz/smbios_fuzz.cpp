// The SMBIOS walk over arbitrary firmware bytes, header included.
#include <cstddef>
#include <cstdint>

#include "hwid/smbios.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto info = tq::parse_smbios_raw(std::span<const std::uint8_t>(data, size));
    if (info && !info->system_uuid.empty() && info->system_uuid.size() != 36)
        __builtin_trap();
    return 0;
}
