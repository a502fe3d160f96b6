// winsock2.h before windows.h, iphlpapi.h after both.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "hwid/hwid.h"
#include "inventory/registry.h"

namespace tq {

std::string read_machine_guid() {
    return read_reg_string(RegRoot::LocalMachine, TQ_W("SOFTWARE\\Microsoft\\Cryptography"),
                           TQ_W("MachineGuid"))
        .value_or("");
}

std::string read_windows_product_id() {
    return read_reg_string(RegRoot::LocalMachine,
                           TQ_W("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"),
                           TQ_W("ProductId"))
        .value_or("");
}

std::vector<VolumeSerial> list_volume_serials() {
    const DWORD mask = GetLogicalDrives();
    return volumes_from_drive_mask(mask, [](char letter) -> std::optional<std::uint32_t> {
        const char root[] = {letter, ':', '\\', '\0'};
        DWORD serial = 0;
        if (!GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
            return std::nullopt;
        }
        return serial;
    });
}

std::vector<AdapterAddress> list_network_adapters() {
    std::vector<AdapterAddress> out;
    constexpr ULONG kFlags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 0;
    if (GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr, nullptr, &size) != ERROR_BUFFER_OVERFLOW) {
        return out;
    }
    // Whole IP_ADAPTER_ADDRESSES elements keep the buffer suitably aligned.
    std::vector<IP_ADAPTER_ADDRESSES> buffer(size / sizeof(IP_ADAPTER_ADDRESSES) + 1);
    size = static_cast<ULONG>(buffer.size() * sizeof(IP_ADAPTER_ADDRESSES));
    if (GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr, buffer.data(), &size) != NO_ERROR) {
        return out;
    }
    for (const IP_ADAPTER_ADDRESSES* a = buffer.data(); a != nullptr; a = a->Next) {
        AdapterAddress adapter;
        adapter.if_type = a->IfType;
        const ULONG length = a->PhysicalAddressLength;
        // Lengths above the array's size are passed on as they are reported
        // so the rule can refuse them; only the bytes that exist are copied.
        adapter.address.assign(
            a->PhysicalAddress,
            a->PhysicalAddress + std::min<ULONG>(length, MAX_ADAPTER_ADDRESS_LENGTH));
        if (length > MAX_ADAPTER_ADDRESS_LENGTH) {
            adapter.address.resize(length);
        }
        out.push_back(std::move(adapter));
    }
    return out;
}

}  // namespace tq
