#pragma once

// Which mounted filesystems count as volumes of this machine, read from the
// kernel's mount table. Pure rules over the text of /proc/self/mountinfo.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

struct BlockMount {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::string mount_point;
    std::string fs_type;
};

// The mounts backed by a block device (major number non-zero), once per
// device, in the table's order. Escaped characters in mount points (\040 for
// a space) are decoded; malformed lines are skipped.
std::vector<BlockMount> parse_block_mounts(std::string_view mountinfo);

}  // namespace tq
