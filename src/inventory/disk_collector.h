#pragma once

// Physical disks: model, serial, firmware, size, bus, solid state and the
// failure prediction, each degrading on its own when the platform refuses.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "inventory/records.h"

namespace tq {

std::vector<DiskInfo> collect_disks();

// Descriptors and extent buffers are trusted up to this size.
inline constexpr std::size_t kMaxStorageBuffer = 0x100000;

// A record before any query: bus Unknown, not solid state, no failure
// predicted.
DiskInfo new_disk_record();

// The platform's storage bus type on our six: SATA 11, NVMe 17, USB 7,
// RAID 8, everything else Other.
DiskBusType map_storage_bus_type(std::uint32_t bus_type);

// A descriptor size worth allocating for: 1 byte to 1 MiB.
bool is_trusted_descriptor_size(std::uint32_t size);

// The string at a byte offset of the descriptor: empty for offset 0 or one
// outside it, else up to the first NUL or the end, trimmed.
std::string descriptor_string(std::span<const std::uint8_t> descriptor, std::uint32_t offset);

// Model (product id, else vendor id), serial, firmware and bus type from a
// storage device descriptor. A descriptor shorter than its fixed part (32
// bytes, through the bus type) counts as no descriptor: nothing is set and
// false is returned. Text is made valid UTF-8 as it enters the record.
bool apply_device_descriptor(std::span<const std::uint8_t> descriptor, DiskInfo& disk);

// The disk length of a 32-byte read-capacity answer, or block length times
// block count when the length is 0.
std::uint64_t size_from_read_capacity(std::span<const std::uint8_t, 32> answer);

// The failure-prediction flag when the query succeeded, nothing when not.
void apply_failure_prediction(std::optional<std::uint32_t> predict_failure, DiskInfo& disk);

// A disk is listed when it gave a size, a model or a serial.
bool keep_disk(const DiskInfo& disk);

// The largest volume extent seen per disk number 0 to 31.
using ExtentTable = std::array<std::uint64_t, 32>;

// Adds the extents of a volume-disk-extents answer (a 32-bit count, then
// 24-byte entries from offset 8) to the table; entries past the returned
// bytes and disk numbers above 31 are ignored.
void record_volume_extents(std::span<const std::uint8_t> answer, ExtentTable& table);

// The next extent buffer size after ERROR_MORE_DATA, or 0 past 1 MiB.
std::size_t next_extent_buffer_size(std::size_t current);

struct NumberedDisk {
    std::uint32_t number = 0;
    DiskInfo disk;
};

// Gives every disk still without a size the largest extent of its own
// drive number.
void apply_extent_sizes(std::vector<NumberedDisk>& disks, const ExtentTable& table);

}  // namespace tq
