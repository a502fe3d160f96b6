#pragma once

// Little-endian integers inside the byte buffers that firmware and driver
// calls return. Callers check the bounds first.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tq {

inline std::uint32_t le_u32_at(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint32_t>(b[offset]) |
           (static_cast<std::uint32_t>(b[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(b[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(b[offset + 3]) << 24);
}

inline std::uint64_t le_u64_at(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint64_t>(le_u32_at(b, offset)) |
           (static_cast<std::uint64_t>(le_u32_at(b, offset + 4)) << 32);
}

}  // namespace tq
