#include <windows.h>

#include <winhttp.h>

#include <vector>

#include "net/http_transport.h"
#include "util/text.h"

namespace tq {
namespace {

struct InternetHandle {
    HINTERNET handle = nullptr;
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET h) : handle(h) {}
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    ~InternetHandle() {
        if (handle != nullptr) {
            WinHttpCloseHandle(handle);
        }
    }
};

std::string failure(const char* prefix) {
    return prefix + win32_error_text(GetLastError());
}

class WinHttpTransport final : public HttpTransport {
  public:
    explicit WinHttpTransport(const HttpClientOptions& options)
        : reuse_(options.reuse_connections),
          session_(WinHttpOpen(L"TessarineSoftware/0.1", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                               WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)) {
        if (session_.handle != nullptr) {
            const HttpTimeouts& t = options.timeouts;
            WinHttpSetTimeouts(session_.handle, t.resolve_ms, t.connect_ms, t.send_ms,
                               t.receive_ms);
        }
    }

    bool ready() const override { return session_.handle != nullptr; }

    HttpResponse send(const TransportRequest& request) override {
        HttpResponse response;
        InternetHandle connection(
            WinHttpConnect(session_.handle, request.host.c_str(), request.port, 0));
        if (connection.handle == nullptr) {
            response.error = failure("WinHttpConnect failed: ");
            return response;
        }
        const WString verb = to_wide(request.verb);
        InternetHandle call(WinHttpOpenRequest(connection.handle, verb.c_str(),
                                               request.object_name.c_str(), nullptr,
                                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                               request.secure ? WINHTTP_FLAG_SECURE : 0));
        if (call.handle == nullptr) {
            response.error = failure("WinHttpOpenRequest failed: ");
            return response;
        }
        if (!reuse_) {
            DWORD feature = WINHTTP_DISABLE_KEEP_ALIVE;
            WinHttpSetOption(call.handle, WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature);
        }
        const WString headers = to_wide(request.headers);
        const DWORD length = static_cast<DWORD>(request.body.size());
        void* body = request.body.empty() ? nullptr : const_cast<char*>(request.body.data());
        if (!WinHttpSendRequest(call.handle, headers.c_str(), static_cast<DWORD>(-1), body, length,
                                length, 0)) {
            response.error = failure("WinHttpSendRequest failed: ");
            return response;
        }
        if (!WinHttpReceiveResponse(call.handle, nullptr)) {
            response.error = failure("WinHttpReceiveResponse failed: ");
            return response;
        }
        DWORD status = 0;
        DWORD status_size = sizeof status;
        WinHttpQueryHeaders(call.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size,
                            WINHTTP_NO_HEADER_INDEX);
        response.status = static_cast<std::int32_t>(status);
        for (;;) {
            DWORD available = 0;
            if (!WinHttpQueryDataAvailable(call.handle, &available) || available == 0) {
                break;
            }
            std::vector<char> chunk(available);
            DWORD read = 0;
            if (!WinHttpReadData(call.handle, chunk.data(), available, &read) || read == 0) {
                break;
            }
            response.body.append(chunk.data(), read);
        }
        return response;
    }

  private:
    bool reuse_;
    InternetHandle session_;
};

}  // namespace

std::unique_ptr<HttpTransport> open_http_transport(const HttpClientOptions& options) {
    return std::make_unique<WinHttpTransport>(options);
}

std::optional<CrackedUrl> crack_base_url(WStringView url) {
    // The buffers are one unit longer than the longest part they take, for
    // the terminating zero: schemes up to 15, hosts up to 255, paths up to
    // 1023 units.
    wchar_t scheme[16];
    wchar_t host[256];
    wchar_t path[1024];
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszScheme = scheme;
    parts.dwSchemeLength = 16;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 1024;
    const WString text(url);
    if (!WinHttpCrackUrl(text.c_str(), 0, 0, &parts)) {
        return std::nullopt;
    }
    CrackedUrl result;
    result.host.assign(host, parts.dwHostNameLength);
    result.path.assign(path, parts.dwUrlPathLength);
    result.port = parts.nPort;
    result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return result;
}

}  // namespace tq
