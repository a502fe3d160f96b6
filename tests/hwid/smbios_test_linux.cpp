#include <gtest/gtest.h>

#include "hwid/smbios_linux.h"
#include "support/test_support.h"

namespace tq {
namespace {

TEST(SmbiosLinux, TableWithEntryPointIsWalked) {
    test::TempDir sys;
    const std::string raw = test::read_file(test::fixture_path("smbios/desktop.bin"));
    test::write_file(sys / "firmware/dmi/tables/DMI", raw.substr(8));
    test::write_file(sys / "firmware/dmi/tables/smbios_entry_point",
                     std::string("_SM3_\x10\x18\x03\x04\x01", 10));
    // The table wins over the user-readable attributes.
    test::write_file(sys / "class/dmi/id/sys_vendor", "Other\n");
    const auto info = read_smbios_from(sys.path());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->system_manufacturer, "Micro-Star International Co., Ltd.");
    EXPECT_EQ(info->baseboard_serial, "07C5611_MB1E123456");
    EXPECT_EQ(info->system_uuid, "123A1F5E-D4C0-11E2-A9F1-D8BBC1A2B3C4");
}

TEST(SmbiosLinux, FallsBackToUserReadableAttributes) {
    test::TempDir sys;
    test::write_file(sys / "class/dmi/id/sys_vendor", "Maker Inc.\n");
    test::write_file(sys / "class/dmi/id/product_name", "Model  X \n");
    test::write_file(sys / "class/dmi/id/bios_date", "01/02/2024\n");
    const auto info = read_smbios_from(sys.path());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->system_manufacturer, "Maker Inc.");
    EXPECT_EQ(info->system_product, "Model  X ");
    EXPECT_EQ(info->bios_version, "");
    EXPECT_EQ(info->bios_date, "01/02/2024");
    EXPECT_EQ(info->system_serial, "");
    EXPECT_EQ(info->system_uuid, "");
}

TEST(SmbiosLinux, NothingReadableIsNoTable) {
    test::TempDir sys;
    EXPECT_FALSE(read_smbios_from(sys.path()));
    test::write_file(sys / "firmware/dmi/tables/DMI", "");
    EXPECT_FALSE(read_smbios_from(sys.path()));
}

}  // namespace
}  // namespace tq
