#pragma once

// One complete inventory of this machine, all collectors run together.

#include "inventory/records.h"

namespace tq {

// schema_version 1, generated_at stamped before any collector runs, then
// system, CPU, GPUs, disks and drivers in that order; the installed updates
// (searched offline) only when asked for, otherwise the empty summary. The
// identity section is left empty for the caller to fill.
Inventory collect_inventory(bool include_updates);

}  // namespace tq
