#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "inventory/disk_collector.h"

namespace tq {

namespace {

constexpr DWORD kQueryProperty = 0x2D1400;
constexpr DWORD kGetLengthInfo = 0x7405C;
constexpr DWORD kReadCapacity = 0x2D5140;
constexpr DWORD kPredictFailure = 0x2D1100;
constexpr DWORD kVolumeDiskExtents = 0x560000;

constexpr std::uint32_t kStorageDeviceProperty = 0;
constexpr std::uint32_t kSeekPenaltyProperty = 7;

// An open handle, closed when the scope ends.
class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE h_;
};

bool ioctl(HANDLE h, DWORD code, const void* in, DWORD in_size, void* out, DWORD out_size,
           DWORD* returned) {
    DWORD bytes = 0;
    const BOOL ok =
        DeviceIoControl(h, code, const_cast<void*>(in), in_size, out, out_size, &bytes, nullptr);
    if (returned)
        *returned = bytes;
    return ok != 0;
}

// STORAGE_PROPERTY_QUERY: property id, query type, one byte of parameters.
struct PropertyQuery {
    std::uint32_t property_id;
    std::uint32_t query_type;
    std::uint8_t additional[4];
};

void read_descriptor(HANDLE h, DiskInfo& disk) {
    const PropertyQuery query{kStorageDeviceProperty, 0, {}};
    std::uint32_t header[2] = {};
    if (!ioctl(h, kQueryProperty, &query, 12, header, sizeof header, nullptr))
        return;
    if (!is_trusted_descriptor_size(header[1]))
        return;
    std::vector<std::uint8_t> buffer(header[1], 0);
    DWORD returned = 0;
    if (!ioctl(h, kQueryProperty, &query, 12, buffer.data(), header[1], &returned))
        return;
    // Only the bytes the device wrote are read.
    buffer.resize(std::min<std::size_t>(returned, buffer.size()));
    apply_device_descriptor(buffer, disk);
}

void read_size(HANDLE h, DiskInfo& disk) {
    std::uint64_t length = 0;
    if (ioctl(h, kGetLengthInfo, nullptr, 0, &length, sizeof length, nullptr)) {
        disk.size_bytes = length;
    }
    if (disk.size_bytes != 0)
        return;
    std::array<std::uint8_t, 32> capacity{};
    if (ioctl(h, kReadCapacity, nullptr, 0, capacity.data(), 32, nullptr)) {
        disk.size_bytes = size_from_read_capacity(capacity);
    }
}

void read_seek_penalty(HANDLE h, DiskInfo& disk) {
    const PropertyQuery query{kSeekPenaltyProperty, 0, {}};
    std::uint8_t answer[12] = {};
    disk.is_ssd =
        ioctl(h, kQueryProperty, &query, 12, answer, sizeof answer, nullptr) && answer[8] == 0;
}

void read_failure_prediction(HANDLE h, DiskInfo& disk) {
    std::vector<std::uint8_t> answer(516, 0);
    std::optional<std::uint32_t> flag;
    if (ioctl(h, kPredictFailure, nullptr, 0, answer.data(), 516, nullptr)) {
        std::uint32_t value = 0;
        std::memcpy(&value, answer.data(), 4);
        flag = value;
    }
    apply_failure_prediction(flag, disk);
}

void read_volume_extents(wchar_t letter, ExtentTable& table) {
    const wchar_t path[] = {L'\\', L'\\', L'.', L'\\', letter, L':', 0};
    Handle volume(CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
    if (!volume.valid())
        return;
    std::vector<std::uint8_t> buffer(1024, 0);
    for (;;) {
        DWORD returned = 0;
        if (ioctl(volume.get(), kVolumeDiskExtents, nullptr, 0, buffer.data(),
                  static_cast<DWORD>(buffer.size()), &returned)) {
            record_volume_extents(
                std::span<const std::uint8_t>(buffer.data(),
                                              std::min<std::size_t>(returned, buffer.size())),
                table);
            return;
        }
        if (GetLastError() != ERROR_MORE_DATA)
            return;
        const std::size_t next = next_extent_buffer_size(buffer.size());
        if (next == 0)
            return;
        buffer.resize(next, 0);
    }
}

}  // namespace

std::vector<DiskInfo> collect_disks() {
    std::vector<NumberedDisk> kept;
    for (std::uint32_t n = 0; n < 32; ++n) {
        wchar_t path[64];
        std::swprintf(path, 64, L"\\\\.\\PhysicalDrive%u", n);
        Handle device(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        if (!device.valid())
            continue;
        DiskInfo disk = new_disk_record();
        read_descriptor(device.get(), disk);
        read_size(device.get(), disk);
        read_seek_penalty(device.get(), disk);
        read_failure_prediction(device.get(), disk);
        if (keep_disk(disk))
            kept.push_back({n, std::move(disk)});
    }

    ExtentTable table{};
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i))
            read_volume_extents(static_cast<wchar_t>(L'A' + i), table);
    }
    apply_extent_sizes(kept, table);

    std::vector<DiskInfo> disks;
    for (auto& d : kept)
        disks.push_back(std::move(d.disk));
    return disks;
}

}  // namespace tq
