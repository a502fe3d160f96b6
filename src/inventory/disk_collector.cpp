#include "inventory/disk_collector.h"

#include <algorithm>

#include "util/bytes.h"
#include "util/text.h"
#include "util/utf.h"

namespace tq {

namespace {

constexpr std::size_t kDescriptorFixedPart = 32;

}  // namespace

DiskInfo new_disk_record() {
    DiskInfo disk;
    disk.bus_type = DiskBusType::Unknown;
    disk.is_ssd = false;
    disk.smart_ok = true;
    return disk;
}

DiskBusType map_storage_bus_type(std::uint32_t bus_type) {
    static constexpr DiskBusType kTable[11] = {
        DiskBusType::USB,   DiskBusType::RAID,  DiskBusType::Other, DiskBusType::Other,
        DiskBusType::SATA,  DiskBusType::Other, DiskBusType::Other, DiskBusType::Other,
        DiskBusType::Other, DiskBusType::Other, DiskBusType::NVMe,
    };
    if (bus_type < 7 || bus_type > 17)
        return DiskBusType::Other;
    return kTable[bus_type - 7];
}

bool is_trusted_descriptor_size(std::uint32_t size) {
    return size >= 1 && size <= kMaxStorageBuffer;
}

std::string descriptor_string(std::span<const std::uint8_t> descriptor, std::uint32_t offset) {
    if (offset == 0 || offset >= descriptor.size())
        return {};
    const auto begin = descriptor.begin() + offset;
    const auto end = std::find(begin, descriptor.end(), std::uint8_t{0});
    return trim(std::string_view(reinterpret_cast<const char*>(&*begin),
                                 static_cast<std::size_t>(end - begin)));
}

bool apply_device_descriptor(std::span<const std::uint8_t> d, DiskInfo& disk) {
    if (d.size() < kDescriptorFixedPart)
        return false;
    disk.model = make_valid_utf8(descriptor_string(d, le_u32_at(d, 16)));
    disk.serial = make_valid_utf8(descriptor_string(d, le_u32_at(d, 24)));
    disk.firmware = make_valid_utf8(descriptor_string(d, le_u32_at(d, 20)));
    disk.bus_type = map_storage_bus_type(le_u32_at(d, 28));
    if (disk.model.empty())
        disk.model = make_valid_utf8(descriptor_string(d, le_u32_at(d, 12)));
    return true;
}

std::uint64_t size_from_read_capacity(std::span<const std::uint8_t, 32> answer) {
    const std::uint64_t length = le_u64_at(answer, 24);
    if (length != 0)
        return length;
    return static_cast<std::uint64_t>(le_u32_at(answer, 8)) * le_u64_at(answer, 16);
}

void apply_failure_prediction(std::optional<std::uint32_t> predict_failure, DiskInfo& disk) {
    if (!predict_failure) {
        disk.health_text = "Unavailable";
        return;
    }
    disk.smart_ok = *predict_failure == 0;
    disk.health_text = disk.smart_ok ? "Healthy" : "Warning";
}

bool keep_disk(const DiskInfo& disk) {
    return disk.size_bytes != 0 || !disk.model.empty() || !disk.serial.empty();
}

void record_volume_extents(std::span<const std::uint8_t> answer, ExtentTable& table) {
    if (answer.size() < 32)
        return;
    const std::uint32_t count = le_u32_at(answer, 0);
    const std::size_t fits = (answer.size() - 8) / 24;
    for (std::size_t i = 0; i < std::min<std::size_t>(count, fits); ++i) {
        const std::size_t entry = 8 + i * 24;
        const std::uint32_t disk = le_u32_at(answer, entry);
        const std::uint64_t length = le_u64_at(answer, entry + 16);
        if (disk <= 31 && length != 0)
            table[disk] = std::max(table[disk], length);
    }
}

std::size_t next_extent_buffer_size(std::size_t current) {
    const std::size_t next = current * 2;
    return next <= kMaxStorageBuffer ? next : 0;
}

void apply_extent_sizes(std::vector<NumberedDisk>& disks, const ExtentTable& table) {
    for (auto& d : disks) {
        if (d.disk.size_bytes == 0 && d.number < table.size() && table[d.number] != 0) {
            d.disk.size_bytes = table[d.number];
        }
    }
}

}  // namespace tq
