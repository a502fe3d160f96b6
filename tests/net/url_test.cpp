#include <gtest/gtest.h>

#include "net/http_client.h"
#include "net/http_transport.h"
#include "support/test_support.h"
#include "util/text.h"

namespace tq {
namespace {

struct UrlCase {
    const char* name;
    std::string url;
    std::string host;
    std::string base_path;
    std::uint16_t port;
    bool secure;
};

std::ostream& operator<<(std::ostream& out, const UrlCase& c) {
    return out << c.name;
}

const std::string kLongHost(255, 'h');

class AcceptedBaseUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(AcceptedBaseUrl, SplitsIntoHostPathPortAndScheme) {
    const UrlCase& c = GetParam();
    test::LogCapture log;
    HttpClient client(c.url);
    EXPECT_EQ(client.base_url(), c.url);
    EXPECT_EQ(to_utf8(client.host()), c.host);
    EXPECT_EQ(to_utf8(client.base_path()), c.base_path);
    EXPECT_EQ(client.port(), c.port);
    EXPECT_EQ(client.secure(), c.secure);
    EXPECT_TRUE(log.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    HttpClient, AcceptedBaseUrl,
    ::testing::Values(
        UrlCase{"https_no_path", "https://api.example.com", "api.example.com", "", 443, true},
        UrlCase{"https_lone_slash", "https://api.example.com/", "api.example.com", "", 443, true},
        UrlCase{"folder_with_slash", "https://api.example.com/api/", "api.example.com", "/api", 443,
                true},
        UrlCase{"two_trailing_slashes", "https://h.example/api//", "h.example", "/api", 443, true},
        UrlCase{"http_port_8080", "http://h.example:8080/v1", "h.example", "/v1", 8080, false},
        UrlCase{"https_port_8443", "https://h.example:8443", "h.example", "", 8443, true},
        UrlCase{"scheme_in_capitals", "HTTPS://H.example/x", "H.example", "/x", 443, true},
        UrlCase{"user_part_skipped", "http://user:pw@h.example/p", "h.example", "/p", 80, false},
        UrlCase{"query_stays_in_path", "https://h.example/a?b=1", "h.example", "/a?b=1", 443, true},
        UrlCase{"port_zero_is_default", "http://h.example:0/", "h.example", "", 80, false},
        UrlCase{"empty_port_is_default", "https://h.example:/v2", "h.example", "/v2", 443, true},
        UrlCase{"host_of_255", "https://" + kLongHost + "/", kLongHost, "", 443, true},
        UrlCase{"path_of_1023", "https://h.example/" + std::string(1022, 'p'), "h.example",
                "/" + std::string(1022, 'p'), 443, true}),
    [](const auto& info) { return std::string(info.param.name); });

class RejectedBaseUrl : public ::testing::TestWithParam<std::string> {};

TEST_P(RejectedBaseUrl, LogsOnceAndEveryRequestFails) {
    const std::string& url = GetParam();
    test::LogCapture log;
    HttpClient client(url);
    EXPECT_TRUE(client.host().empty());
    const HttpResponse response = client.get("/health");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error, "HTTP client not initialized (no base URL)");
    const auto messages = log.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "[ERROR] Invalid base URL: " + url);
}

INSTANTIATE_TEST_SUITE_P(HttpClient, RejectedBaseUrl,
                         ::testing::Values("ftp://h.example/", "https://", "api.example.com",
                                           "https:/h.example", "https:///api", "",
                                           "https://" + std::string(256, 'h') + "/",
                                           "https://h.example:70000/",
                                           "https://h.example/" + std::string(1023, 'p')));

TEST(HttpClient, RejectedUrlKeepsThePreviousValues) {
    test::LogCapture log;
    HttpClient client("http://h.example:8080/v1/");
    EXPECT_FALSE(client.set_base_url("gopher://other/"));
    EXPECT_EQ(to_utf8(client.host()), "h.example");
    EXPECT_EQ(to_utf8(client.base_path()), "/v1");
    EXPECT_EQ(client.port(), 8080);
    EXPECT_EQ(client.base_url(), "http://h.example:8080/v1/");
}

// Our own splitter must give what the system's does wherever both exist.
TEST(HttpClient, OwnSplitterMatchesThePlatformSplitter) {
    const std::vector<std::string> urls = {"https://api.example.com",
                                           "https://api.example.com/api/",
                                           "http://h:8080/v1",
                                           "HTTP://H/x",
                                           "http://u:p@h/p",
                                           "https://h/a?b=1",
                                           "http://h:0/",
                                           "https:///api",
                                           "ftp://h/",
                                           "https://",
                                           "h.example",
                                           "https://h:70000/",
                                           "https://" + kLongHost,
                                           "https://" + kLongHost + "h",
                                           "http://h:81x/"};
    for (const std::string& url : urls) {
        const auto ours = crack_url(to_wide(url));
        const auto platform = crack_base_url(to_wide(url));
        ASSERT_EQ(ours.has_value(), platform.has_value()) << url;
        if (ours) {
            EXPECT_EQ(ours->host, platform->host) << url;
            EXPECT_EQ(ours->path, platform->path) << url;
            EXPECT_EQ(ours->port, platform->port) << url;
            EXPECT_EQ(ours->secure, platform->secure) << url;
        }
    }
}

}  // namespace
}  // namespace tq
