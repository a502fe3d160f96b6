#include <gtest/gtest.h>

#include <functional>

#include "net/api_client.h"
#include "net/support/loopback_server.h"

namespace tq {
namespace {

using test::LoopbackServer;
using test::ReceivedRequest;
using test::Reply;

struct EndpointCase {
    const char* name;
    std::function<HttpResponse(HttpClient&)> call;
    std::string request_line;
    std::string body;
};

std::ostream& operator<<(std::ostream& out, const EndpointCase& c) {
    return out << c.name;
}

class Endpoint : public ::testing::TestWithParam<EndpointCase> {};

TEST_P(Endpoint, SendsItsVerbPathAndCompactSortedBody) {
    const EndpointCase& c = GetParam();
    LoopbackServer server([](const ReceivedRequest&) { return Reply::with(200, "{}"); });
    HttpClient client(server.url("/api/"));
    EXPECT_EQ(c.call(client).status, 200);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].request_line, c.request_line);
    EXPECT_EQ(requests[0].body, c.body);
}

const json kComponents = {{"smbios_uuid", "ab12"}, {"board_serial", ""}};

INSTANTIATE_TEST_SUITE_P(
    Api, Endpoint,
    ::testing::Values(
        EndpointCase{"register_account",
                     [](HttpClient& c) {
                         return ApiClient::register_account(c, "ana@example.com", "s3cr\"t");
                     },
                     "POST /api/auth/register HTTP/1.1",
                     R"({"email":"ana@example.com","password":"s3cr\"t"})"},
        EndpointCase{
            "login",
            [](HttpClient& c) { return ApiClient::login(c, "jo\xC3\xA3o@example.com", "pw"); },
            "POST /api/auth/login HTTP/1.1",
            "{\"email\":\"jo\xC3\xA3o@example.com\",\"password\":\"pw\"}"},
        EndpointCase{"refresh", [](HttpClient& c) { return ApiClient::refresh(c, "r-1"); },
                     "POST /api/auth/refresh HTTP/1.1", R"({"refresh_token":"r-1"})"},
        EndpointCase{"register_device",
                     [](HttpClient& c) {
                         return ApiClient::register_device(c, kComponents, "0.2.0",
                                                           "Escrit\xC3\xB3rio");
                     },
                     "POST /api/devices HTTP/1.1",
                     "{\"app_version\":\"0.2.0\",\"components\":{\"board_serial\":\"\","
                     "\"smbios_uuid\":\"ab12\"},\"label\":\"Escrit\xC3\xB3rio\"}"},
        EndpointCase{"list_devices", [](HttpClient& c) { return ApiClient::list_devices(c); },
                     "GET /api/devices HTTP/1.1", ""},
        EndpointCase{
            "upload_inventory",
            [](HttpClient& c) {
                return ApiClient::upload_inventory(c, "dev-9", {{"system", {{"os", "x"}}}});
            },
            "POST /api/inventory HTTP/1.1",
            R"({"device_id":"dev-9","snapshot":{"system":{"os":"x"}}})"},
        EndpointCase{"health", [](HttpClient& c) { return ApiClient::health(c); },
                     "GET /api/health HTTP/1.1", ""},
        EndpointCase{"get_config", [](HttpClient& c) { return ApiClient::get_config(c); },
                     "GET /api/config HTTP/1.1", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Api, BodyWithBytesThatAreNotUtf8StillGoesOut) {
    LoopbackServer server([](const ReceivedRequest&) { return Reply::with(200, "{}"); });
    HttpClient client(server.url());
    EXPECT_EQ(ApiClient::upload_inventory(client, "d", {{"model", "Disk\xFF"}}).status, 200);
    EXPECT_EQ(server.requests().at(0).body,
              "{\"device_id\":\"d\",\"snapshot\":{\"model\":\"Disk\xEF\xBF\xBD\"}}");
}

}  // namespace
}  // namespace tq
