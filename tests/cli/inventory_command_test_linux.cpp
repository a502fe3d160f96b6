#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli/run_program.h"
#include "support/test_support.h"

namespace tq {
namespace {

// Restores one environment variable when the test ends.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The command is for scripts and support: it must leave the app's data
// folder, and its log in particular, untouched.
TEST(InventoryCommand, WritesNothingToTheDataFolder) {
    test::TempDir home;
    const ScopedEnv data_home("XDG_DATA_HOME", home.path().string());
    const auto result = test::run_program(TQ_INVENTORY_EXE, {"--updates"});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
}

}  // namespace
}  // namespace tq
