// Accepting connections on 127.0.0.1 for the loopback test server and
// proxy: each connection is served on a thread of its own until Stop(),
// which shuts every open connection, wakes the acceptor and joins them all.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/http_socket.h"

namespace morvane::testing {

class LoopbackListener {
 public:
  // serve(s) owns the connection s: it calls Release(s) once it no longer
  // reads or writes it, then closes it.
  explicit LoopbackListener(std::function<void(SocketId)> serve);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  [[nodiscard]] int port() const { return port_; }
  // "127.0.0.1:<port>".
  [[nodiscard]] std::string HostPort() const;
  void Release(SocketId s);
  // Idempotent; every serving thread has returned afterwards.
  void Stop();

 private:
  void AcceptLoop();

  std::function<void(SocketId)> serve_;
  SocketId listener_ = kNoSocket;
  int port_ = 0;
  std::mutex mutex_;
  bool stopping_ = false;
  std::vector<SocketId> open_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

}  // namespace morvane::testing
