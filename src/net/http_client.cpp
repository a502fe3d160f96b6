#include "net/http_client.h"

#include "net/http_transport.h"
#include "util/log.h"
#include "util/text.h"

namespace tq {

HttpClient::HttpClient(const std::string& base_url, HttpClientOptions options)
    : transport_(open_http_transport(options)) {
    set_base_url(base_url);
}

HttpClient::~HttpClient() = default;

bool HttpClient::set_base_url(const std::string& url) {
    std::optional<CrackedUrl> parts = crack_base_url(to_wide(url));
    // A URL without a host could never be reached; refusing it here gives
    // the same log line as any other unusable URL.
    if (!parts || parts->host.empty()) {
        log_error("Invalid base URL: " + url);
        return false;
    }
    host_ = std::move(parts->host);
    base_path_ = std::move(parts->path);
    while (!base_path_.empty() && base_path_.back() == '/') {
        base_path_.pop_back();
    }
    secure_ = parts->secure;
    port_ = parts->port != 0 ? parts->port : (secure_ ? 443 : 80);
    base_url_ = url;
    return true;
}

void HttpClient::set_access_token(const std::string& token) {
    std::lock_guard lock(token_mutex_);
    access_token_ = token;
}

void HttpClient::clear_access_token() {
    std::lock_guard lock(token_mutex_);
    access_token_.clear();
}

std::string HttpClient::access_token() const {
    std::lock_guard lock(token_mutex_);
    return access_token_;
}

HttpResponse HttpClient::get(const std::string& path) {
    return request("GET", path, {}, {});
}

HttpResponse HttpClient::post(const std::string& path, const std::string& body) {
    return request("POST", path, body, {});
}

namespace {

// A token or value comes from the backend; a CR, LF or NUL inside it must not
// start a header line of its own, so those bytes never reach the block.
std::string header_safe(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c != '\r' && c != '\n' && c != '\0') {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::string request_header_block(const std::string& access_token, const HttpHeaders& extra) {
    std::string block = "Content-Type: application/json\r\nAccept: application/json\r\n";
    if (!access_token.empty()) {
        block += "Authorization: Bearer " + header_safe(access_token) + "\r\n";
    }
    for (const auto& [name, value] : extra) {
        block += header_safe(name) + ": " + header_safe(value) + "\r\n";
    }
    return block;
}

HttpResponse HttpClient::request(const std::string& verb, const std::string& path,
                                 const std::string& body, const HttpHeaders& extra_headers) {
    if (!transport_ || !transport_->ready() || host_.empty()) {
        HttpResponse response;
        response.error = "HTTP client not initialized (no base URL)";
        return response;
    }
    TransportRequest request;
    request.verb = verb;
    request.host = host_;
    request.port = port_;
    request.secure = secure_;
    // The base path carries no trailing "/" and every path starts with one.
    request.object_name = base_path_ + to_wide(path);
    request.headers = request_header_block(access_token(), extra_headers);
    request.body = body;
    return transport_->send(request);
}

}  // namespace tq
