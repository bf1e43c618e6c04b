// Streaming one exchange through curl's multi interface.
#include "platform/posix/curl_transfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include <strings.h>

#include "platform/posix/curl_share.h"

namespace morvane {

namespace {

// Body bytes held before curl is paused; with curl's own write size on top
// this is all the body memory a transfer keeps.
constexpr std::size_t kHoldBytes = 64 * 1024;
// A response head larger than this is refused rather than stored.
constexpr std::size_t kMaxHeadBytes = 1024 * 1024;
constexpr long kMaxRedirects = 10;

bool HasLocation(const std::string& head) {
  for (std::size_t at = head.find("\r\n"); at != std::string::npos;
       at = head.find("\r\n", at + 2)) {
    if (strncasecmp(head.c_str() + at + 2, "Location:", 9) == 0) return true;
  }
  return false;
}

curl_slist* ToSlist(const std::vector<std::string>& lines) {
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    if (grown == nullptr) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return list;
}

}  // namespace

CurlTransfer::~CurlTransfer() {
  if (added_) curl_multi_remove_handle(multi_, easy_);
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  if (url_ != nullptr) curl_url_cleanup(url_);
  curl_slist_free_all(headerList_);
  curl_slist_free_all(proxyHeaderList_);
}

bool CurlTransfer::Start(TransferSetup setup) {
  setup_ = std::move(setup);
  easy_ = curl_easy_init();
  headerList_ = ToSlist(setup_.headers);
  // curl adds "Proxy-Connection: Keep-Alive" for a proxy unless told not to.
  proxyHeaderList_ = curl_slist_append(nullptr, "Proxy-Connection:");
  if (easy_ == nullptr || headerList_ == nullptr || proxyHeaderList_ == nullptr) return false;

  // The URL in parts, so a host that is no host name is refused here. The
  // query reaches the request line as given; curl itself percent-encodes
  // bytes of 0x80 and above in the path part (only a fixed request target
  // would avoid that, and it would break redirects).
  url_ = curl_url();
  const std::size_t q = setup_.target.find('?');
  const std::string path = setup_.target.substr(0, q);
  const std::string query = q == std::string::npos ? "" : setup_.target.substr(q + 1);
  if (url_ == nullptr ||
      curl_url_set(url_, CURLUPART_SCHEME, setup_.secure ? "https" : "http", 0) != CURLUE_OK ||
      curl_url_set(url_, CURLUPART_HOST, setup_.host.c_str(), 0) != CURLUE_OK ||
      (setup_.port != 0 &&
       curl_url_set(url_, CURLUPART_PORT, std::to_string(setup_.port).c_str(), 0) != CURLUE_OK) ||
      curl_url_set(url_, CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK ||
      (q != std::string::npos &&
       curl_url_set(url_, CURLUPART_QUERY, query.c_str(), 0) != CURLUE_OK)) {
    return false;
  }

  CURL* e = easy_;
  curl_easy_setopt(e, CURLOPT_PRIVATE, this);
  curl_easy_setopt(e, CURLOPT_CURLU, url_);
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION,
                   setup_.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
  // Names are looked up on a thread of curl's own. Ending a transfer would
  // otherwise wait for that thread, however long the system resolver takes,
  // and hold the window past both time limits.
  curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
#endif
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(setup_.connectTimeoutMs));
  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(setup_.exchangeTimeoutMs));
  // Every exchange has a connection of its own; nothing carries over.
  curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
  // NB: never switch peer or host verification off.
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
  // An explicit proxy, "" for none; the empty no-proxy list keeps the
  // environment's proxy variables out of it either way.
  curl_easy_setopt(e, CURLOPT_PROXY, setup_.proxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOPROXY, "");
  curl_easy_setopt(e, CURLOPT_PROXYHEADER, proxyHeaderList_);
  curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(e, CURLOPT_USERAGENT, setup_.agent.c_str());
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList_);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, setup_.followRedirects ? 1L : 0L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (setup_.cookieStore) {
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(e, CURLOPT_SHARE, SharedCookieStore());
  }

  if (setup_.sendBody) {
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(setup_.body.size()));
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, setup_.body.data());
  }
  if (setup_.verb == "HEAD" && !setup_.sendBody) {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  } else if (setup_.verb != "GET" && setup_.verb != "POST") {
    // curl's NOBODY would drop the bytes of a HEAD, so such a HEAD is a
    // custom request that ends once its final head is in.
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, setup_.verb.c_str());
    endAtHead_ = setup_.verb == "HEAD";
  }

  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, this);

  deadline_ =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(setup_.exchangeTimeoutMs);
  if (curl_multi_add_handle(multi_, e) != CURLM_OK) return false;
  added_ = true;
  Pump([this] { return Buffered() > 0; });
  return headComplete_ || (done_ && result_ == CURLE_OK);
}

int CurlTransfer::Read(char* buffer, int size) {
  if (size <= 0) return 0;
  if (Buffered() == 0) {
    if (done_) return 0;
    if (paused_) {
      paused_ = false;
      curl_easy_pause(easy_, CURLPAUSE_CONT);
    }
    Pump([this] { return Buffered() > 0; });
  }
  const std::size_t n = std::min(Buffered(), static_cast<std::size_t>(size));
  std::memcpy(buffer, pending_.data() + offset_, n);
  offset_ += n;
  if (offset_ == pending_.size()) {
    pending_.clear();
    offset_ = 0;
  }
  return static_cast<int>(n);
}

bool CurlTransfer::RawHeaders(std::string& out) const {
  if (!headComplete_) return false;
  out = head_;
  return true;
}

template <typename Pred>
void CurlTransfer::Pump(Pred pred) {
  while (!done_ && !pred()) {
    const auto now = std::chrono::steady_clock::now();
    // curl keeps its own time limit too; this one also holds while the
    // caller is between reads.
    if (now >= deadline_) {
      Finish(CURLE_OPERATION_TIMEDOUT);
      return;
    }
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      Finish(CURLE_FAILED_INIT);
      return;
    }
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &queued)) {
      if (msg->msg != CURLMSG_DONE) continue;
      CurlTransfer* owner = nullptr;
      curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &owner);
      if (owner != nullptr) owner->Finish(msg->data.result);
    }
    if (endAtHead_ && headFinal_) Finish(CURLE_OK);
    if (done_ || pred()) return;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - now).count();
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::clamp<long long>(left, 1, 1000)),
                    nullptr);
  }
}

void CurlTransfer::Finish(CURLcode result) {
  if (done_) return;
  done_ = true;
  result_ = result;
  // Out of the multi handle at once, so a failed or timed-out exchange
  // sends and receives nothing more.
  if (added_) {
    curl_multi_remove_handle(multi_, easy_);
    added_ = false;
  }
}

std::size_t CurlTransfer::OnHeader(char* data, std::size_t size, std::size_t n, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  const std::size_t bytes = size * n;
  std::string_view line(data, bytes);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  // Every response (a redirect, a 1xx, a proxy's answer) starts over: only
  // the final response's head is kept.
  if (line.rfind("HTTP/", 0) == 0) {
    t->head_.clear();
    t->headComplete_ = false;
    t->headFinal_ = false;
  } else if (t->headComplete_) {
    return bytes;  // trailers after a chunked body
  }
  if (line.empty()) {
    t->headComplete_ = !t->head_.empty();
    t->headFinal_ = t->headComplete_ && t->IsFinal();
    return bytes;
  }
  if (t->head_.size() + line.size() > kMaxHeadBytes) return 0;  // fails the transfer
  t->head_.append(line);
  t->head_.append("\r\n");
  return bytes;
}

bool CurlTransfer::IsFinal() const {
  // "HTTP/1.1 302 Found": the status code follows the first space.
  const std::size_t sp = head_.find(' ');
  const int code = sp == std::string::npos ? 0 : std::atoi(head_.c_str() + sp + 1);
  if (code >= 100 && code < 200) return false;
  const bool redirect = code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
  return !(redirect && setup_.followRedirects && HasLocation(head_));
}

std::size_t CurlTransfer::OnBody(char* data, std::size_t size, std::size_t n, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  if (t->Buffered() >= kHoldBytes) {
    t->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  t->pending_.append(data, size * n);
  return size * n;
}

}  // namespace morvane
