#include <fcntl.h>
#include <linux/nvme_ioctl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include "inventory/disk_collector_linux.h"

namespace tq {

namespace {

// An open device, closed when the scope ends.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Get Log Page, SMART / health information (log 02h), for all namespaces.
std::optional<std::uint32_t> nvme_predict_failure(int fd) {
    std::uint8_t log[512] = {};
    nvme_passthru_cmd cmd{};
    cmd.opcode = 0x02;
    cmd.nsid = 0xFFFFFFFFu;
    cmd.addr = reinterpret_cast<std::uintptr_t>(log);
    cmd.data_len = sizeof log;
    cmd.cdw10 = ((sizeof log / 4 - 1) << 16) | 0x02;
    cmd.timeout_ms = 5000;
    if (ioctl(fd, NVME_IOCTL_ADMIN_CMD, &cmd) != 0)
        return std::nullopt;
    return nvme_critical_warning_flag(log[0]);
}

// ATA PASS-THROUGH (16), non-data, asking for the registers back: SMART
// RETURN STATUS.
std::optional<std::uint32_t> ata_predict_failure(int fd) {
    std::uint8_t cdb[16] = {0x85, 3 << 1, 0x20, 0, 0xDA, 0, 0, 0, 0, 0, 0x4F, 0, 0xC2, 0, 0xB0, 0};
    std::uint8_t sense[32] = {};
    sg_io_hdr_t io{};
    io.interface_id = 'S';
    io.dxfer_direction = SG_DXFER_NONE;
    io.cmd_len = sizeof cdb;
    io.cmdp = cdb;
    io.mx_sb_len = sizeof sense;
    io.sbp = sense;
    io.timeout = 5000;
    if (ioctl(fd, SG_IO, &io) != 0)
        return std::nullopt;
    return ata_smart_status_from_sense(std::span<const std::uint8_t>(sense, io.sb_len_wr));
}

}  // namespace

std::optional<std::uint32_t> nvme_critical_warning_flag(std::uint8_t critical_warning) {
    return critical_warning == 0 ? 0u : 1u;
}

std::optional<std::uint32_t> ata_smart_status_from_sense(std::span<const std::uint8_t> sense) {
    // Descriptor-format sense data holding the ATA status return descriptor.
    if (sense.size() < 8 + 14 || (sense[0] & 0x7F) != 0x72)
        return std::nullopt;
    const std::size_t total = std::min<std::size_t>(sense.size(), 8u + sense[7]);
    for (std::size_t pos = 8; pos + 2 <= total;) {
        const std::size_t length = 2u + sense[pos + 1];
        if (sense[pos] == 0x09 && length >= 14 && pos + 14 <= total) {
            const std::uint8_t mid = sense[pos + 9];
            const std::uint8_t high = sense[pos + 11];
            if (mid == 0x4F && high == 0xC2)
                return 0u;
            if (mid == 0xF4 && high == 0x2C)
                return 1u;
            return std::nullopt;
        }
        pos += length;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> smart_predict_failure(const std::string& name, DiskBusType bus) {
    if (bus != DiskBusType::NVMe && bus != DiskBusType::SATA)
        return std::nullopt;
    const Fd fd(open(("/dev/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return std::nullopt;
    return bus == DiskBusType::NVMe ? nvme_predict_failure(fd.get())
                                    : ata_predict_failure(fd.get());
}

}  // namespace tq
