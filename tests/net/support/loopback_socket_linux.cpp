#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/support/loopback_socket.h"

namespace tq::test {
namespace {

SocketHandle bound_socket(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return kNoSocket;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

SocketHandle listen_loopback(std::uint16_t& port) {
    const SocketHandle fd = bound_socket(port);
    if (fd != kNoSocket && ::listen(static_cast<int>(fd), 64) != 0) {
        ::close(static_cast<int>(fd));
        return kNoSocket;
    }
    return fd;
}

SocketHandle bind_loopback(std::uint16_t& port) {
    return bound_socket(port);
}

SocketHandle accept_socket(SocketHandle listener) {
    const int fd = ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? kNoSocket : fd;
}

bool wait_readable(SocketHandle socket, int timeout_ms) {
    pollfd entry{static_cast<int>(socket), POLLIN, 0};
    return ::poll(&entry, 1, timeout_ms) > 0;
}

long receive_some(SocketHandle socket, char* buffer, std::size_t size) {
    return static_cast<long>(::recv(static_cast<int>(socket), buffer, size, 0));
}

bool send_all(SocketHandle socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent =
            ::send(static_cast<int>(socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void close_socket(SocketHandle socket) {
    ::close(static_cast<int>(socket));
}

}  // namespace tq::test
