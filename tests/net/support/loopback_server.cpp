#include "net/support/loopback_server.h"

#include <stdexcept>

#include "util/text.h"

namespace tq::test {
namespace {

constexpr int kPollMs = 20;

std::string reason_of(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        default:
            return "Status";
    }
}

ReceivedRequest parse_head(const std::string& head) {
    ReceivedRequest request;
    std::size_t start = 0;
    bool first = true;
    while (start < head.size()) {
        const std::size_t end = head.find("\r\n", start);
        const std::string line = head.substr(start, end - start);
        if (first) {
            request.request_line = line;
            first = false;
        } else if (!line.empty()) {
            request.header_lines.push_back(line);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    return request;
}

}  // namespace

std::optional<std::string> ReceivedRequest::header(std::string_view name) const {
    const std::string wanted = to_lower(name) + ":";
    for (const std::string& line : header_lines) {
        if (to_lower(line.substr(0, wanted.size())) == wanted) {
            return trim(line.substr(wanted.size()));
        }
    }
    return std::nullopt;
}

Reply Reply::with(int status, std::string body, std::string content_type) {
    Reply reply;
    reply.bytes = "HTTP/1.1 " + std::to_string(status) + " " + reason_of(status) + "\r\n";
    if (!content_type.empty()) {
        reply.bytes += "Content-Type: " + content_type + "\r\n";
    }
    reply.bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    return reply;
}

Reply Reply::hang() {
    Reply reply;
    reply.then = Then::hang;
    return reply;
}

Reply Reply::close_silently() {
    Reply reply;
    reply.then = Then::close;
    return reply;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = listen_loopback(port_);
    if (listener_ == kNoSocket) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    acceptor_ = std::thread([this] { accept_loop(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    acceptor_.join();
    close_socket(listener_);
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

std::string LoopbackServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::accept_loop() {
    while (!stopping_) {
        if (!wait_readable(listener_, kPollMs)) {
            continue;
        }
        const SocketHandle connection = accept_socket(listener_);
        if (connection == kNoSocket) {
            continue;
        }
        ++connections_;
        workers_.emplace_back([this, connection] { serve(connection); });
    }
}

void LoopbackServer::serve(SocketHandle connection) {
    std::string pending;
    char buffer[4096];
    auto read_more = [&]() {
        while (!stopping_) {
            if (wait_readable(connection, kPollMs)) {
                const long got = receive_some(connection, buffer, sizeof buffer);
                if (got <= 0) {
                    return false;
                }
                pending.append(buffer, static_cast<std::size_t>(got));
                return true;
            }
        }
        return false;
    };
    bool open = true;
    while (open && !stopping_) {
        std::size_t head_end = pending.find("\r\n\r\n");
        while (head_end == std::string::npos && (open = read_more())) {
            head_end = pending.find("\r\n\r\n");
        }
        if (!open) {
            break;
        }
        ReceivedRequest request = parse_head(pending.substr(0, head_end));
        const std::size_t length = std::stoul(request.header("Content-Length").value_or("0"));
        const std::size_t total = head_end + 4 + length;
        while (pending.size() < total && (open = read_more())) {
        }
        if (!open) {
            break;
        }
        request.raw = pending.substr(0, total);
        request.body = pending.substr(head_end + 4, length);
        pending.erase(0, total);
        const Reply reply = handler_(request);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(request));
        }
        if (reply.then == Reply::Then::hang) {
            while (!stopping_) {
                wait_readable(connection, kPollMs);
            }
            break;
        }
        open = send_all(connection, reply.bytes) && reply.then == Reply::Then::keep_open;
    }
    close_socket(connection);
}

}  // namespace tq::test
