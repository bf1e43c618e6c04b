// Sessions, connections and requests as handles over curl transfers.
#include "platform/posix/curl_client.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/posix/curl_share.h"
#include "platform/posix/curl_transfer.h"
#include "platform/posix/curl_wire.h"

namespace morvane {

namespace {
enum Kind { kSession, kConnection, kRequest };

bool IsToken(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
}
}  // namespace

struct CurlHttpClient::Node {
  int kind = kSession;
  HttpHandle parent = 0;
  // Session.
  std::string agent, proxyList;
  // Connection.
  std::string host;
  int port = 0;
  // Request.
  std::string verb, path;
  bool http10 = false;
  std::uint32_t flags = 0;
  std::unique_ptr<CurlTransfer> transfer;
};

CurlHttpClient::CurlHttpClient(int connectTimeoutMs, int exchangeTimeoutMs)
    : connectTimeoutMs_(connectTimeoutMs), exchangeTimeoutMs_(exchangeTimeoutMs) {}

CurlHttpClient::~CurlHttpClient() {
  nodes_.clear();  // every transfer leaves the multi handle first
  if (multi_ != nullptr) curl_multi_cleanup(static_cast<CURLM*>(multi_));
}

CurlHttpClient::Node* CurlHttpClient::Find(HttpHandle handle, int kind) {
  const auto it = nodes_.find(handle);
  return it != nodes_.end() && it->second->kind == kind ? it->second.get() : nullptr;
}

HttpHandle CurlHttpClient::Add(std::unique_ptr<Node> node) {
  const HttpHandle h = next_++;
  nodes_.emplace(h, std::move(node));
  return h;
}

HttpHandle CurlHttpClient::OpenSession(const Text& agent, HttpAccess access,
                                       const Text& proxyList) {
  // The TLS libraries load on the first request, not at start-up: an idle
  // window that was never started keeps a few MiB less resident.
  if (multi_ == nullptr) {
    EnsureCurlReady();
    multi_ = curl_multi_init();
  }
  // An agent with a line break would add header lines of its own.
  if (multi_ == nullptr || curlwire::HasLineBreak(agent.view()) ||
      curlwire::HasLineBreak(proxyList.view())) {
    return 0;
  }
  auto node = std::make_unique<Node>();
  node->kind = kSession;
  node->agent = agent.str();
  if (access == HttpAccess::kProxy) node->proxyList = proxyList.str();
  return Add(std::move(node));
}

HttpHandle CurlHttpClient::Connect(HttpHandle session, const Text& host, int port) {
  if (Find(session, kSession) == nullptr || host.empty()) return 0;
  auto node = std::make_unique<Node>();
  node->kind = kConnection;
  node->parent = session;
  node->host = host.str();
  node->port = port;
  return Add(std::move(node));
}

HttpHandle CurlHttpClient::OpenRequest(HttpHandle connection, const Text& verb, const Text& path,
                                       const Text& version, std::uint32_t flags) {
  // A line break in the path would split the request line in two.
  if (Find(connection, kConnection) == nullptr || !IsToken(verb.view()) ||
      curlwire::HasLineBreak(path.view())) {
    return 0;
  }
  auto node = std::make_unique<Node>();
  node->kind = kRequest;
  node->parent = connection;
  node->verb = verb.str();
  node->path = path.str();
  node->http10 = version == Text("HTTP/1.0");
  node->flags = flags;
  return Add(std::move(node));
}

bool CurlHttpClient::SendRequest(HttpHandle request, const Text& headers, const Bytes& body) {
  Node* r = Find(request, kRequest);
  if (r == nullptr) return false;
  r->transfer.reset();
  const Node* c = Find(r->parent, kConnection);
  const Node* s = c != nullptr ? Find(c->parent, kSession) : nullptr;
  if (s == nullptr) return false;

  const bool secure = (r->flags & kFlagSecure) != 0;
  auto target = curlwire::RequestTarget(r->path);
  auto lines = curlwire::HeaderList(headers.view());
  // A host that is no host name fails here, as a name that does not resolve
  // would; a port outside the 16-bit range is refused likewise.
  if (!target || !lines || !curlwire::IsHostName(c->host) || c->port < 0 || c->port > 65535) {
    return false;
  }

  TransferSetup setup;
  setup.secure = secure;
  setup.host = c->host;
  setup.port = c->port;
  setup.target = std::move(*target);
  setup.verb = r->verb;
  setup.agent = s->agent;
  setup.proxy = curlwire::ProxyFor(s->proxyList, secure);
  setup.headers = std::move(*lines);
  setup.body = std::string(body.view());
  setup.sendBody = !body.empty() || r->verb == "POST";
  setup.http10 = r->http10;
  setup.cookieStore = (r->flags & kFlagNoCookies) == 0;
  setup.followRedirects = (r->flags & kFlagNoAutoRedirect) == 0;
  setup.connectTimeoutMs = connectTimeoutMs_;
  setup.exchangeTimeoutMs = exchangeTimeoutMs_;
  r->transfer = std::make_unique<CurlTransfer>(static_cast<CURLM*>(multi_));
  return r->transfer->Start(std::move(setup));
}

int CurlHttpClient::ReadFile(HttpHandle request, char* buffer, int size) {
  Node* r = Find(request, kRequest);
  if (r == nullptr || !r->transfer || buffer == nullptr) return 0;
  return r->transfer->Read(buffer, size);
}

bool CurlHttpClient::QueryRawHeaders(HttpHandle request, Text& headers) {
  Node* r = Find(request, kRequest);
  std::string head;
  if (r == nullptr || !r->transfer || !r->transfer->RawHeaders(head)) return false;
  headers = Text(std::move(head));
  return true;
}

void CurlHttpClient::CloseHandle(HttpHandle handle) {
  if (handle == 0 || nodes_.find(handle) == nodes_.end()) return;
  // Closing a parent closes what was opened under it.
  std::vector<HttpHandle> children;
  for (const auto& [h, node] : nodes_) {
    if (node->parent == handle) children.push_back(h);
  }
  for (HttpHandle child : children) CloseHandle(child);
  nodes_.erase(handle);
}

}  // namespace morvane
