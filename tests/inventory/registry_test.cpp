#include <gtest/gtest.h>

#include "inventory/registry.h"

namespace tq {
namespace {

TEST(Registry, StringLengthDropsEveryTrailingNul) {
    const WChar units[] = {'a', 'b', 0, 0, 0, 0};
    const struct {
        std::size_t bytes;
        std::size_t length;
    } cases[] = {{12, 2}, {6, 2}, {4, 2}, {3, 1}, {2, 1}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(reg_string_length(units, c.bytes), c.length) << c.bytes;
    const WChar nuls[] = {0, 0};
    EXPECT_EQ(reg_string_length(nuls, 4), 0u);
    // A NUL inside the text is kept; only the tail is trimmed.
    const WChar inner[] = {'a', 0, 'b', 0};
    EXPECT_EQ(reg_string_length(inner, 8), 3u);
}

}  // namespace
}  // namespace tq
