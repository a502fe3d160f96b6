#include <gtest/gtest.h>
#include <sys/stat.h>

#include "state/session_store.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

const Session kSession{"access.tok", "refresh.tok", "u-17", "ana@example.com", ""};

unsigned mode_of(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(SessionStore, FilesAreTheOwnersAlone) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "auth.dat"));
    ASSERT_TRUE(store.save(kSession));
    EXPECT_EQ(mode_of(dir / "auth.dat"), 0600u);
    EXPECT_EQ(mode_of(dir / "auth.key"), 0600u);
    EXPECT_EQ(std::filesystem::file_size(dir / "auth.key"), 32u);
}

TEST(SessionStore, SessionOfAnotherUserOrMachineDoesNotDecrypt) {
    test::TempDir dir;
    const std::string path = path_to_utf8(dir / "auth.dat");
    const SessionBinding mine{path_to_utf8(dir / "auth.key"), "machine-a", 1000};
    SessionStore writer(path, mine);
    ASSERT_TRUE(writer.save(kSession));
    EXPECT_EQ(SessionStore(path, mine).load(), kSession);

    SessionBinding other_user = mine;
    other_user.user_id = 1001;
    SessionBinding other_machine = mine;
    other_machine.machine_id = "machine-b";
    test::LogCapture log;
    EXPECT_FALSE(SessionStore(path, other_user).load());
    EXPECT_FALSE(SessionStore(path, other_machine).load());
    EXPECT_TRUE(log.lines().empty());
}

TEST(SessionStore, LostOrExposedSecretReadsAsSignedOut) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "auth.dat"));
    ASSERT_TRUE(store.save(kSession));
    ::chmod((dir / "auth.key").c_str(), 0644);
    EXPECT_FALSE(store.load());
    std::filesystem::remove(dir / "auth.key");
    EXPECT_FALSE(store.load());
    // The next sign-in starts over with a new secret.
    ASSERT_TRUE(store.save(kSession));
    EXPECT_EQ(store.load(), kSession);
}

TEST(SessionStore, SecretThatCannotBeWrittenFailsTheSaveWithAnError) {
    test::TempDir dir;
    const std::string key = path_to_utf8(dir / "missing" / "auth.key");
    SessionStore store(path_to_utf8(dir / "auth.dat"), SessionBinding{key, "m", 1});
    test::LogCapture log;
    EXPECT_FALSE(store.save(kSession));
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(
        messages[0].rfind(
            "[ERROR] DPAPI protect failed: cannot write the session key file " + key + ": ", 0),
        0u)
        << messages[0];
    EXPECT_FALSE(std::filesystem::exists(dir / "auth.dat"));
}

}  // namespace
}  // namespace tq
