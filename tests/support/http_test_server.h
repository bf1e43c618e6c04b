// A scriptable HTTP server on loopback for the web suites. It listens on a
// free port of 127.0.0.1, records every raw request (request line, header
// lines in order, body) and answers each one with exactly the bytes and
// timing a test scripts: status line and header lines as given (lower-case
// "set-cookie" included), chunked or close-delimited bodies, delays,
// silence, a drip, a reset in the middle of a body. After its answer the
// server closes the connection. It stops at scope exit.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/http_listener.h"
#include "tests/support/http_socket.h"

namespace morvane::testing {

struct RecordedRequest {
  std::string requestLine;               // "GET /x HTTP/1.1", without CR LF
  std::vector<std::string> headerLines;  // in order, without CR LF
  std::string body;                      // as framed by Content-Length

  // The value of the first header of this name (any case), or "".
  [[nodiscard]] std::string Header(std::string_view name) const;
  // How many header lines bear this name (any case).
  [[nodiscard]] int HeaderCount(std::string_view name) const;
};

// What the server does with one request, step by step.
class Reply {
 public:
  Reply() = default;
  // Starts with these exact bytes.
  explicit Reply(std::string bytes) { Send(std::move(bytes)); }

  Reply& Send(std::string bytes);
  // `count` filler bytes ('x'), generated as they are sent.
  Reply& Fill(std::size_t count);
  Reply& Pause(int ms);
  // The bytes one at a time, `intervalMs` apart.
  Reply& Drip(std::string bytes, int intervalMs);
  // Says nothing more until the server stops.
  Reply& Silence();
  // Ends the connection with a reset instead of an orderly close.
  Reply& Reset();

  struct Step {
    enum class Kind { kSend, kFill, kPause, kDrip, kSilence, kReset } kind;
    std::string bytes;
    std::size_t count = 0;
    int ms = 0;
  };
  [[nodiscard]] const std::vector<Step>& steps() const { return steps_; }

 private:
  std::vector<Step> steps_;
};

// A complete response: status line, the header lines as given, a
// Content-Length for the body, a blank line and the body.
// Example: HttpResponse("200 OK", {"set-cookie: a=1"}, "hi").
[[nodiscard]] std::string HttpResponse(std::string_view status,
                                       const std::vector<std::string>& headerLines,
                                       std::string_view body);
// The same body sent in chunked transfer coding, in pieces of `piece` bytes.
[[nodiscard]] std::string ChunkedResponse(std::string_view status,
                                          const std::vector<std::string>& headerLines,
                                          std::string_view body, std::size_t piece);

class HttpTestServer {
 public:
  using Answer = std::function<Reply(const RecordedRequest&)>;

  // Every request gets the answer the function gives for it.
  explicit HttpTestServer(Answer answer);
  // Every request gets this same reply.
  explicit HttpTestServer(Reply reply);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  [[nodiscard]] int port() const { return listener_.port(); }
  // "http://127.0.0.1:<port>" followed by path.
  [[nodiscard]] std::string Url(std::string_view path = "/") const;
  // "127.0.0.1:<port>".
  [[nodiscard]] std::string HostPort() const;
  // Every request received so far, in the order they arrived.
  [[nodiscard]] std::vector<RecordedRequest> Requests() const;

 private:
  void Serve(SocketId s);
  bool Play(SocketId s, const Reply& reply);
  // Waits ms or until the server stops; false when it stopped.
  bool WaitFor(int ms);

  Answer answer_;
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::vector<RecordedRequest> requests_;
  LoopbackListener listener_;  // last: its threads use the members above
};

// A port on 127.0.0.1 whose connect never completes: the listener's backlog
// is full and nobody accepts, so the kernel drops new handshakes. For the
// connect time limit without an unreachable network.
class UnansweredPort {
 public:
  UnansweredPort();
  ~UnansweredPort();
  UnansweredPort(const UnansweredPort&) = delete;
  UnansweredPort& operator=(const UnansweredPort&) = delete;
  [[nodiscard]] int port() const { return port_; }
  [[nodiscard]] std::string Url(std::string_view path = "/") const;

 private:
  SocketId listener_ = kNoSocket;
  std::vector<SocketId> fillers_;
  int port_ = 0;
};

}  // namespace morvane::testing
