#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "net/support/loopback_server.h"
#include "state/token_lifetime.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

using test::LoopbackServer;
using test::ReceivedRequest;
using test::Reply;

constexpr std::int64_t kNow = 1893456000;  // 2030-01-01T00:00:00 UTC

HttpClientOptions quick_options() {
    HttpClientOptions options;
    options.timeouts = {3000, 3000, 3000, 3000};
    return options;
}

SecondsClock fixed_clock() {
    return [] { return kNow; };
}

struct ExpiryCase {
    const char* name;
    std::string expires_at;
    bool expired;
};

std::ostream& operator<<(std::ostream& out, const ExpiryCase& c) {
    return out << c.name;
}

class Expiry : public ::testing::TestWithParam<ExpiryCase> {};

TEST_P(Expiry, DecidesWhetherToRefresh) {
    EXPECT_EQ(token_expired(GetParam().expires_at, kNow), GetParam().expired);
}

INSTANTIATE_TEST_SUITE_P(
    TokenLifetime, Expiry,
    ::testing::Values(ExpiryCase{"sixty_seconds_ahead", "2030-01-01T00:01:00", true},
                      ExpiryCase{"sixty_one_seconds_ahead", "2030-01-01T00:01:01", false},
                      ExpiryCase{"far_ahead", "2031-06-01T12:00:00", false},
                      ExpiryCase{"past", "2029-12-31T23:59:59", true},
                      ExpiryCase{"trailing_z", "2030-01-01T00:00:30Z", true},
                      ExpiryCase{"fraction_and_offset", "2030-01-01T00:01:00.999+03:00", true},
                      ExpiryCase{"single_digit_fields", "2030-1-1T0:1:1", false},
                      ExpiryCase{"empty_is_unknown", "", false},
                      ExpiryCase{"space_instead_of_t", "2029-01-01 00:00:00", false},
                      ExpiryCase{"numeric", "1893456000", false},
                      ExpiryCase{"five_digit_year", "12029-01-01T00:00:00", false},
                      ExpiryCase{"month_13", "2029-13-01T00:00:00", false},
                      ExpiryCase{"epoch_counts_as_valid", "1970-01-01T00:00:00", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TokenLifetime, NumericExpiryBecomesUtcText) {
    EXPECT_EQ(format_expiry(std::int64_t{1893456000}), "2030-01-01T00:00:00");
    EXPECT_EQ(format_expiry(1893456000.75), "2030-01-01T00:00:00");
    EXPECT_EQ(format_expiry(std::int64_t{0}), "1970-01-01T00:00:00");
    EXPECT_FALSE(format_expiry(std::int64_t{-1}));
    EXPECT_FALSE(format_expiry(std::int64_t{1893456000000}));
    EXPECT_FALSE(format_expiry(1e300));
    EXPECT_EQ(parse_expiry("2030-01-01T00:00:00"), kNow);
}

// A store with one session and a backend whose refresh answer is scripted.
class Refresh : public ::testing::Test {
  protected:
    Refresh()
        : server_([this](const ReceivedRequest& request) {
              ++refreshes_;
              std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_));
              (void)request;
              return answer_;
          }),
          store_(path_to_utf8(dir_ / "auth.dat")),
          client_(server_.url("/api"), quick_options()) {}

    void store_session(std::string expires_at, std::string refresh_token = "r1") {
        ASSERT_TRUE(store_.save(Session{"a1", std::move(refresh_token), "u1", "ana@example.com",
                                        std::move(expires_at)}));
    }

    std::string ensure(bool force = false) {
        return ensure_fresh_token(&store_, client_, force, fixed_clock());
    }

    test::TempDir dir_;
    Reply answer_ = Reply::with(200, R"({"access_token":"a2"})");
    int delay_ms_ = 0;
    std::atomic<int> refreshes_{0};
    LoopbackServer server_;
    SessionStore store_;
    HttpClient client_;
};

TEST_F(Refresh, ValidTokenIsUsedWithoutTraffic) {
    store_session("2031-01-01T00:00:00");
    EXPECT_EQ(ensure(), "a1");
    EXPECT_EQ(client_.access_token(), "a1");
    EXPECT_EQ(refreshes_, 0);
    EXPECT_EQ(ensure_fresh_token(nullptr, client_, false), "");
}

TEST_F(Refresh, NoSessionGivesNoToken) {
    test::LogCapture log;
    EXPECT_EQ(ensure(), "");
    EXPECT_EQ(ensure(true), "");
    EXPECT_EQ(refreshes_, 0);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Refresh, ExpiringTokenIsExchanged) {
    store_session("2030-01-01T00:01:00");
    test::LogCapture log;
    answer_ = Reply::with(
        200, R"({"access_token":"a2","refresh_token":"r2","expires_at":"2030-01-01T02:00:00"})");
    EXPECT_EQ(ensure(), "a2");
    EXPECT_EQ(client_.access_token(), "a2");
    EXPECT_EQ(store_.load(), (Session{"a2", "r2", "u1", "ana@example.com", "2030-01-01T02:00:00"}));
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].request_line, "POST /api/auth/refresh HTTP/1.1");
    EXPECT_EQ(requests[0].body, R"({"refresh_token":"r1"})");
    EXPECT_EQ(log.messages(), std::vector<std::string>{"[INFO ] session refreshed"});
}

struct AnswerCase {
    const char* name;
    std::string body;
    std::string token;
    Session stored;
};

std::ostream& operator<<(std::ostream& out, const AnswerCase& c) {
    return out << c.name;
}

class RefreshAnswer : public Refresh, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(RefreshAnswer, UpdatesTheSessionMemberByMember) {
    const AnswerCase& c = GetParam();
    store_session("2029-01-01T00:00:00");
    answer_ = Reply::with(200, c.body);
    EXPECT_EQ(ensure(), c.token);
    EXPECT_EQ(store_.load(), c.stored);
}

const Session kKept{"a1", "r1", "u1", "ana@example.com", "2029-01-01T00:00:00"};
Session with_expiry(std::string expires_at) {
    return {"a2", "r1", "u1", "ana@example.com", std::move(expires_at)};
}

INSTANTIATE_TEST_SUITE_P(
    TokenLifetime, RefreshAnswer,
    ::testing::Values(
        AnswerCase{"only_access_token", R"({"access_token":"a2"})", "a2",
                   with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"empty_refresh_token_kept", R"({"access_token":"a2","refresh_token":""})", "a2",
                   with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"numeric_expiry", R"({"access_token":"a2","expires_at":1893456000})", "a2",
                   with_expiry("2030-01-01T00:00:00")},
        AnswerCase{"fractional_expiry", R"({"access_token":"a2","expires_at":1893456000.5})", "a2",
                   with_expiry("2030-01-01T00:00:00")},
        AnswerCase{"null_expiry", R"({"access_token":"a2","expires_at":null})", "a2",
                   with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"boolean_expiry", R"({"access_token":"a2","expires_at":true})", "a2",
                   with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"negative_expiry", R"({"access_token":"a2","expires_at":-5})", "a2",
                   with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"milliseconds_expiry", R"({"access_token":"a2","expires_at":1893456000000})",
                   "a2", with_expiry("2029-01-01T00:00:00")},
        AnswerCase{"string_expiry_as_is", R"({"access_token":"a2","expires_at":"soon"})", "a2",
                   with_expiry("soon")},
        AnswerCase{"no_access_token", R"({"refresh_token":"r2"})", "", kKept},
        AnswerCase{"access_token_not_a_string", R"({"access_token":7})", "", kKept},
        AnswerCase{"not_json", "<html>ok</html>", "", kKept},
        AnswerCase{"json_array", "[]", "", kKept}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Refresh, ExpiredWithoutRefreshTokenSignsOut) {
    store_session("2029-01-01T00:00:00", "");
    client_.set_access_token("a1");
    test::LogCapture log;
    EXPECT_EQ(ensure(), "");
    EXPECT_FALSE(store_.load());
    EXPECT_EQ(client_.access_token(), "");
    EXPECT_EQ(refreshes_, 0);
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{
                  "[WARN ] session expired and no refresh token is stored; signing out"});
}

TEST_F(Refresh, RefusedRefreshSignsOut) {
    store_session("2029-01-01T00:00:00");
    client_.set_access_token("a1");
    answer_ = Reply::with(401, R"({"error":"refresh token revoked"})");
    test::LogCapture log;
    EXPECT_EQ(ensure(), "");
    EXPECT_FALSE(store_.load());
    EXPECT_EQ(client_.access_token(), "");
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"[WARN ] token refresh failed (status 401); signing out"});
}

TEST_F(Refresh, UnreachableBackendSignsOutWithStatusZero) {
    store_session("2029-01-01T00:00:00");
    std::uint16_t port = 0;
    const test::SocketHandle closed = test::bind_loopback(port);
    HttpClient unreachable("http://127.0.0.1:" + std::to_string(port), quick_options());
    test::LogCapture log;
    EXPECT_EQ(ensure_fresh_token(&store_, unreachable, false, fixed_clock()), "");
    test::close_socket(closed);
    EXPECT_FALSE(store_.load());
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"[WARN ] token refresh failed (status 0); signing out"});
}

TEST_F(Refresh, ForceRefreshesAValidToken) {
    store_session("2031-01-01T00:00:00");
    EXPECT_EQ(ensure(true), "a2");
    EXPECT_EQ(refreshes_, 1);
}

// The second thread waits for the first one's refresh and takes its token,
// even though the answer left the old expiry in place.
TEST_F(Refresh, TwoThreadsSendOneRefresh) {
    store_session("2029-01-01T00:00:00");
    delay_ms_ = 200;
    std::string first;
    std::string second;
    std::thread a([&] { first = ensure(); });
    std::thread b([&] { second = ensure(); });
    a.join();
    b.join();
    EXPECT_EQ(first, "a2");
    EXPECT_EQ(second, "a2");
    EXPECT_EQ(refreshes_, 1);
}

TEST_F(Refresh, RestoreCopiesAStoredTokenIntoTheClient) {
    test::LogCapture log;
    restore_session(&store_, client_);
    EXPECT_EQ(client_.access_token(), "");
    EXPECT_TRUE(log.lines().empty());
    store_session("2000-01-01T00:00:00");
    restore_session(&store_, client_);
    EXPECT_EQ(client_.access_token(), "a1");
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"[INFO ] Restored session for ana@example.com"});
    EXPECT_EQ(refreshes_, 0);
}

}  // namespace
}  // namespace tq
