#include <gtest/gtest.h>

#include "hwid/mount_rules.h"

namespace tq {
namespace {

TEST(BlockMounts, KeepsBlockDevicesOncePerDevice) {
    const std::string mountinfo =
        "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
        "28 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
        "29 28 259:1 / /boot/efi rw,relatime shared:2 - vfat /dev/nvme0n1p1 rw\n"
        "30 28 0:26 / /tmp rw - tmpfs tmpfs rw\n"
        "31 28 259:2 /home /home rw,relatime - ext4 /dev/nvme0n1p2 rw\n"
        "32 28 8:17 / /media/My\\040Stick rw,nosuid - exfat /dev/sdb1 rw\n"
        "garbage line\n"
        "33 28 x:1 / /bad rw - ext4 /dev/bad rw\n"
        "34 28 8:1 / /no-separator rw ext4 /dev/sda1 rw\n";
    const auto mounts = parse_block_mounts(mountinfo);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].major, 259u);
    EXPECT_EQ(mounts[0].minor, 2u);
    EXPECT_EQ(mounts[0].mount_point, "/");
    EXPECT_EQ(mounts[0].fs_type, "ext4");
    EXPECT_EQ(mounts[1].mount_point, "/boot/efi");
    EXPECT_EQ(mounts[1].fs_type, "vfat");
    EXPECT_EQ(mounts[2].mount_point, "/media/My Stick");
    EXPECT_EQ(mounts[2].fs_type, "exfat");
}

TEST(BlockMounts, EmptyTable) {
    EXPECT_TRUE(parse_block_mounts("").empty());
}

}  // namespace
}  // namespace tq
