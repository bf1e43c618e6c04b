// One HTTP exchange on a curl easy handle, driven through a multi handle so
// that the body streams: the transfer holds at most a small buffer of body
// bytes, and curl is paused while that buffer is full.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <curl/curl.h>

namespace morvane {

struct TransferSetup {
  bool secure = false;
  std::string host;
  int port = 0;        // 0: the scheme's default
  std::string target;  // path and query, ready for the request line
  std::string verb;
  std::string agent;
  std::string proxy;  // "" for a direct connection
  std::vector<std::string> headers;
  std::string body;
  bool sendBody = false;
  bool http10 = false;
  bool cookieStore = false;
  bool followRedirects = true;
  int connectTimeoutMs = 0;
  int exchangeTimeoutMs = 0;
};

class CurlTransfer {
 public:
  explicit CurlTransfer(CURLM* multi) : multi_(multi) {}
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // Starts the exchange and waits for the first body bytes or its end.
  // False when it failed before a complete response head arrived.
  bool Start(TransferSetup setup);
  // Up to size body bytes; 0 at the end of the body, on failure and once
  // the exchange time limit has passed.
  int Read(char* buffer, int size);
  // The head of the final response, each line ended by CR LF; false when no
  // complete head arrived.
  bool RawHeaders(std::string& out) const;

 private:
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t n, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t n, void* self);
  // Drives curl until pred() holds, the exchange ends or time runs out.
  template <typename Pred>
  void Pump(Pred pred);
  void Finish(CURLcode result);
  [[nodiscard]] bool IsFinal() const;
  [[nodiscard]] std::size_t Buffered() const { return pending_.size() - offset_; }

  CURLM* multi_;
  CURL* easy_ = nullptr;
  CURLU* url_ = nullptr;
  curl_slist* headerList_ = nullptr;
  curl_slist* proxyHeaderList_ = nullptr;
  bool added_ = false;
  TransferSetup setup_;
  std::chrono::steady_clock::time_point deadline_;

  std::string head_;  // the head of the latest response so far
  bool headComplete_ = false;
  // The head is that of the response the exchange ends with: not a 1xx, not
  // a redirect that will be followed.
  bool headFinal_ = false;
  // A HEAD that carries bytes goes out as a custom request, so curl does
  // not know that no body follows; the transfer ends at the final head.
  bool endAtHead_ = false;
  std::string pending_;  // body bytes curl gave and Read has not taken
  std::size_t offset_ = 0;
  bool paused_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
};

}  // namespace morvane
