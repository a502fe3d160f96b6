#include <gtest/gtest.h>

#include <regex>

#include "inventory/update_search.h"
#include "support/test_support.h"

namespace tq {
namespace {

const std::regex kTimestamp(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2})");

TEST(WindowsUpdates, InstalledOnlySearch) {
    test::LogCapture log;
    const UpdateSummary summary = search_updates(true, false);
    EXPECT_TRUE(std::regex_match(summary.last_search, kTimestamp)) << summary.last_search;
    EXPECT_TRUE(summary.available.empty());
    EXPECT_EQ(summary.important_count, 0u);
    if (test::running_under_wine()) {
        // Wine registers no update session class: the unavailable path.
        EXPECT_TRUE(summary.installed.empty());
        const auto lines = log.messages();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("[WARN ] Windows Update session unavailable: ", 0), 0u)
            << lines[0];
        return;
    }
    for (const UpdateInfo& u : summary.installed) {
        EXPECT_TRUE(u.installed);
        EXPECT_FALSE(u.severity.empty());
        EXPECT_EQ(u.date, "");
    }
}

}  // namespace
}  // namespace tq
