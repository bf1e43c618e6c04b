// A loopback HTTP server for the soak: one thread serves one connection at
// a time and keeps nothing per request, so its own memory stays flat over
// any number of requests (the test server of the suites records them all).
// It stops at scope exit.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/http_socket.h"

namespace morvane::testing {

class SoakServer {
 public:
  // answer(i): the bytes sent for the i-th request (from 0); an empty
  // answer closes the connection without a response.
  // expectedRequestLine: requests with any other first line are counted.
  SoakServer(std::function<std::string(int)> answer, std::string expectedRequestLine);
  ~SoakServer();
  SoakServer(const SoakServer&) = delete;
  SoakServer& operator=(const SoakServer&) = delete;

  [[nodiscard]] int port() const { return port_; }
  [[nodiscard]] int served() const { return served_.load(); }
  [[nodiscard]] int unexpected() const { return unexpected_.load(); }

 private:
  void Loop();
  void Serve(SocketId s);

  std::function<std::string(int)> answer_;
  std::string expected_;
  SocketId listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> served_{0};
  std::atomic<int> unexpected_{0};
  std::thread thread_;
};

}  // namespace morvane::testing
