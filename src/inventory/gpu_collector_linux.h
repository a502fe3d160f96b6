#pragma once

// The Linux sources of the adapter list: DRM cards in sysfs, named from the
// PCI id database, their driver's version from its kernel module.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/gpu_collector.h"

namespace tq {

struct DrmCard {
    AdapterDescription adapter;
    DisplayDriverEntry driver;
};

// The adapter's marketing name from the text of a pci.ids database: the
// bracketed part of the device name after our vendor name where there is
// one ("GA104 [GeForce RTX 3070]" becomes "NVIDIA GeForce RTX 3070"),
// else the device name, else the database's vendor name; empty when the
// vendor is not listed.
std::string pci_adapter_name(std::string_view database, std::uint32_t vendor_id,
                             std::uint32_t device_id);

// The cards under class/drm of `sys_root`, in card number order. A card
// without a PCI function behind it is marked as a software adapter. The
// driver's version is its module's version, or `kernel_release` for a
// driver built into the kernel.
std::vector<DrmCard> read_drm_cards(const std::filesystem::path& sys_root,
                                    std::string_view kernel_release,
                                    const std::filesystem::path& pci_ids);

}  // namespace tq
