// WebRequest GETs of a 4 KiB and a 50 MiB body from the loopback server,
// each next to a bare libcurl loop doing the same exchange with a fresh
// easy handle per request. The ratio of the two is what counts: the bare
// loop is the floor for a new connection per request.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>

#include "platform/posix/curl_client.h"
#include "tests/support/http_test_server.h"
#include "web/web_request.h"

namespace morvane {
namespace {

using testing::HttpTestServer;
using testing::Reply;

Reply BodyOf(std::size_t size) {
  return Reply("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n")
      .Fill(size);
}

void Ours(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  HttpTestServer server(BodyOf(size));
  CurlHttpClient client;
  const Text address(std::string_view(server.Url("/b")));
  for (auto _ : state) {
    const Bytes body = WebRequest(client, address, 0);
    if (static_cast<std::size_t>(body.size()) != size) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

std::size_t Append(char* data, std::size_t size, std::size_t n, void* out) {
  static_cast<std::string*>(out)->append(data, size * n);
  return size * n;
}

void BareCurl(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  HttpTestServer server(BodyOf(size));
  const std::string url = server.Url("/b");
  curl_global_init(CURL_GLOBAL_DEFAULT);
  for (auto _ : state) {
    std::string body;
    CURL* e = curl_easy_init();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Append);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(e);
    curl_easy_cleanup(e);
    if (body.size() != size) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

BENCHMARK(Ours)->Name("WebRequest/4KiB")->Arg(4 << 10)->UseRealTime();
BENCHMARK(BareCurl)->Name("BareCurl/4KiB")->Arg(4 << 10)->UseRealTime();
BENCHMARK(Ours)
    ->Name("WebRequest/50MiB")
    ->Arg(50 << 20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BareCurl)
    ->Name("BareCurl/50MiB")
    ->Arg(50 << 20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvane

BENCHMARK_MAIN();
