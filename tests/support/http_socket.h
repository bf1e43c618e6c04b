// The few socket calls the loopback test server and proxy need, the same on
// POSIX and on winsock, so the HTTP suites run natively and under Wine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::testing {

using SocketId = std::intptr_t;
inline constexpr SocketId kNoSocket = -1;

// A listening TCP socket on 127.0.0.1 at a free port (written to *port).
SocketId ListenOnLoopback(int backlog, int* port);
// A connected socket to host:port, or kNoSocket.
SocketId ConnectTo(const std::string& host, int port);
// Blocks for a connection; kNoSocket once the listener is closed.
SocketId AcceptFrom(SocketId listener);
// Sends everything; false when the peer is gone or the socket was shut.
bool SendAll(SocketId s, std::string_view bytes);
// Up to `size` bytes; 0 at the end of the stream, -1 on failure.
int ReceiveSome(SocketId s, char* buffer, int size);
// True when s has something to read within timeoutMs (or is closed).
bool WaitReadable(SocketId s, int timeoutMs);
// Wakes every thread blocked on s, then leaves closing to its owner.
void ShutdownSocket(SocketId s);
void CloseSocket(SocketId s);
// Closes with a reset (RST) instead of an orderly end of stream.
void ResetSocket(SocketId s);

}  // namespace morvane::testing
