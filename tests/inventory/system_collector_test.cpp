#include <gtest/gtest.h>

#include "inventory/system_collector.h"

namespace tq {
namespace {

using S = std::optional<std::string>;
using D = std::optional<std::uint32_t>;

TEST(SystemCollector, OsValues) {
    const struct {
        const char* what;
        OsValues values;
        const char* os_name;
        const char* os_version;
        const char* os_build;
    } cases[] = {
        {"all present",
         {S("Windows 10 Pro"), S("23H2"), S("2009"), S("6.3"), S("22631"), D(4169)},
         "Windows 10 Pro 23H2",
         "6.3 (build 22631.4169)",
         "22631.4169"},
        {"empty display version stops the fallback",
         {S("Windows 10 Pro"), S(""), S("2009"), S("6.3"), S("19045"), D(1)},
         "Windows 10 Pro",
         "6.3 (build 19045.1)",
         "19045.1"},
        {"release id when display version is absent",
         {S("Windows 10 Home"), std::nullopt, S("2009"), S("6.3"), S("19041"), D(2)},
         "Windows 10 Home 2009",
         "6.3 (build 19041.2)",
         "19041.2"},
        {"no product name keeps the leading space",
         {std::nullopt, S("23H2"), std::nullopt, S("6.3"), S("1"), std::nullopt},
         " 23H2",
         "6.3 (build 1)",
         "1"},
        {"no UBR",
         {S("P"), S(""), std::nullopt, S("6.3"), S("22000"), std::nullopt},
         "P",
         "6.3 (build 22000)",
         "22000"},
        {"no build but UBR",
         {S("P"), S(""), std::nullopt, S("6.3"), std::nullopt, D(1000)},
         "P",
         "6.3 (build .1000)",
         ".1000"},
        {"no version defaults to 10",
         {S("P"), std::nullopt, std::nullopt, std::nullopt, S("19045"), D(5011)},
         "P",
         "10 (build 19045.5011)",
         "19045.5011"},
        {"an empty version is kept",
         {S("P"), S(""), S(""), S(""), S("7"), std::nullopt},
         "P",
         " (build 7)",
         "7"},
        {"nothing", {}, "", "10 (build )", ""},
    };
    for (const auto& c : cases) {
        SystemInfo info;
        apply_os_values(c.values, info);
        EXPECT_EQ(info.os_name, c.os_name) << c.what;
        EXPECT_EQ(info.os_version, c.os_version) << c.what;
        EXPECT_EQ(info.os_build, c.os_build) << c.what;
    }
}

TEST(SystemCollector, ArchitectureNames) {
    const std::pair<std::uint16_t, const char*> codes[] = {
        {0, "x86"}, {5, "ARM"}, {9, "x86_64"}, {12, "ARM64"}, {6, "unknown"}, {0xFFFF, "unknown"}};
    for (const auto& [code, name] : codes)
        EXPECT_EQ(architecture_name(code), name) << code;
    const std::pair<const char*, const char*> machines[] = {
        {"x86_64", "x86_64"}, {"i686", "x86"},        {"i386", "x86"}, {"aarch64", "ARM64"},
        {"armv7l", "ARM"},    {"riscv64", "unknown"}, {"", "unknown"}};
    for (const auto& [machine, name] : machines) {
        EXPECT_EQ(architecture_from_machine(machine), name) << machine;
    }
}

TEST(SystemCollector, SmbiosFieldsOnlyFromATable) {
    SystemInfo info;
    info.hostname = "kept";
    apply_smbios(std::nullopt, info);
    EXPECT_EQ(info.manufacturer, "");
    EXPECT_EQ(info.hostname, "kept");

    SmbiosInfo smbios;
    smbios.system_manufacturer = "Fabricant\xE9";
    smbios.system_product = "Mod\xC3\xA8le";
    smbios.bios_version = "F12";
    smbios.bios_date = "03/21/2023";
    smbios.system_serial = "not copied";
    apply_smbios(smbios, info);
    EXPECT_EQ(info.manufacturer, "Fabricant\xEF\xBF\xBD");
    EXPECT_EQ(info.model, "Mod\xC3\xA8le");
    EXPECT_EQ(info.bios_version, "F12");
    EXPECT_EQ(info.bios_date, "03/21/2023");
    EXPECT_NO_THROW((void)json(info).dump());
}

TEST(SystemCollector, OsReleaseParsing) {
    const auto values = parse_os_release(
        "# comment\n"
        "NAME=\"Debian GNU/Linux\"\n"
        "VERSION_ID='12'\n"
        "ID=debian\r\n"
        "QUOTED=\"a \\\"b\\\" c\"\n"
        "\n"
        "=no key\n"
        "BROKEN\n");
    EXPECT_EQ(values.at("NAME"), "Debian GNU/Linux");
    EXPECT_EQ(values.at("VERSION_ID"), "12");
    EXPECT_EQ(values.at("ID"), "debian");
    EXPECT_EQ(values.at("QUOTED"), "a \"b\" c");
    EXPECT_EQ(values.size(), 4u);
}

TEST(SystemCollector, RealMachine) {
    const SystemInfo info = collect_system_info();
    EXPECT_GT(info.total_ram_bytes, 0u);
    EXPECT_FALSE(info.hostname.empty());
    const std::string arch = info.architecture;
    EXPECT_TRUE(arch == "x86" || arch == "ARM" || arch == "x86_64" || arch == "ARM64" ||
                arch == "unknown");
    EXPECT_NE(info.os_version.find(" (build "), std::string::npos);
    const json j = info;
    EXPECT_EQ(j.size(), 10u);
    EXPECT_NO_THROW((void)j.dump());
}

}  // namespace
}  // namespace tq
