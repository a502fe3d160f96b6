#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "net/http_client.h"
#include "net/support/loopback_server.h"
#include "support/test_support.h"

namespace tq {
namespace {

using test::LoopbackServer;
using test::ReceivedRequest;
using test::Reply;

HttpClientOptions quick_options() {
    HttpClientOptions options;
    options.timeouts = {3000, 3000, 3000, 400};
    return options;
}

std::string header_text(const ReceivedRequest& request) {
    std::string text;
    for (const std::string& line : request.header_lines) {
        text += line + "\r\n";
    }
    return text;
}

LoopbackServer::Handler answer_ok() {
    return [](const ReceivedRequest&) { return Reply::with(200, R"({"ok":true})"); };
}

TEST(HttpClient, GetCarriesTheFixedHeadersAndNoBody) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url("/api/"), quick_options());
    const HttpResponse response = client.get("/devices");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, R"({"ok":true})");
    EXPECT_EQ(response.error, "");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const ReceivedRequest& request = requests[0];
    EXPECT_EQ(request.request_line, "GET /api/devices HTTP/1.1");
    EXPECT_NE(
        header_text(request).find("Content-Type: application/json\r\nAccept: application/json\r\n"),
        std::string::npos)
        << header_text(request);
    EXPECT_FALSE(request.header("Authorization"));
    EXPECT_EQ(request.header("User-Agent"), "TessarineSoftware/0.1");
    EXPECT_EQ(request.header("Host"), "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(request.header("Content-Length").value_or("0"), "0");
}

TEST(HttpClient, BearerHeaderFollowsTheHeldToken) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url(), quick_options());
    client.get("/health");
    client.set_access_token("tok-1.abc");
    client.get("/health");
    client.clear_access_token();
    client.get("/health");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::string fixed = "Content-Type: application/json\r\nAccept: application/json\r\n";
    EXPECT_FALSE(requests[0].header("Authorization"));
    EXPECT_NE(header_text(requests[1]).find(fixed + "Authorization: Bearer tok-1.abc\r\n"),
              std::string::npos)
        << header_text(requests[1]);
    EXPECT_FALSE(requests[2].header("Authorization"));
    EXPECT_EQ(requests[0].request_line, "GET /health HTTP/1.1");
}

TEST(HttpClient, TokenWithLineBreaksCannotAddHeaderLines) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url(), quick_options());
    client.set_access_token("tok\r\nX-Injected: 1\n");
    client.get("/health");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FALSE(requests[0].header("X-Injected")) << header_text(requests[0]);
    EXPECT_EQ(requests[0].header("Authorization"), "Bearer tokX-Injected: 1");
}

TEST(HttpClient, PostSendsTheBodyUnchanged) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url("/v1"), quick_options());
    const std::string body = "{\"label\":\"Escrit\xC3\xB3rio\"}";
    EXPECT_EQ(client.post("/devices", body).status, 200);
    EXPECT_EQ(client.post("/auth/logout", "").status, 200);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].request_line, "POST /v1/devices HTTP/1.1");
    EXPECT_EQ(requests[0].body, body);
    EXPECT_EQ(requests[0].header("Content-Length"), std::to_string(body.size()));
    EXPECT_FALSE(requests[0].header("Expect"));
    // An empty POST sends no body at all.
    EXPECT_EQ(requests[1].body, "");
    EXPECT_EQ(requests[1].header("Content-Length"), "0");
}

TEST(HttpClient, AnswersComeBackWithStatusAndBodyWhateverTheStatus) {
    const std::string page(2000, 'x');
    LoopbackServer server([&](const ReceivedRequest& request) {
        if (request.request_line.find("/unauthorized") != std::string::npos) {
            return Reply::with(401, R"({"error":"invalid token"})");
        }
        if (request.request_line.find("/broken") != std::string::npos) {
            return Reply::with(500, R"({"error":"boom"})");
        }
        if (request.request_line.find("/gateway") != std::string::npos) {
            return Reply::with(502, page, "text/html");
        }
        return Reply::with(204, "", "");
    });
    HttpClient client(server.url(), quick_options());
    struct Expected {
        std::string path;
        std::int32_t status;
        std::string body;
    };
    for (const Expected& e : {Expected{"/unauthorized", 401, R"({"error":"invalid token"})"},
                              Expected{"/broken", 500, R"({"error":"boom"})"},
                              Expected{"/gateway", 502, page}, Expected{"/empty", 204, ""}}) {
        const HttpResponse response = client.get(e.path);
        EXPECT_EQ(response.status, e.status) << e.path;
        EXPECT_EQ(response.body, e.body) << e.path;
        EXPECT_EQ(response.error, "") << e.path;
    }
}

TEST(HttpClient, ChunkedBodyIsJoined) {
    LoopbackServer server([](const ReceivedRequest&) {
        Reply reply;
        reply.bytes =
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
            "5\r\n{\"a\":\r\n3\r\n12}\r\n0\r\n\r\n";
        return reply;
    });
    HttpClient client(server.url(), quick_options());
    const HttpResponse response = client.get("/chunks");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, R"({"a":12})");
}

TEST(HttpClient, ConnectionsAreReusedAcrossRequests) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url(), quick_options());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(client.get("/health").status, 200);
    }
    EXPECT_EQ(server.connections(), 1u);

    LoopbackServer fresh(answer_ok());
    HttpClientOptions options = quick_options();
    options.reuse_connections = false;
    HttpClient one_shot(fresh.url(), options);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(one_shot.get("/health").status, 200);
    }
    EXPECT_EQ(fresh.connections(), 3u);
}

TEST(HttpClient, UnresolvableHostIsASendFailure) {
    HttpClient client("http://no-such-host.invalid/api", quick_options());
    const HttpResponse response = client.get("/health");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.body, "");
    EXPECT_EQ(response.error.rfind("WinHttpSendRequest failed: ", 0), 0u) << response.error;
    EXPECT_GT(response.error.size(), std::string("WinHttpSendRequest failed: ").size());
}

TEST(HttpClient, RefusedConnectionIsASendFailure) {
    std::uint16_t port = 0;
    const test::SocketHandle closed = test::bind_loopback(port);
    ASSERT_NE(closed, test::kNoSocket);
    HttpClient client("http://127.0.0.1:" + std::to_string(port), quick_options());
    const HttpResponse response = client.post("/auth/login", "{}");
    test::close_socket(closed);
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error.rfind("WinHttpSendRequest failed: ", 0), 0u) << response.error;
}

TEST(HttpClient, SilentServerIsAReceiveFailure) {
    if (test::running_under_wine()) {
        GTEST_SKIP() << "Wine's WinHTTP keeps waiting for the answer's headers past the "
                        "receive time-out set with WinHttpSetTimeouts";
    }
    LoopbackServer server([](const ReceivedRequest&) { return Reply::hang(); });
    HttpClient client(server.url(), quick_options());
    const HttpResponse response = client.get("/health");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error.rfind("WinHttpReceiveResponse failed: ", 0), 0u) << response.error;
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(HttpClient, ConnectionClosedWithoutAnswerIsAReceiveFailure) {
    LoopbackServer server([](const ReceivedRequest&) { return Reply::close_silently(); });
    HttpClient client(server.url(), quick_options());
    const HttpResponse response = client.get("/health");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error.rfind("WinHttpReceiveResponse failed: ", 0), 0u) << response.error;
}

TEST(HttpClient, GarbledAnswerIsAReceiveFailure) {
    LoopbackServer server([](const ReceivedRequest&) {
        Reply reply;
        reply.bytes = "SPDY/9 banana\r\n\r\n";
        reply.then = Reply::Then::close;
        return reply;
    });
    HttpClient client(server.url(), quick_options());
    const HttpResponse response = client.get("/health");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error.rfind("WinHttpReceiveResponse failed: ", 0), 0u) << response.error;
}

TEST(HttpClient, BodyCutShortKeepsStatusAndWhatArrived) {
    LoopbackServer server([](const ReceivedRequest&) {
        Reply reply;
        reply.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"partial\":";
        reply.then = Reply::Then::close;
        return reply;
    });
    HttpClient client(server.url(), quick_options());
    const HttpResponse response = client.get("/inventory");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "{\"partial\":");
    EXPECT_EQ(response.error, "");
}

// Sign-in and refresh replace the token while other threads send: every
// request carries one whole token, never a mix.
TEST(HttpClient, EveryRequestSendsOneConsistentToken) {
    LoopbackServer server(answer_ok());
    HttpClient client(server.url(), quick_options());
    const std::string first(600, 'a');
    const std::string second(400, 'b');
    client.set_access_token(first);
    std::thread sender([&] {
        for (int i = 0; i < 20; ++i) {
            client.get("/devices");
        }
    });
    for (int i = 0; i < 200; ++i) {
        client.set_access_token(i % 2 == 0 ? second : first);
    }
    sender.join();
    const std::set<std::string> allowed = {"Bearer " + first, "Bearer " + second};
    for (const ReceivedRequest& request : server.requests()) {
        EXPECT_EQ(allowed.count(request.header("Authorization").value_or("")), 1u);
    }
}

}  // namespace
}  // namespace tq
