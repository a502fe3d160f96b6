#include <gtest/gtest.h>

#include <regex>

#include "inventory/update_search.h"
#include "support/test_support.h"

namespace tq {
namespace {

const std::regex kTimestamp(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2})");

TEST(LinuxUpdates, InstalledOnlySearchLeavesAvailableEmpty) {
    const UpdateSummary summary = search_updates(true, false);
    EXPECT_TRUE(std::regex_match(summary.last_search, kTimestamp)) << summary.last_search;
    EXPECT_TRUE(summary.available.empty());
    EXPECT_EQ(summary.important_count, 0u);
    for (const UpdateInfo& u : summary.installed) {
        EXPECT_TRUE(u.installed);
        EXPECT_FALSE(u.title.empty());
        EXPECT_EQ(u.date, "");
    }
}

TEST(LinuxUpdates, AvailableSearchCountsItsImportantOnes) {
    const UpdateSummary summary = search_updates(false, true);
    EXPECT_TRUE(summary.installed.empty());
    EXPECT_EQ(summary.important_count, count_important(summary.available));
    for (const UpdateInfo& u : summary.available) {
        EXPECT_FALSE(u.installed);
        EXPECT_TRUE(u.severity == "Important" || u.severity == "Unspecified") << u.severity;
    }
}

TEST(LinuxUpdates, NothingAskedNothingListed) {
    const UpdateSummary summary = search_updates(false, false);
    EXPECT_TRUE(summary.installed.empty());
    EXPECT_TRUE(summary.available.empty());
    EXPECT_FALSE(summary.last_search.empty());
}

}  // namespace
}  // namespace tq
