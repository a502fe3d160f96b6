#pragma once

// A scripted HTTP/1.1 server on 127.0.0.1 for the network tests: it records
// every request byte for byte and answers each with what the test's handler
// returns. Both builds use it, so the Windows tests under Wine meet the same
// server as the Linux ones.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/support/loopback_socket.h"

namespace tq::test {

struct ReceivedRequest {
    std::string raw;
    std::string request_line;
    std::vector<std::string> header_lines;
    std::string body;

    // The value of the first header with this name (any case).
    std::optional<std::string> header(std::string_view name) const;
};

struct Reply {
    enum class Then { keep_open, close, hang };
    std::string bytes;
    Then then = Then::keep_open;

    // A complete answer with Content-Length.
    static Reply with(int status, std::string body, std::string content_type = "application/json");
    // Reads the request and never answers, holding the connection open.
    static Reply hang();
    // Reads the request and closes the connection without a byte.
    static Reply close_silently();
};

class LoopbackServer {
  public:
    using Handler = std::function<Reply(const ReceivedRequest&)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path = "") const;

    std::vector<ReceivedRequest> requests() const;
    std::size_t connections() const { return connections_; }

  private:
    void accept_loop();
    void serve(SocketHandle connection);

    Handler handler_;
    std::uint16_t port_ = 0;
    SocketHandle listener_ = kNoSocket;
    std::atomic<bool> stopping_{false};
    std::atomic<std::size_t> connections_{0};
    mutable std::mutex mutex_;
    std::vector<ReceivedRequest> requests_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace tq::test
