#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/support/loopback_socket.h"

namespace tq::test {
namespace {

bool winsock_ready() {
    static const bool ready = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

SocketHandle bound_socket(std::uint16_t& port) {
    if (!winsock_ready()) {
        return kNoSocket;
    }
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        return kNoSocket;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(s);
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return static_cast<SocketHandle>(s);
}

}  // namespace

SocketHandle listen_loopback(std::uint16_t& port) {
    const SocketHandle s = bound_socket(port);
    if (s != kNoSocket && ::listen(static_cast<SOCKET>(s), 64) != 0) {
        ::closesocket(static_cast<SOCKET>(s));
        return kNoSocket;
    }
    return s;
}

SocketHandle bind_loopback(std::uint16_t& port) {
    return bound_socket(port);
}

SocketHandle accept_socket(SocketHandle listener) {
    const SOCKET s = ::accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(s);
}

bool wait_readable(SocketHandle socket, int timeout_ms) {
    WSAPOLLFD entry{static_cast<SOCKET>(socket), POLLRDNORM, 0};
    return WSAPoll(&entry, 1, timeout_ms) > 0;
}

long receive_some(SocketHandle socket, char* buffer, std::size_t size) {
    return ::recv(static_cast<SOCKET>(socket), buffer, static_cast<int>(size), 0);
}

bool send_all(SocketHandle socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent =
            ::send(static_cast<SOCKET>(socket), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void close_socket(SocketHandle socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

}  // namespace tq::test
