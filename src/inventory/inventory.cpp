#include "inventory/inventory.h"

#include "inventory/cpu_collector.h"
#include "inventory/disk_collector.h"
#include "inventory/driver_collector.h"
#include "inventory/gpu_collector.h"
#include "inventory/system_collector.h"
#include "inventory/update_search.h"
#include "util/text.h"

namespace tq {

Inventory collect_inventory(bool include_updates) {
    Inventory inventory;
    inventory.schema_version = 1;
    inventory.generated_at = iso_timestamp_now();
    inventory.system = collect_system_info();
    inventory.cpu = collect_cpu_info();
    inventory.gpus = collect_gpus();
    inventory.disks = collect_disks();
    inventory.drivers = collect_drivers();
    if (include_updates) {
        inventory.updates = search_updates(true, false);
    }
    return inventory;
}

}  // namespace tq
