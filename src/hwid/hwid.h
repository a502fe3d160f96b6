#pragma once

// The machine's hardware identity: its ten raw components, their hashes and
// the local fingerprint, and the documents that carry them to the page.

#include <vector>

#include "hwid/identity_rules.h"
#include "inventory/records.h"

namespace tq {

// Reads every identity source of this machine. Components are stored raw;
// a source that cannot be read leaves its component empty.
HwidComponents collect_hwid();

// The readable volumes, in drive-letter order on Windows and mount order on
// Linux.
std::vector<VolumeSerial> list_volume_serials();

// Every network adapter with its interface type and physical address, in the
// system's order; the identity keeps only some of them (select_mac_addresses).
std::vector<AdapterAddress> list_network_adapters();

// The installation's own identifiers: Windows' MachineGuid and ProductId;
// on Linux the machine id, and no product id ("").
std::string read_machine_guid();
std::string read_windows_product_id();

// The ten keys of HwidComponents, each with its hash or "".
json compute_component_hashes(const HwidComponents& components);

// SHA-256 over the non-empty component hashes; "" when there is none.
std::string compute_fingerprint(const HwidComponents& components);

// The "hwid.get" answer: the components plus "component_hashes" and
// "local_fingerprint".
json hwid_document(const HwidComponents& components);

// The "inventory.result" data: the inventory plus "component_hashes" and
// "fingerprint" of its own identity section.
json inventory_document(const Inventory& inventory);

}  // namespace tq
