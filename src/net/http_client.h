#pragma once

// The one way the application talks to its backend: synchronous JSON over
// HTTP(S), bound to a base URL, carrying the signed-in user's bearer token.
// Never throws for network trouble: failures come back as an HttpResponse
// with status 0 and an error text.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "util/wide.h"

namespace tq {

struct HttpResponse {
    // 0 when no answer was received.
    std::int32_t status = 0;
    // The body exactly as received.
    std::string body;
    // Empty whenever an answer came, whatever its status.
    std::string error;
};

struct HttpTimeouts {
    int resolve_ms = 10000;
    int connect_ms = 10000;
    int send_ms = 20000;
    // For each wait on the answer.
    int receive_ms = 30000;
};

// The product uses the defaults throughout. Tests shorten the time-outs and
// trust their own certificate; the benchmark measures without reuse.
struct HttpClientOptions {
    HttpTimeouts timeouts;
    bool reuse_connections = true;
    // A PEM file trusted instead of the system's store (Linux only; tests).
    std::string test_ca_file;
};

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

class HttpTransport;

class HttpClient {
  public:
    explicit HttpClient(const std::string& base_url, HttpClientOptions options = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // False (with an ERROR line) when the URL is rejected; the previous
    // values stay.
    bool set_base_url(const std::string& url);

    void set_access_token(const std::string& token);
    void clear_access_token();
    std::string access_token() const;

    HttpResponse get(const std::string& path);
    HttpResponse post(const std::string& path, const std::string& body);
    HttpResponse request(const std::string& verb, const std::string& path, const std::string& body,
                         const HttpHeaders& extra_headers);

    const std::string& base_url() const { return base_url_; }
    const WString& host() const { return host_; }
    const WString& base_path() const { return base_path_; }
    std::uint16_t port() const { return port_; }
    bool secure() const { return secure_; }

  private:
    std::unique_ptr<HttpTransport> transport_;
    std::string base_url_;
    WString host_;
    WString base_path_;
    std::uint16_t port_ = 443;
    bool secure_ = true;
    // Replaced by sign-in, sign-out and refresh on any thread; every request
    // sends one consistent copy.
    mutable std::mutex token_mutex_;
    std::string access_token_;
};

// The header block every request carries, each line ending in CR LF.
std::string request_header_block(const std::string& access_token, const HttpHeaders& extra);

}  // namespace tq
