// The volume disk-extent walk over arbitrary answers.
#include <cstddef>
#include <cstdint>

#include "inventory/disk_collector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tq::ExtentTable table{};
    tq::record_volume_extents(std::span<const std::uint8_t>(data, size), table);
    return 0;
}
