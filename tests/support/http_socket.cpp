// Socket calls for the loopback test helpers; the only file of the test
// server that knows which socket API it runs on.
#include "tests/support/http_socket.h"

#include <mutex>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace morvane::testing {

namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr int kShutBoth = SD_BOTH;
constexpr int kSendFlags = 0;
void EnsureStarted() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  });
}
bool Invalid(Native s) { return s == INVALID_SOCKET; }
#else
using Native = int;
constexpr int kShutBoth = SHUT_RDWR;
// A client that hangs up must end the send, not the test process.
constexpr int kSendFlags = MSG_NOSIGNAL;
void EnsureStarted() {}
bool Invalid(Native s) { return s < 0; }
#endif

Native N(SocketId s) { return static_cast<Native>(s); }
SocketId Id(Native s) { return Invalid(s) ? kNoSocket : static_cast<SocketId>(s); }

}  // namespace

SocketId ListenOnLoopback(int backlog, int* port) {
  EnsureStarted();
  const Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (Invalid(s)) return kNoSocket;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(s, backlog) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    CloseSocket(Id(s));
    return kNoSocket;
  }
  *port = ntohs(addr.sin_port);
  return Id(s);
}

SocketId ConnectTo(const std::string& host, int port) {
  EnsureStarted();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    return kNoSocket;
  }
  Native s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (!Invalid(s) && ::connect(s, found->ai_addr, static_cast<socklen_t>(found->ai_addrlen)) != 0) {
    CloseSocket(Id(s));
    s = static_cast<Native>(kNoSocket);
  }
  ::freeaddrinfo(found);
  return Id(s);
}

SocketId AcceptFrom(SocketId listener) { return Id(::accept(N(listener), nullptr, nullptr)); }

bool SendAll(SocketId s, std::string_view bytes) {
  while (!bytes.empty()) {
    const int chunk = bytes.size() > (1u << 20) ? (1 << 20) : static_cast<int>(bytes.size());
    const auto sent = ::send(N(s), bytes.data(), chunk, kSendFlags);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

int ReceiveSome(SocketId s, char* buffer, int size) {
  const auto got = ::recv(N(s), buffer, size, 0);
  return got < 0 ? -1 : static_cast<int>(got);
}

bool WaitReadable(SocketId s, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(N(s), &set);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return ::select(static_cast<int>(N(s) + 1), &set, nullptr, nullptr, &tv) > 0;
}

void ShutdownSocket(SocketId s) { ::shutdown(N(s), kShutBoth); }

void CloseSocket(SocketId s) {
#ifdef _WIN32
  ::closesocket(N(s));
#else
  ::close(N(s));
#endif
}

void ResetSocket(SocketId s) {
  linger hard{};
  hard.l_onoff = 1;
  hard.l_linger = 0;
  ::setsockopt(N(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
  CloseSocket(s);
}

}  // namespace morvane::testing
