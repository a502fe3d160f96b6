#pragma once

// The few socket calls the loopback test server needs, for both platforms.
// Everything binds to 127.0.0.1 on a port the system picks.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tq::test {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// A listening socket; `port` receives its port.
SocketHandle listen_loopback(std::uint16_t& port);
// A bound socket that does not listen: connecting to its port is refused.
SocketHandle bind_loopback(std::uint16_t& port);
SocketHandle accept_socket(SocketHandle listener);
bool wait_readable(SocketHandle socket, int timeout_ms);
// Bytes read, or 0 / negative when the peer closed or the read failed.
long receive_some(SocketHandle socket, char* buffer, std::size_t size);
bool send_all(SocketHandle socket, std::string_view bytes);
void close_socket(SocketHandle socket);

}  // namespace tq::test
