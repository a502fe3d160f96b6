#include <windows.h>

#include <vector>

#include "hwid/smbios.h"

namespace tq {

std::optional<SmbiosInfo> read_smbios() {
    constexpr DWORD kRsmb = 0x52534D42;
    const UINT needed = GetSystemFirmwareTable(kRsmb, 0, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::vector<std::uint8_t> raw(needed, 0);
    const UINT written = GetSystemFirmwareTable(kRsmb, 0, raw.data(), needed);
    // A table that grew between the two calls reports its new size without
    // filling the buffer; only the bytes actually written are walked.
    if (written <= 8 || written > needed)
        return std::nullopt;
    raw.resize(written);
    return parse_smbios_raw(raw);
}

}  // namespace tq
