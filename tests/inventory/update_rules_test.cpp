#include <gtest/gtest.h>

#include "inventory/update_search.h"
#include "inventory/update_search_history.h"

namespace tq {
namespace {

TEST(UpdateRules, KbIdsJoinedWithoutSpaces) {
    EXPECT_EQ(join_kb_ids({"111", "222"}), "KB111,KB222");
    EXPECT_EQ(join_kb_ids({"5034441"}), "KB5034441");
    EXPECT_EQ(join_kb_ids({}), "");
}

TEST(UpdateRules, SeverityFallsBackToUnspecified) {
    EXPECT_EQ(severity_text(std::nullopt), "Unspecified");
    EXPECT_EQ(severity_text(std::string()), "Unspecified");
    EXPECT_EQ(severity_text(std::string("Critical")), "Critical");
    EXPECT_EQ(severity_text(std::string("moderate")), "moderate");
}

struct CountCase {
    const char* name;
    std::string severity;
    bool mandatory;
    std::uint32_t counted;
};

std::ostream& operator<<(std::ostream& out, const CountCase& c) {
    return out << c.name;
}

class ImportantCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ImportantCount, MandatoryOrCriticalOrImportant) {
    const CountCase& c = GetParam();
    UpdateInfo update;
    update.severity = c.severity;
    update.mandatory = c.mandatory;
    EXPECT_EQ(count_important({update}), c.counted);
}

INSTANTIATE_TEST_SUITE_P(Updates, ImportantCount,
                         ::testing::Values(CountCase{"critical", "Critical", false, 1},
                                           CountCase{"critical_upper", "CRITICAL", false, 1},
                                           CountCase{"important_lower", "important", false, 1},
                                           CountCase{"moderate_mandatory", "Moderate", true, 1},
                                           CountCase{"low", "Low", false, 0},
                                           CountCase{"unspecified", "Unspecified", false, 0},
                                           CountCase{"unspecified_mandatory", "Unspecified", true,
                                                     1},
                                           CountCase{"critical_with_blank", "Critical ", false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateRules, CountAddsUpAList) {
    std::vector<UpdateInfo> available(3);
    available[0].severity = "Critical";
    available[1].severity = "Low";
    available[2].severity = "Unspecified";
    available[2].mandatory = true;
    EXPECT_EQ(count_important(available), 2u);
    EXPECT_EQ(count_important({}), 0u);
}

TEST(DpkgHistory, UpgradeLinesBecomeInstalledUpdates) {
    const std::string log =
        "2025-06-24 14:36:25 startup packages configure\n"
        "2025-06-24 14:36:25 upgrade libudev1:amd64 252.36-1~deb12u1 252.38-1~deb12u1\n"
        "2025-06-24 14:36:25 status half-configured libudev1:amd64 252.38-1~deb12u1\n"
        "2025-06-24 14:36:26 install newpkg:amd64 <none> 1.0-1\n"
        "2026-05-09 07:28:46 upgrade tzdata:all 2025b-0+deb12u1 2025b-0+deb12u2\n"
        "2026-05-09 07:28:46 upgrade truncated:all 1.0\n"
        "\n";
    const auto updates = parse_dpkg_upgrades(log);
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_EQ(updates[0].title, "libudev1:amd64 252.38-1~deb12u1");
    EXPECT_EQ(updates[1].title, "tzdata:all 2025b-0+deb12u2");
    for (const UpdateInfo& u : updates) {
        EXPECT_TRUE(u.installed);
        EXPECT_FALSE(u.mandatory);
        EXPECT_EQ(u.severity, "Unspecified");
        EXPECT_EQ(u.kb, "");
        EXPECT_EQ(u.date, "");
    }
}

TEST(AptSimulation, InstLinesBecomeAvailableUpdates) {
    const std::string output =
        "Reading package lists...\n"
        "The following packages will be upgraded:\n"
        "  bash libc6\n"
        "Inst bash [5.2.15-2+b8] (5.2.15-2+b13 Debian:12.15/oldstable [amd64])\n"
        "Inst libc6 [2.36-9+deb12u4] (2.36-9+deb12u7 Debian:12.15/oldstable, "
        "Debian-Security:12/oldstable-security [amd64])\n"
        "Inst tzdata [2024a-0+deb12u1] (2025b-0+deb12u1 Ubuntu:22.04/jammy-security [all])\n"
        "Inst newdep (1.0-1 Debian:12.15/oldstable [amd64])\n"
        "Inst broken [1.0] (2.0 Debian:12/stable\n"
        "Conf bash (5.2.15-2+b13 Debian:12.15/oldstable [amd64])\n";
    const auto updates = parse_apt_simulation(output);
    ASSERT_EQ(updates.size(), 4u);
    EXPECT_EQ(updates[0].title, "bash:amd64 5.2.15-2+b13");
    EXPECT_EQ(updates[0].severity, "Unspecified");
    EXPECT_EQ(updates[1].title, "libc6:amd64 2.36-9+deb12u7");
    EXPECT_EQ(updates[1].severity, "Important");
    EXPECT_EQ(updates[2].title, "tzdata:all 2025b-0+deb12u1");
    EXPECT_EQ(updates[2].severity, "Important");
    EXPECT_EQ(updates[3].title, "newdep:amd64 1.0-1");
    for (const UpdateInfo& u : updates) {
        EXPECT_FALSE(u.installed);
        EXPECT_FALSE(u.mandatory);
        EXPECT_EQ(u.kb, "");
        EXPECT_EQ(u.date, "");
    }
    // Security upgrades count as important, the others do not.
    EXPECT_EQ(count_important(updates), 2u);
}

TEST(AptSimulation, NothingToUpgrade) {
    EXPECT_TRUE(parse_apt_simulation("").empty());
    EXPECT_TRUE(parse_apt_simulation("0 upgraded, 0 newly installed, 0 to remove.\n").empty());
}

TEST(AptSimulation, SecurityOrigins) {
    EXPECT_TRUE(is_security_origin("Debian-Security:12/stable-security"));
    EXPECT_TRUE(is_security_origin("Ubuntu:22.04/jammy-security"));
    EXPECT_FALSE(is_security_origin("Debian:12.15/oldstable"));
    EXPECT_FALSE(is_security_origin(""));
}

}  // namespace
}  // namespace tq
