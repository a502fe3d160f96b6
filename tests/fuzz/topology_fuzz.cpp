// The logical-processor record walk over arbitrary buffers.
#include <cstddef>
#include <cstdint>

#include "inventory/cpu_collector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto summary = tq::walk_processor_records(std::span<const std::uint8_t>(data, size));
    // Every record is at least 8 bytes long.
    if (summary.core_records > size / 8)
        __builtin_trap();
    return 0;
}
