// The complete request bytes of the Linux build, header order included.

#include <gtest/gtest.h>

#include "net/http_client.h"
#include "net/support/loopback_server.h"

namespace tq {
namespace {

using test::LoopbackServer;
using test::ReceivedRequest;
using test::Reply;

TEST(HttpWire, RequestsGoOutByteForByte) {
    LoopbackServer server([](const ReceivedRequest&) { return Reply::with(200, "{}"); });
    HttpClient client(server.url("/api//"));
    client.get("/devices");
    client.set_access_token("abc.def");
    client.post("/auth/login", R"({"email":"a","password":"b"})");
    client.request("POST", "/inventory", "", {{"X-Trace", "7"}});

    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    const std::string fixed =
        "User-Agent: TessarineSoftware/0.1\r\n"
        "Content-Type: application/json\r\nAccept: application/json\r\n";
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].raw, "GET /api/devices HTTP/1.1\r\n" + host + fixed + "\r\n");
    EXPECT_EQ(requests[1].raw, "POST /api/auth/login HTTP/1.1\r\n" + host + fixed +
                                   "Authorization: Bearer abc.def\r\n"
                                   "Content-Length: 28\r\n\r\n"
                                   R"({"email":"a","password":"b"})");
    EXPECT_EQ(requests[2].raw, "POST /api/inventory HTTP/1.1\r\n" + host + fixed +
                                   "Authorization: Bearer abc.def\r\nX-Trace: 7\r\n"
                                   "Content-Length: 0\r\n\r\n");
}

}  // namespace
}  // namespace tq
