// The storage device descriptor reader over arbitrary device answers.
#include <cstddef>
#include <cstdint>

#include "inventory/disk_collector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tq::DiskInfo disk = tq::new_disk_record();
    tq::apply_device_descriptor(std::span<const std::uint8_t>(data, size), disk);
    // Whatever the device says, the record must serialise.
    (void)tq::json(disk).dump();
    return 0;
}
