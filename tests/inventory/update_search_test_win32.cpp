#include <gtest/gtest.h>

#include <regex>

#include "inventory/update_search.h"
#include "support/test_support.h"

namespace tq {
namespace {

const std::regex kTimestamp(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2})");

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Wine's update agent is a stub: depending on its version the session class
// is missing or the session exists and every search answers "not
// implemented". Either way the summary comes back with its time stamp and
// one WARN line per failed step.
TEST(WindowsUpdates, InstalledOnlySearch) {
    test::LogCapture log;
    const UpdateSummary summary = search_updates(true, false);
    EXPECT_TRUE(std::regex_match(summary.last_search, kTimestamp)) << summary.last_search;
    EXPECT_TRUE(summary.available.empty());
    EXPECT_EQ(summary.important_count, 0u);
    if (test::running_under_wine()) {
        EXPECT_TRUE(summary.installed.empty());
        const auto lines = log.messages();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(starts_with(lines[0], "[WARN ] Windows Update session unavailable: ") ||
                    starts_with(lines[0], "[WARN ] WUA search failed (offline): "))
            << lines[0];
        return;
    }
    for (const UpdateInfo& u : summary.installed) {
        EXPECT_TRUE(u.installed);
        EXPECT_FALSE(u.severity.empty());
        EXPECT_EQ(u.date, "");
    }
}

TEST(WindowsUpdates, FailedSearchesNameTheirMode) {
    if (!test::running_under_wine()) {
        GTEST_SKIP() << "only Wine's stub agent fails both searches on purpose";
    }
    test::LogCapture log;
    const UpdateSummary summary = search_updates(true, true);
    EXPECT_FALSE(summary.last_search.empty());
    EXPECT_TRUE(summary.installed.empty());
    EXPECT_TRUE(summary.available.empty());
    EXPECT_EQ(summary.important_count, 0u);
    const auto lines = log.messages();
    ASSERT_FALSE(lines.empty());
    if (starts_with(lines[0], "[WARN ] Windows Update session unavailable: ")) {
        EXPECT_EQ(lines.size(), 1u);
        return;
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(starts_with(lines[0], "[WARN ] WUA search failed (offline): ")) << lines[0];
    EXPECT_TRUE(starts_with(lines[1], "[WARN ] WUA search failed (online): ")) << lines[1];
}

}  // namespace
}  // namespace tq
