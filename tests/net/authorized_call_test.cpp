#include <gtest/gtest.h>

#include "net/api_client.h"
#include "net/authorized_call.h"
#include "net/support/loopback_server.h"
#include "support/test_support.h"
#include "util/fs.h"

namespace tq {
namespace {

using test::LoopbackServer;
using test::ReceivedRequest;
using test::Reply;

// A backend whose /devices answers follow a script and whose refresh answer
// is fixed per test.
class AuthorizedCall : public ::testing::Test {
  protected:
    AuthorizedCall()
        : server_([this](const ReceivedRequest& request) {
              if (request.request_line.find("/auth/refresh") != std::string::npos) {
                  return refresh_answer_;
              }
              const std::size_t turn = device_calls_++;
              return turn < device_answers_.size() ? device_answers_[turn] : Reply::with(500, "{}");
          }),
          store_(path_to_utf8(dir_ / "auth.dat")),
          client_(server_.url()) {}

    HttpResponse list_devices() {
        return authorized_call(&store_, client_,
                               [this] { return ApiClient::list_devices(client_); });
    }

    std::vector<std::string> lines_sent() const {
        std::vector<std::string> lines;
        for (const ReceivedRequest& request : server_.requests()) {
            lines.push_back(request.request_line + " " +
                            request.header("Authorization").value_or("-"));
        }
        return lines;
    }

    test::TempDir dir_;
    std::vector<Reply> device_answers_;
    std::size_t device_calls_ = 0;
    Reply refresh_answer_ = Reply::with(200, R"({"access_token":"a2","expires_at":1924992000})");
    LoopbackServer server_;
    SessionStore store_;
    HttpClient client_;
    const Session session_{"a1", "r1", "u1", "ana@example.com", "2100-01-01T00:00:00"};
};

TEST_F(AuthorizedCall, WithoutSessionNothingIsSent) {
    test::LogCapture log;
    const HttpResponse response = list_devices();
    EXPECT_EQ(make_envelope(response),
              json({{"error", "not signed in"}, {"ok", false}, {"status", 401}}));
    EXPECT_TRUE(server_.requests().empty());
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(authorized_call(nullptr, client_,
                              [] {
                                  return HttpResponse{200, "", ""};
                              })
                  .error,
              "not signed in");
}

TEST_F(AuthorizedCall, RejectedTokenIsRefreshedAndTheCallRepeatedOnce) {
    ASSERT_TRUE(store_.save(session_));
    device_answers_ = {Reply::with(401, R"({"error":"expired"})"),
                       Reply::with(200, R"({"devices":[]})")};
    test::LogCapture log;
    const HttpResponse response = list_devices();
    EXPECT_EQ(make_envelope(response),
              json({{"devices", json::array()}, {"ok", true}, {"status", 200}}));
    EXPECT_EQ(lines_sent(), (std::vector<std::string>{"GET /devices HTTP/1.1 Bearer a1",
                                                      "POST /auth/refresh HTTP/1.1 Bearer a1",
                                                      "GET /devices HTTP/1.1 Bearer a2"}));
    EXPECT_EQ(log.messages(), (std::vector<std::string>{"[INFO ] session refreshed",
                                                        "[INFO ] retrying after 401"}));
    EXPECT_EQ(store_.load(), (Session{"a2", "r1", "u1", "ana@example.com", "2031-01-01T00:00:00"}));
}

TEST_F(AuthorizedCall, SecondRejectionIsReturnedWithoutAThirdTry) {
    ASSERT_TRUE(store_.save(session_));
    device_answers_ = {Reply::with(401, R"({"error":"first"})"),
                       Reply::with(401, R"({"error":"second"})")};
    refresh_answer_ = Reply::with(200, R"({"access_token":"a2"})");
    const HttpResponse response = list_devices();
    EXPECT_EQ(response.status, 401);
    EXPECT_EQ(response.body, R"({"error":"second"})");
    EXPECT_EQ(server_.requests().size(), 3u);
    // The answer named no expiry, so the one cleared after the 401 stays
    // empty.
    EXPECT_EQ(store_.load()->expires_at, "");
}

TEST_F(AuthorizedCall, RejectionWithoutRefreshTokenIsReturnedAsItCame) {
    Session without = session_;
    without.refresh_token.clear();
    ASSERT_TRUE(store_.save(without));
    device_answers_ = {Reply::with(401, R"({"error":"expired"})")};
    test::LogCapture log;
    const HttpResponse response = list_devices();
    EXPECT_EQ(response.status, 401);
    EXPECT_EQ(make_envelope(response)["error"], "expired");
    EXPECT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(store_.load(), without);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(AuthorizedCall, RefusedRefreshSignsOutAndReturnsTheFirstRejection) {
    ASSERT_TRUE(store_.save(session_));
    device_answers_ = {Reply::with(401, R"({"error":"expired"})")};
    refresh_answer_ = Reply::with(401, R"({"error":"revoked"})");
    test::LogCapture log;
    const HttpResponse response = list_devices();
    EXPECT_EQ(response.body, R"({"error":"expired"})");
    EXPECT_FALSE(store_.load());
    EXPECT_EQ(client_.access_token(), "");
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"[WARN ] token refresh failed (status 401); signing out"});
}

TEST_F(AuthorizedCall, UnreadableRefreshAnswerChangesNothing) {
    ASSERT_TRUE(store_.save(session_));
    device_answers_ = {Reply::with(401, "{}")};
    refresh_answer_ = Reply::with(200, "not json", "text/plain");
    const HttpResponse response = list_devices();
    EXPECT_EQ(response.status, 401);
    Session expected = session_;
    expected.expires_at.clear();
    EXPECT_EQ(store_.load(), expected);
    EXPECT_EQ(server_.requests().size(), 2u);
}

TEST_F(AuthorizedCall, OtherStatusesAreReturnedAtOnce) {
    ASSERT_TRUE(store_.save(session_));
    device_answers_ = {Reply::with(500, R"({"error":"boom"})")};
    const HttpResponse response = list_devices();
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(server_.requests().size(), 1u);
}

}  // namespace
}  // namespace tq
