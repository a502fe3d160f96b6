#include <gtest/gtest.h>

#include "state/session_store.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

const Session kSession{"access.tok", "refresh.tok", "u-17", "jos\xC3\xA9@example.com",
                       "2030-01-01T00:00:00"};

TEST(SessionStore, SavedSessionReadsBackWithTheSameValues) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "auth.dat"));
    EXPECT_FALSE(store.load());
    ASSERT_TRUE(store.save(kSession));
    EXPECT_EQ(store.load(), kSession);
    EXPECT_FALSE(std::filesystem::exists(dir / "auth.dat.tmp"));
    // The file holds no plaintext.
    EXPECT_EQ(test::read_file(dir / "auth.dat").find("refresh.tok"), std::string::npos);
}

TEST(SessionStore, SaveCreatesMissingFolders) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "a" / "b" / "auth.dat"));
    ASSERT_TRUE(store.save(kSession));
    EXPECT_EQ(store.load(), kSession);
}

TEST(SessionStore, ClearDeletesTheFile) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "auth.dat"));
    ASSERT_TRUE(store.save(kSession));
    EXPECT_TRUE(store.clear());
    EXPECT_FALSE(store.load());
    EXPECT_FALSE(store.clear());
}

TEST(SessionStore, UnreadableFilesReadAsSignedOutSilently) {
    test::TempDir dir;
    const auto file = dir / "auth.dat";
    SessionStore store(path_to_utf8(file));
    ASSERT_TRUE(store.save(kSession));
    std::string bytes = test::read_file(file);
    test::LogCapture log;
    for (std::size_t at : {std::size_t{0}, bytes.size() / 2, bytes.size() - 1}) {
        std::string flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x01);
        test::write_file(file, flipped);
        EXPECT_FALSE(store.load()) << "byte " << at;
    }
    test::write_file(file, "");
    EXPECT_FALSE(store.load());
    test::write_file(file, bytes.substr(0, 10));
    EXPECT_FALSE(store.load());
    EXPECT_TRUE(log.lines().empty());
}

TEST(SessionStore, UnwritableFileFailsTheSaveQuietlyAndKeepsTheOldSession) {
    test::TempDir dir;
    SessionStore store(path_to_utf8(dir / "auth.dat"));
    ASSERT_TRUE(store.save(kSession));
    std::filesystem::create_directory(dir / "auth.dat.tmp");
    test::LogCapture log;
    Session other = kSession;
    other.access_token = "other";
    EXPECT_FALSE(store.save(other));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(store.load(), kSession);
}

TEST(Session, PlaintextIsCompactAndSorted) {
    EXPECT_EQ(session_to_plaintext(kSession),
              "{\"access_token\":\"access.tok\",\"email\":\"jos\xC3\xA9@example.com\","
              "\"expires_at\":\"2030-01-01T00:00:00\",\"refresh_token\":\"refresh.tok\","
              "\"user_id\":\"u-17\"}");
    EXPECT_EQ(session_from_plaintext(session_to_plaintext(kSession)), kSession);
}

TEST(Session, PlaintextReaderToleratesOddDocuments) {
    EXPECT_FALSE(session_from_plaintext(""));
    EXPECT_FALSE(session_from_plaintext("not json"));
    EXPECT_FALSE(session_from_plaintext("[\"access_token\"]"));
    EXPECT_FALSE(session_from_plaintext("\"access_token\""));
    const auto odd = session_from_plaintext(
        R"({"access_token":"a","refresh_token":5,"user_id":null,"email":["x"],"other":"y"})");
    ASSERT_TRUE(odd);
    EXPECT_EQ(*odd, (Session{"a", "", "", "", ""}));
}

}  // namespace
}  // namespace tq
