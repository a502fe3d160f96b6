#include <gtest/gtest.h>

#include "state/config_store.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

// /dev/full accepts the open and fails every write, as a full disk would.
TEST(ConfigStore, FailedWriteIsReported) {
    test::TempDir dir;
    const auto file = dir / "config.json";
    test::write_file(file, "old");
    std::filesystem::create_symlink("/dev/full", dir / "config.json.tmp");
    test::LogCapture log;
    EXPECT_FALSE(ConfigStore::save(path_to_utf8(file), AppConfig{"u", "d", "l"}));
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "[ERROR] could not write " + path_to_utf8(file) + ".tmp");
    EXPECT_EQ(test::read_file(file), "old");
}

}  // namespace
}  // namespace tq
