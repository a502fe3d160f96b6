#pragma once

// The platform half of HttpClient: one session per client, one exchange per
// call. The client decides everything that is not a system call.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/http_client.h"
#include "util/wide.h"

namespace tq {

struct TransportRequest {
    std::string verb;
    WString host;
    std::uint16_t port = 0;
    bool secure = true;
    WString object_name;
    std::string headers;
    std::string_view body;
};

class HttpTransport {
  public:
    virtual ~HttpTransport() = default;
    // False when the session could not be opened.
    virtual bool ready() const = 0;
    virtual HttpResponse send(const TransportRequest& request) = 0;
};

std::unique_ptr<HttpTransport> open_http_transport(const HttpClientOptions& options);

// A URL split into the parts the client keeps, before the client's own
// clean-up of the path and the port.
struct CrackedUrl {
    WString host;
    WString path;
    std::uint16_t port = 0;
    bool secure = false;
};

// The platform's URL splitter.
std::optional<CrackedUrl> crack_base_url(WStringView url);

// Our own splitter with the system's results for http and https URLs:
// scheme up to the first ":" (http or https in any case), "//", an optional
// user part ending in "@", the host, an optional port, and the path with any
// query. Host at most 255 and path at most 1023 UTF-16 units.
std::optional<CrackedUrl> crack_url(WStringView url);

}  // namespace tq
