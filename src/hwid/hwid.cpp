#include "hwid/hwid.h"

#include <string>
#include <utility>

#include "hwid/component_hash.h"

namespace tq {
namespace {

std::vector<std::pair<std::string, std::string>> hash_pairs(const HwidComponents& c) {
    return {
        {"baseboard_serial", hash_component(c.baseboard_serial)},
        {"bios_serial", hash_component(c.bios_serial)},
        {"cpu_signature", hash_component(c.cpu_signature)},
        {"disk_serials", hash_component_list(c.disk_serials)},
        {"gpu_signature", hash_component(c.gpu_signature)},
        {"mac_addresses", hash_component_list(c.mac_addresses)},
        {"machine_guid", hash_component(c.machine_guid)},
        {"smbios_uuid", hash_component(c.smbios_uuid)},
        {"volume_serials", hash_component_list(c.volume_serials)},
        {"windows_product_id", hash_component(c.windows_product_id)},
    };
}

}  // namespace

json compute_component_hashes(const HwidComponents& components) {
    json out = json::object();
    for (auto& [key, hash] : hash_pairs(components)) {
        out[key] = std::move(hash);
    }
    return out;
}

std::string compute_fingerprint(const HwidComponents& components) {
    return fingerprint_of_hashes(hash_pairs(components));
}

json hwid_document(const HwidComponents& components) {
    json out = components;
    out["component_hashes"] = compute_component_hashes(components);
    out["local_fingerprint"] = compute_fingerprint(components);
    return out;
}

json inventory_document(const Inventory& inventory) {
    json out = inventory;
    out["component_hashes"] = compute_component_hashes(inventory.hwid);
    out["fingerprint"] = compute_fingerprint(inventory.hwid);
    return out;
}

}  // namespace tq
