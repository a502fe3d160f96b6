// libcurl in WinHTTP's place. The client's texts name the exchange step that
// failed the way the Windows build does: a failure to resolve, connect,
// complete TLS or send is a send failure; no answer in time, or a reset or a
// garbled answer while waiting, is a receive failure.

#include <curl/curl.h>

#include <array>
#include <chrono>
#include <mutex>
#include <vector>

#include "net/http_transport.h"
#include "util/text.h"

namespace tq {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxIdleHandles = 4;
constexpr const char* kSendFailed = "WinHttpSendRequest failed: ";
constexpr const char* kReceiveFailed = "WinHttpReceiveResponse failed: ";

// What one exchange has seen so far; fed by libcurl's callbacks.
struct Exchange {
    CURL* easy = nullptr;
    std::chrono::milliseconds send_limit{};
    std::chrono::milliseconds receive_limit{};
    Clock::time_point last_activity = Clock::now();
    bool connected = false;
    curl_off_t uploaded = 0;
    curl_off_t downloaded = 0;
    bool timed_out_sending = false;
    bool timed_out_receiving = false;
    std::int32_t block_status = 0;
    bool block_redirects = false;
    // A final answer's header block has been read completely.
    std::int32_t answered_status = 0;
    std::string body;
};

std::int32_t status_of_line(std::string_view line) {
    const std::size_t space = line.find(' ');
    std::int32_t status = 0;
    for (std::size_t i = space + 1; space != std::string_view::npos && i < line.size(); ++i) {
        if (line[i] < '0' || line[i] > '9') {
            break;
        }
        status = status * 10 + (line[i] - '0');
    }
    return status;
}

size_t on_header(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    const std::string_view line(data, size * count);
    exchange.last_activity = Clock::now();
    if (line.rfind("HTTP/", 0) == 0) {
        exchange.block_status = status_of_line(line);
        exchange.block_redirects = false;
        exchange.answered_status = 0;
        exchange.body.clear();
    } else if (exchange.block_status >= 300 && exchange.block_status < 400 &&
               to_lower(line.substr(0, 9)) == "location:") {
        exchange.block_redirects = true;
    } else if ((line == "\r\n" || line == "\n") && exchange.block_status >= 200 &&
               !exchange.block_redirects) {
        exchange.answered_status = exchange.block_status;
    }
    return size * count;
}

size_t on_body(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<Exchange*>(user);
    exchange.body.append(data, size * count);
    exchange.last_activity = Clock::now();
    return size * count;
}

// libcurl has one connect time-out and nothing per send or per wait; those
// two are kept here, from the last byte that moved.
int on_progress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t upload_total,
                curl_off_t uploaded) {
    auto& exchange = *static_cast<Exchange*>(user);
    const Clock::time_point now = Clock::now();
    if (!exchange.connected) {
        curl_off_t pretransfer = 0;
        curl_easy_getinfo(exchange.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
        if (pretransfer == 0) {
            return 0;
        }
        exchange.connected = true;
        exchange.last_activity = now;
    }
    if (uploaded != exchange.uploaded || downloaded != exchange.downloaded) {
        exchange.uploaded = uploaded;
        exchange.downloaded = downloaded;
        exchange.last_activity = now;
    }
    const bool sending = upload_total > 0 && uploaded < upload_total;
    if (now - exchange.last_activity <= (sending ? exchange.send_limit : exchange.receive_limit)) {
        return 0;
    }
    (sending ? exchange.timed_out_sending : exchange.timed_out_receiving) = true;
    return 1;
}

bool fails_before_sending(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SEND_ERROR:
        case CURLE_SEND_FAIL_REWIND:
        case CURLE_INTERFACE_FAILED:
        case CURLE_PROXY:
        case CURLE_OUT_OF_MEMORY:
            return true;
        default:
            return false;
    }
}

class CurlTransport final : public HttpTransport {
  public:
    explicit CurlTransport(const HttpClientOptions& options) : options_(options) {
        static std::once_flag global;
        std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        share_ = curl_share_init();
        if (share_ != nullptr) {
            // Name lookups and TLS sessions are shared between requests.
            // Connections stay with the idle handles that made them: libcurl
            // does not support a connection cache shared by threads that run
            // requests at the same time.
            curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlTransport::lock);
            curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlTransport::unlock);
            curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
            curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
            curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        }
    }

    ~CurlTransport() override {
        for (CURL* easy : idle_) {
            curl_easy_cleanup(easy);
        }
        if (share_ != nullptr) {
            curl_share_cleanup(share_);
        }
    }

    bool ready() const override { return share_ != nullptr; }

    HttpResponse send(const TransportRequest& request) override;

  private:
    static void lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
        static_cast<CurlTransport*>(user)->locks_[static_cast<std::size_t>(data)].lock();
    }
    static void unlock(CURL*, curl_lock_data data, void* user) {
        static_cast<CurlTransport*>(user)->locks_[static_cast<std::size_t>(data)].unlock();
    }

    CURL* take_handle() {
        {
            std::lock_guard lock(pool_mutex_);
            if (!idle_.empty()) {
                CURL* easy = idle_.back();
                idle_.pop_back();
                return easy;
            }
        }
        return curl_easy_init();
    }

    void give_back(CURL* easy) {
        if (options_.reuse_connections) {
            std::lock_guard lock(pool_mutex_);
            if (idle_.size() < kMaxIdleHandles) {
                idle_.push_back(easy);
                return;
            }
        }
        curl_easy_cleanup(easy);
    }

    void configure(CURL* easy, const TransportRequest& request, Exchange& exchange,
                   curl_slist* headers, char* error_text);

    HttpClientOptions options_;
    CURLSH* share_ = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
    std::mutex pool_mutex_;
    std::vector<CURL*> idle_;
};

void CurlTransport::configure(CURL* easy, const TransportRequest& request, Exchange& exchange,
                              curl_slist* headers, char* error_text) {
    const std::string url = std::string(request.secure ? "https://" : "http://") +
                            to_utf8(request.host) + ":" + std::to_string(request.port) +
                            to_utf8(request.object_name);
    curl_easy_setopt(easy, CURLOPT_SHARE, share_);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "TessarineSoftware/0.1");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, error_text);
    // As WinHTTP does by default: follow redirects, never from https to http.
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, request.secure ? "https" : "http,https");
    const HttpTimeouts& t = options_.timeouts;
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(t.resolve_ms + t.connect_ms));
    if (!options_.test_ca_file.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, options_.test_ca_file.c_str());
        curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
    }
    if (!options_.reuse_connections) {
        curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    }
    if (request.verb == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        if (request.verb != "POST") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
        }
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    }
    exchange.easy = easy;
    exchange.send_limit = std::chrono::milliseconds(t.send_ms);
    exchange.receive_limit = std::chrono::milliseconds(t.receive_ms);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &on_header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &on_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &on_progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &exchange);
}

HttpResponse CurlTransport::send(const TransportRequest& request) {
    HttpResponse response;
    CURL* easy = take_handle();
    if (easy == nullptr) {
        response.error =
            std::string("WinHttpConnect failed: ") + curl_easy_strerror(CURLE_OUT_OF_MEMORY);
        return response;
    }
    curl_easy_reset(easy);
    curl_slist* headers = nullptr;
    for (std::size_t start = 0; start < request.headers.size();) {
        const std::size_t end = request.headers.find("\r\n", start);
        const std::size_t stop = end == std::string::npos ? request.headers.size() : end;
        headers = curl_slist_append(headers, request.headers.substr(start, stop - start).c_str());
        start = stop + 2;
    }
    // libcurl would otherwise ask larger bodies to wait for "100 Continue".
    headers = curl_slist_append(headers, "Expect:");

    Exchange exchange;
    char error_text[CURL_ERROR_SIZE] = {};
    configure(easy, request, exchange, headers, error_text);
    const CURLcode code = curl_easy_perform(easy);
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    // An idle handle must not point at this call's buffers and callbacks;
    // a reset drops them and keeps the handle's live connections.
    curl_easy_reset(easy);
    curl_slist_free_all(headers);
    give_back(easy);

    if (code == CURLE_OK || exchange.answered_status != 0) {
        // An answer whose body broke off keeps its status and what came.
        response.status =
            code == CURLE_OK ? static_cast<std::int32_t>(status) : exchange.answered_status;
        response.body = std::move(exchange.body);
        return response;
    }
    std::string description = error_text[0] != '\0' ? error_text : curl_easy_strerror(code);
    if (exchange.timed_out_sending || exchange.timed_out_receiving) {
        description = std::string(curl_easy_strerror(CURLE_OPERATION_TIMEDOUT)) + ": no data for " +
                      std::to_string(exchange.timed_out_sending ? options_.timeouts.send_ms
                                                                : options_.timeouts.receive_ms) +
                      " ms";
    }
    if (code == CURLE_URL_MALFORMAT) {
        response.error = "WinHttpOpenRequest failed: " + description;
    } else if (exchange.timed_out_sending || fails_before_sending(code) ||
               (pretransfer == 0 && !exchange.timed_out_receiving)) {
        response.error = kSendFailed + description;
    } else {
        response.error = kReceiveFailed + description;
    }
    return response;
}

}  // namespace

std::unique_ptr<HttpTransport> open_http_transport(const HttpClientOptions& options) {
    return std::make_unique<CurlTransport>(options);
}

std::optional<CrackedUrl> crack_base_url(WStringView url) {
    return crack_url(url);
}

}  // namespace tq
